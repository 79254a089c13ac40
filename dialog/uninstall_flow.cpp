#include "launcher_dlg.h"

#include "../discovery/discovery.h"
#include "../registry/records.h"
#include "resource.h"

void CLauncherDlg::OnUninstall() {
    CString strUninstall;
    if (g_uninstallKey.GetString("UninstallString", strUninstall) == 1) {
        AfxMessageBox(IDS_ALREADY_UNINSTALLED, MB_OK);
        return;
    }

    // The launcher's own entry is recognised by its "/u" ending alone, byte for byte.
    int nLength = strUninstall.GetLength();
    if (nLength >= 2 && strUninstall[nLength - 2] == '/' && strUninstall[nLength - 1] == 'u') {
        if (AfxMessageBox(IDS_ASK_REMOVE_RECORDS, MB_YESNO) != IDYES)
            return;
        RemoveRegistryRecords();
        AfxMessageBox(IDS_UNINSTALL_COMPLETE, MB_OK);
        OnOK();
        return;
    }

    // Another program's uninstaller: started as a whole command line, and left to do its work.
    HANDLE hProcess;
    if (LaunchProcess(NULL, strUninstall, NULL, &hProcess) == 1) {
        ::CloseHandle(hProcess);
        OnOK();
        return;
    }
    ShowLaunchError(strUninstall);
}
