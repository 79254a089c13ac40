// The program's static objects, constructed in this order before the framework starts and
// destroyed in reverse order at exit. One translation unit keeps the order defined.
#include "launcher_app.h"

CLauncherApp theApp;
