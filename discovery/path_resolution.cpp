#include "../dialog/launcher_dlg.h"

// Not built yet: path resolution. Until it is, nothing is found and every path stays empty.

void CLauncherDlg::LocateSetup() {
    m_strSetupDir.Empty();
    m_strSetupExe.Empty();
}

void CLauncherDlg::LocateGame() {
    m_strEngineDir.Empty();
    m_strGameExe.Empty();
    m_bDevelopmentPaths = 0;
}
