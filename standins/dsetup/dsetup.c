// The stand-in for the DirectX setup library. It installs nothing: it answers the code named by the
// environment variable SK_DSETUP_RESULT (0 when unset), and when SK_DSETUP_LOG names a file it appends
// one line per call: the owner window, the root path, the flags, whether the owner was visible and
// the ids of the owner's child controls that were enabled while the call ran. The launcher passes its
// environment on, so tests and the demo choose the answer from outside.
#include "dsetup.h"

#include <stdio.h>
#include <stdlib.h>

typedef struct {
    FILE* pFile;
} EnabledWriter;

static BOOL CALLBACK WriteIfEnabled(HWND hChild, LPARAM lParam) {
    EnabledWriter* pWriter = (EnabledWriter*)lParam;
    if (IsWindowEnabled(hChild))
        fprintf(pWriter->pFile, " %d", GetDlgCtrlID(hChild));
    return TRUE;
}

static void RecordCall(HWND hWnd, LPSTR lpszRootPath, DWORD dwFlags) {
    char szLog[MAX_PATH];
    DWORD dwLength = GetEnvironmentVariableA("SK_DSETUP_LOG", szLog, sizeof(szLog));
    if (dwLength == 0 || dwLength >= sizeof(szLog))
        return;
    FILE* pFile = fopen(szLog, "a");
    if (pFile == NULL)
        return;
    fprintf(pFile, "hwnd=%08lX root=%s flags=%08lX visible=%d enabled:", (unsigned long)(UINT_PTR)hWnd,
            lpszRootPath != NULL ? lpszRootPath : "(null)", (unsigned long)dwFlags,
            hWnd != NULL && IsWindowVisible(hWnd) ? 1 : 0);
    if (hWnd != NULL) {
        EnabledWriter writer = {pFile};
        EnumChildWindows(hWnd, WriteIfEnabled, (LPARAM)&writer);
    }
    fputc('\n', pFile);
    fclose(pFile);
}

INT WINAPI DirectXSetupA(HWND hWnd, LPSTR lpszRootPath, DWORD dwFlags) {
    RecordCall(hWnd, lpszRootPath, dwFlags);
    char szResult[32];
    DWORD dwLength = GetEnvironmentVariableA("SK_DSETUP_RESULT", szResult, sizeof(szResult));
    if (dwLength == 0 || dwLength >= sizeof(szResult))
        return 0;
    return (INT)strtol(szResult, NULL, 0);
}
