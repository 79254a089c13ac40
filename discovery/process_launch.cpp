#include "discovery.h"

#include "../dialog/launcher_dlg.h"
#include "resource.h"

#include <stdlib.h>
#include <string.h>

int LaunchProcess(const char* pszApplicationName, const char* pszCommandLine, const char* pszCurrentDirectory,
                  HANDLE* phProcess) {
    // CreateProcess may write into the command line it is given, so it gets a copy of its own.
    char* pszWritableCommandLine = NULL;
    if (pszCommandLine != NULL) {
        pszWritableCommandLine = (char*)malloc(strlen(pszCommandLine) + 1);
        if (pszWritableCommandLine == NULL)
            return 0;
        strcpy(pszWritableCommandLine, pszCommandLine);
    }

    STARTUPINFOA si;
    memset(&si, 0, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    BOOL bCreated = ::CreateProcessA(pszApplicationName, pszWritableCommandLine, NULL, NULL, FALSE, 0, NULL,
                                     pszCurrentDirectory, &si, &pi);
    free(pszWritableCommandLine);
    if (bCreated == 0)
        return 0;
    // Nobody uses the new process's main thread.
    ::CloseHandle(pi.hThread);
    *phProcess = pi.hProcess;
    return 1;
}

void CLauncherDlg::ShowLaunchError(const CString& strName) {
    CString strUnable;
    strUnable.LoadString(IDS_UNABLE_TO_LAUNCH);
    CString strInsertCd;
    strInsertCd.LoadString(IDS_INSERT_CD);
    AfxMessageBox(strUnable + " " + strName + ".\n\n" + strInsertCd, MB_OK, 0);
}
