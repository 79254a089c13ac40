// The launcher's registry records and the installer handshake.
#pragma once

// Writes "IsRunningIS": "TRUE" when bRunning is non-zero, "FALSE" otherwise.
void SetInstallerRunning(int bRunning);

// 1 while "IsRunningIS" reads exactly "TRUE", else 0 (also when it cannot be read).
int IsInstallerRunning();

// Deletes the product, uninstall, product-name and company keys, deepest first.
void RemoveRegistryRecords();
