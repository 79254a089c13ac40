/* The demo CD's game (Vorrow\vorrow.exe): one window that shows the command line and the current
   directory it was started with, so whoever plays the demo sees what the launcher handed over. */
#include <windows.h>
#include <stdio.h>

static char g_szText[2 * MAX_PATH + 4096];

static LRESULT CALLBACK GameWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    PAINTSTRUCT ps;
    RECT rc;
    HDC hDC;
    switch (uMsg) {
    case WM_PAINT:
        hDC = BeginPaint(hWnd, &ps);
        GetClientRect(hWnd, &rc);
        InflateRect(&rc, -12, -12);
        SelectObject(hDC, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(hDC, TRANSPARENT);
        DrawTextA(hDC, g_szText, -1, &rc, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
        EndPaint(hWnd, &ps);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd) {
    char szCurrentDir[MAX_PATH];
    WNDCLASSA wc;
    HWND hWnd;
    MSG msg;
    (void)hPrevInstance;
    (void)lpCmdLine;

    GetCurrentDirectoryA(sizeof(szCurrentDir), szCurrentDir);
    _snprintf(g_szText, sizeof(g_szText) - 1,
              "Vorrow, the Skellion demo engine\r\n\r\nCommand line:\r\n%s\r\n\r\nCurrent directory:\r\n%s\r\n\r\n"
              "Escape or the close box ends the demo.",
              GetCommandLineA(), szCurrentDir);

    memset(&wc, 0, sizeof(wc));
    wc.lpfnWndProc = GameWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "VorrowDemo";
    if (!RegisterClassA(&wc))
        return 1;
    hWnd = CreateWindowExA(0, "VorrowDemo", "Vorrow", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 560, 300, NULL,
                           NULL, hInstance, NULL);
    if (hWnd == NULL)
        return 1;
    ShowWindow(hWnd, nShowCmd);
    UpdateWindow(hWnd);
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
