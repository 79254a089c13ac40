// The benchmark's yardstick: one empty dialog from a template and nothing else. Built twice; with
// SK_BASELINE_TIMER the dialog also runs a 500 ms timer whose ticks do nothing, as the launcher's
// idle ticks should.
#include <windows.h>

#include "baseline_res.h"

namespace {

INT_PTR CALLBACK BaselineProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
#ifdef SK_BASELINE_TIMER
        ::SetTimer(hWnd, 1, 500, NULL);
#endif
        return TRUE;
    case WM_TIMER:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
#ifdef SK_BASELINE_TIMER
            ::KillTimer(hWnd, 1);
#endif
            ::EndDialog(hWnd, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return (int)::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_BASELINE), NULL, BaselineProc, 0);
}
