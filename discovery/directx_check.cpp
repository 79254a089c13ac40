#include "../dialog/launcher_dlg.h"

#include <stdlib.h>

void CLauncherDlg::CheckDirectSound() {
    HMODULE hDirectSound = ::LoadLibraryA("dsound");
    if (hDirectSound == NULL) {
        m_bDirectXNeeded = 1;
        return;
    }

    char szPath[512];
    if (::GetModuleFileNameA(hDirectSound, szPath, sizeof(szPath)) != 0) {
        // A path that fills the buffer comes back unterminated on some systems; the query then runs
        // on the cut path and fails, and DirectX counts as present.
        szPath[sizeof(szPath) - 1] = '\0';
        DWORD dwUnused;
        DWORD dwSize = ::GetFileVersionInfoSizeA(szPath, &dwUnused);
        if (dwSize != 0) {
            void* pBlock = malloc(dwSize);
            if (pBlock != NULL) {
                VS_FIXEDFILEINFO* pInfo;
                UINT nLength;
                if (::GetFileVersionInfoA(szPath, 0, dwSize, pBlock) > 0 &&
                    ::VerQueryValueA(pBlock, "\\", (void**)&pInfo, &nLength) > 0) {
                    // DirectX 3 shipped DirectSound 4.4.0.68; only the product version counts.
                    if (pInfo->dwProductVersionMS < 0x00040004u ||
                        (pInfo->dwProductVersionMS == 0x00040004u && pInfo->dwProductVersionLS < 0x00000044u))
                        m_bDirectXNeeded = 1;
                }
                free(pBlock);
            }
        }
    }

    ::FreeLibrary(hDirectSound);
}
