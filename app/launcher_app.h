// The launcher's application object: start-up checks, the "/u" request and the modal run.
#pragma once

#include "afxwin.h"

class CLauncherApp : public CWinApp {
public:
    CLauncherApp();
    virtual ~CLauncherApp();

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Fills m_strExePath and m_strExeDir from the module path; answers 1 on success, 0 on failure.
    int LocateExecutable();

    CString m_strExeDir;
    CString m_strExePath;
    CString m_strCmdLine;
    int m_bUninstallRequested;
};

// 1 when the running Windows is supported: not Win32s, not Windows NT 3.x.
int IsSupportedWindows();

// 1 when a command-line tail asks for the uninstall flow: it begins with "/u" (lower case only).
int IsUninstallRequest(const char* pszTail);

// The directory part of a module path: everything before its last "\" (a drive root gives "E:").
CString ExeDirFromPath(const char* pszPath);
