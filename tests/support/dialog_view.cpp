#include "dialog_view.h"

#include "afxwin.h"
#include "resource.h"
#include "wait.h"

const int kLauncherControlIds[6] = {IDC_INSTALL, IDC_UNINSTALL, IDC_FAST_VIDEO, IDC_SAFE_VIDEO, IDC_PLAY, IDCANCEL};

std::vector<bool> EnabledStates(HWND hDialog) {
    std::vector<bool> states;
    for (int id : kLauncherControlIds)
        states.push_back(IsWindowEnabled(GetDlgItem(hDialog, id)) != 0);
    return states;
}

int DefaultId(HWND hDialog) {
    LRESULT result = SendMessageA(hDialog, DM_GETDEFID, 0, 0);
    return HIWORD(result) == DC_HASDEFID ? LOWORD(result) : 0;
}

std::string Text(UINT id) {
    CString text;
    text.LoadString(id);
    return (const char*)text;
}

bool WaitForControls(HWND hDialog, const std::vector<bool>& enabled, int defaultId, DWORD timeoutMs) {
    auto settled = [&] {
        return EnabledStates(hDialog) == enabled && (defaultId == 0 || DefaultId(hDialog) == defaultId);
    };
    WaitUntil([&] { return settled() || !IsWindow(hDialog); }, timeoutMs);
    return settled();
}
