#include "launcher_app.h"

#include "../dialog/launcher_dlg.h"
#include "resource.h"

#include <string.h>

CLauncherApp::CLauncherApp() : m_bUninstallRequested(0) {}

CLauncherApp::~CLauncherApp() {}

BOOL CLauncherApp::InitInstance() {
    if (LocateExecutable() == 0) {
        AfxMessageBox(IDS_ERR_NO_EXE_LOCATION, MB_OK, (UINT)-1);
        return FALSE;
    }
    if (IsSupportedWindows() == 0) {
        AfxMessageBox(IDS_UNSUPPORTED_WINDOWS, MB_OK, (UINT)-1);
        return FALSE;
    }

    m_strCmdLine = m_lpCmdLine;
    m_bUninstallRequested = IsUninstallRequest(m_strCmdLine);

    ::CoInitialize(NULL);

    CLauncherDlg dlg(NULL);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}

int CLauncherApp::ExitInstance() {
    ::CoUninitialize();
    return CWinApp::ExitInstance();
}

int CLauncherApp::LocateExecutable() {
    char szPath[512];
    DWORD dwLength = ::GetModuleFileNameA(m_hInstance, szPath, sizeof(szPath));
    if (dwLength == 0)
        return 0;
    // A path that fills the buffer comes back unterminated on some systems.
    szPath[sizeof(szPath) - 1] = '\0';
    m_strExePath = szPath;
    m_strExeDir = ExeDirFromPath(szPath);
    return 1;
}

CString ExeDirFromPath(const char* pszPath) {
    const char* pszLastSlash = strrchr(pszPath, '\\');
    if (pszLastSlash == NULL)
        return CString(pszPath);
    return CString(pszPath, (int)(pszLastSlash - pszPath));
}

int IsSupportedWindows() {
    OSVERSIONINFOA osvi;
    memset(&osvi, 0, sizeof(osvi));
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    if (::GetVersionExA(&osvi) == 0)
        return 0;
    if (osvi.dwPlatformId == VER_PLATFORM_WIN32s)
        return 0;
    if (osvi.dwPlatformId == VER_PLATFORM_WIN32_NT && osvi.dwMajorVersion == 3)
        return 0;
    return 1;
}

int IsUninstallRequest(const char* pszTail) { return pszTail[0] == '/' && pszTail[1] == 'u' ? 1 : 0; }
