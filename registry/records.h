// The launcher's registry records, all under HKEY_LOCAL_MACHINE:
//   product key    "Root" (written by the game's installer), "CD", "IsRunningIS" (the installer handshake)
//   uninstall key  "DisplayName", "UninstallString" (read by the system's list of installed programs)
// Removal also deletes the product-name and company keys above the product key.
#pragma once

#include "registry_key.h"

extern CRegistryKey g_productKey;
extern CRegistryKey g_uninstallKey;

#define SK_PRODUCT_KEY "SOFTWARE\\Orrindale\\Skellion\\1.0"
#define SK_UNINSTALL_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Skellion"
#define SK_PRODUCT_NAME_KEY "SOFTWARE\\Orrindale\\Skellion"
#define SK_COMPANY_KEY "SOFTWARE\\Orrindale"

// Writes "IsRunningIS": "TRUE" when bRunning is non-zero, "FALSE" otherwise.
void SetInstallerRunning(int bRunning);

// 1 while "IsRunningIS" reads exactly "TRUE", else 0 (also when it cannot be read).
int IsInstallerRunning();

// Deletes the product, uninstall, product-name and company keys, deepest first, each attempted
// whatever became of the others.
void RemoveRegistryRecords();
