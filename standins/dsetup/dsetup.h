// The DirectX setup library's one entry point, as the launcher calls it. Our stand-in, dsetup.dll,
// exports it under this plain name (no @12 decoration), so the redistributable's own dsetup.dll can
// take its place beside launcher.exe.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Installs DirectX as dwFlags ask, with hWnd as the owner of its windows and lpszRootPath as the folder
// of its source files, or NULL. Returns only when it has finished: 0 when DirectX is in place, 1 when
// it is in place and the system must be restarted, a negative code for an error (-12: the user
// cancelled).
INT WINAPI DirectXSetupA(HWND hWnd, LPSTR lpszRootPath, DWORD dwFlags);

#ifdef __cplusplus
}
#endif
