#include "install_flow.h"

#include "../discovery/discovery.h"
#include "dsetup.h"
#include "launcher_dlg.h"
#include "resource.h"

#include <string.h>

SK_EXIT_WINDOWS_EX g_pfnExitWindowsEx = ::ExitWindowsEx;

namespace {

// On Windows NT, ExitWindowsEx refuses a restart (ERROR_PRIVILEGE_NOT_HELD) unless the caller has
// enabled the shutdown privilege on its token; Windows 95 has no tokens and restarts for anyone.
void EnableShutdownPrivilege() {
    OSVERSIONINFOA osvi;
    memset(&osvi, 0, sizeof(osvi));
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    if (::GetVersionExA(&osvi) == 0 || osvi.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return;
    HANDLE hToken;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken) == 0)
        return;
    TOKEN_PRIVILEGES privileges;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (::LookupPrivilegeValueA(NULL, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) != 0)
        ::AdjustTokenPrivileges(hToken, FALSE, &privileges, 0, NULL, NULL);
    ::CloseHandle(hToken);
}

} // namespace

int DirectXSetupMessage(int nResult) {
    switch (nResult) {
    case -1:
        return IDS_DXSETUP_WRONG_WINDOWS;
    case -2:
        return IDS_DXSETUP_SOURCE_NOT_FOUND;
    case -3:
        return IDS_DXSETUP_BAD_SIZE;
    case -4:
        return IDS_DXSETUP_BAD_DATE;
    case -5:
        return IDS_DXSETUP_BAD_VERSION;
    case -6:
        return IDS_DXSETUP_OUT_OF_DISK;
    case -7:
        return IDS_DXSETUP_NO_INF;
    case -8:
        return IDS_DXSETUP_NO_WORKING_DIR;
    case -9:
        return IDS_DXSETUP_INTERNAL;
    case -11:
        return IDS_DXSETUP_OS_UNSUPPORTED;
    case -13:
        return IDS_DXSETUP_NT_COMPONENTS;
    default:
        return IDS_DXSETUP_UNKNOWN;
    }
}

// Both steps always run, also after RunDirectXSetup has asked the dialog to close for a restart: the
// close takes effect only when this handler has returned.
void CLauncherDlg::OnInstall() {
    RunDirectXSetup();
    RunSetup();
}

void CLauncherDlg::RunDirectXSetup() {
    if (AfxMessageBox(IDS_ASK_DIRECTX, MB_YESNO) != IDYES)
        return;

    m_bDirectXSetupRunning = 1;
    UpdateControls();
    int nResult = ::DirectXSetupA(m_hWnd, NULL, 0xA3F);
    m_bDirectXSetupRunning = 0;

    if (nResult == 0) {
        m_bDirectXNeeded = 0;
        m_bRebootPending = 0;
    } else if (nResult == 1) {
        m_bDirectXNeeded = 0;
        m_bRebootPending = 1;
        if (AfxMessageBox(IDS_ASK_REBOOT_NOW, MB_YESNO) == IDYES) {
            EnableShutdownPrivilege();
            if (g_pfnExitWindowsEx(EWX_REBOOT, 0) == 1)
                OnOK();
        }
    } else if (nResult != -12) {
        // -12: the user cancelled DirectX setup in its own window, which needs no message.
        AfxMessageBox(DirectXSetupMessage(nResult), MB_OK);
    }

    UpdateControls();
}

void CLauncherDlg::RunSetup() {
    if (AfxMessageBox(IDS_ASK_INSTALL, MB_YESNO | MB_DEFBUTTON2) != IDYES)
        return;

    // No test of m_strSetupExe first: with no installer found it is empty, and the failed start shows
    // the launch error naming setup.exe.
    HANDLE hProcess;
    m_bSetupRunning = LaunchProcess(m_strSetupExe, NULL, NULL, &hProcess);
    if (m_bSetupRunning == 0) {
        ShowLaunchError(m_strSetupExeName);
    } else {
        if (m_hSetupProcess != NULL)
            ::CloseHandle(m_hSetupProcess);
        m_hSetupProcess = hProcess;
    }
    UpdateControls();
}
