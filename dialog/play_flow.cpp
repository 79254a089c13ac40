#include "launcher_dlg.h"

#include "../discovery/discovery.h"
#include "resource.h"

void CLauncherDlg::OnPlay() {
    // Only the Fast Video button is asked: the two are one group of automatic radio buttons.
    LaunchGame((int)::SendMessageA(m_pFastVideoButton->m_hWnd, BM_GETCHECK, 0, 0));
}

void CLauncherDlg::LaunchGame(int nFastVideo) {
    if (m_bRebootPending == 1) {
        AfxMessageBox(IDS_REBOOT_BEFORE_PLAY, MB_OK);
        return;
    }

    // Nothing is quoted: a path with blanks still starts the right program, because the application
    // name is passed on its own.
    CString strCommandLine = m_strGameExe + " " + "cmdline";
    if (nFastVideo == 0)
        strCommandLine += " " + m_strWindowedArgs;
    if (m_bDevelopmentPaths == 1)
        strCommandLine += " " + m_strDevelopmentArgs;

    HANDLE hGameProcess = NULL;
    if (LaunchProcess(m_strGameExe, strCommandLine, m_strEngineDir, &hGameProcess) == 1) {
        // The game runs on by itself; the launcher neither waits for it nor asks how it ended.
        ::CloseHandle(hGameProcess);
        OnOK();
        return;
    }
    ShowLaunchError(m_strGameExeName);
}
