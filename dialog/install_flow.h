// The install flow's free parts: the message for each answer of DirectX setup, and the restart.
#pragma once

#include <windows.h>

// The id of the string that explains an error answer of DirectXSetupA. -13 to -1 have texts of their
// own, except -10, which shares the unknown-error text (11) with every value outside that range.
int DirectXSetupMessage(int nResult);

// The restart after an accepted reboot question goes through this pointer, which holds ExitWindowsEx.
// Tests put their own function here: under Wine the real call asks every windowed program of the
// prefix to end its session, other tests' programs included.
typedef BOOL(WINAPI* SK_EXIT_WINDOWS_EX)(UINT uFlags, DWORD dwReason);
extern SK_EXIT_WINDOWS_EX g_pfnExitWindowsEx;
