#include "../dialog/launcher_dlg.h"

// Not built yet: starting programs and the launch error.
void CLauncherDlg::ShowLaunchError(const CString&) {}
