#include "launcher_dlg.h"

// Not built yet: the install, play and uninstall flows. The buttons do nothing until they are.

void CLauncherDlg::OnInstall() {
    RunDirectXSetup();
    RunSetup();
}

void CLauncherDlg::RunDirectXSetup() {}

void CLauncherDlg::RunSetup() {}

void CLauncherDlg::OnPlay() {}

void CLauncherDlg::LaunchGame(int) {}

void CLauncherDlg::OnUninstall() {}
