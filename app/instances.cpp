// The program's static objects, constructed in this order before the framework starts and
// destroyed in reverse order at exit. One translation unit keeps the order defined. None of them
// touches the registry when constructed or destroyed.
#include "launcher_app.h"
#include "registry/records.h"

CLauncherApp theApp;
CRegistryKey g_productKey(HKEY_LOCAL_MACHINE, SK_PRODUCT_KEY);
CRegistryKey g_uninstallKey(HKEY_LOCAL_MACHINE, SK_UNINSTALL_KEY);
