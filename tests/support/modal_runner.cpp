#include "modal_runner.h"

namespace {
CDialog* g_dialog = nullptr;
const std::function<void(HWND)>* g_body = nullptr;
bool g_endAfter = true;

// A thread timer (no window): the dialog's modal loop dispatches it to this procedure.
void CALLBACK RunBody(HWND, UINT, UINT_PTR idEvent, DWORD) {
    KillTimer(NULL, idEvent);
    HWND hDialog = g_dialog->m_hWnd;
    (*g_body)(hDialog);
    if (g_endAfter && IsWindow(hDialog) && IsWindowVisible(hDialog))
        EndDialog(hDialog, -2);
}
} // namespace

INT_PTR RunModal(CDialog& dlg, const std::function<void(HWND)>& body, bool endAfter) {
    g_dialog = &dlg;
    g_body = &body;
    g_endAfter = endAfter;
    SetTimer(NULL, 0, 1, RunBody);
    INT_PTR result = dlg.DoModal();
    g_dialog = nullptr;
    g_body = nullptr;
    return result;
}
