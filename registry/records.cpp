#include "records.h"

#include "../dialog/launcher_dlg.h"

// Not built yet: the registry bookkeeping arrives with the registry key accessor. Until then the
// opening records nothing and the installer handshake reads as ended.

void CLauncherDlg::RegisterCdAndUninstall() {}

void SetInstallerRunning(int) {}

int IsInstallerRunning() { return 0; }

void RemoveRegistryRecords() {}
