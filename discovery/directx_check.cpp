#include "../dialog/launcher_dlg.h"

// Not built yet: the DirectSound version check. Until it is, DirectX counts as present.
void CLauncherDlg::CheckDirectSound() {}
