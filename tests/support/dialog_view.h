// Reading the launcher's dialog as a user sees it: which controls can be pressed, the default
// button, and the texts of the string table. Works on a dialog of this process or of launcher.exe.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Install, Uninstall, Fast Video, Safe Video, Play, Quit: the order of the control policy.
extern const int kLauncherControlIds[6];

std::vector<bool> EnabledStates(HWND hDialog);
// The dialog's default button id (DM_GETDEFID), or 0 when it has none.
int DefaultId(HWND hDialog);
// A string of the launcher's string table, loaded from this executable's copy of the resources.
std::string Text(UINT id);
// The launcher applies a row of its control policy one control at a time, so from outside a row is
// waited for whole: until the enabled states are these and (unless 0) the default button is that id.
bool WaitForControls(HWND hDialog, const std::vector<bool>& enabled, int defaultId = 0, DWORD timeoutMs = 30000);
