#include "registry_key.h"

#include <stdlib.h>
#include <string.h>

CRegistryKey::CRegistryKey(HKEY hRoot, const char* pszSubKey) : m_hKey(NULL), m_hRoot(hRoot), m_strSubKey(pszSubKey) {}

CRegistryKey::~CRegistryKey() {}

int CRegistryKey::Open() {
    DWORD dwDisposition;
    LONG lResult = ::RegCreateKeyExA(m_hRoot, m_strSubKey, 0, (LPSTR) "REG_SZ", REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, NULL, &m_hKey, &dwDisposition);
    if (lResult != ERROR_SUCCESS) {
        m_hKey = NULL;
        return 1;
    }
    return 0;
}

int CRegistryKey::Close() {
    LONG lResult = ::RegCloseKey(m_hKey);
    m_hKey = NULL;
    return lResult != ERROR_SUCCESS ? 1 : 0;
}

int CRegistryKey::GetString(const char* pszName, CString& strValue) {
    if (Open() == 1)
        return 1;

    DWORD dwType;
    DWORD cbData;
    LONG lResult = ::RegQueryValueExA(m_hKey, pszName, NULL, &dwType, NULL, &cbData);
    if (lResult != ERROR_SUCCESS || dwType != REG_SZ) {
        Close();
        return 1;
    }

    // A zero-length value still needs a buffer to point at.
    char* pBuffer = (char*)malloc(cbData != 0 ? cbData : 1);
    if (pBuffer == NULL) {
        Close();
        return 1;
    }
    // A value that grew since the first query no longer fits: ERROR_MORE_DATA, and the read fails.
    lResult = ::RegQueryValueExA(m_hKey, pszName, NULL, &dwType, (BYTE*)pBuffer, &cbData);
    if (lResult != ERROR_SUCCESS) {
        Close();
        free(pBuffer);
        return 1;
    }
    if (Close() == 1) {
        free(pBuffer);
        return 1;
    }

    const char* pZero = (const char*)memchr(pBuffer, '\0', cbData);
    int nLength = pZero != NULL ? (int)(pZero - pBuffer) : (int)cbData;
    strValue = CString(pBuffer, nLength);
    free(pBuffer);
    return 0;
}

int CRegistryKey::SetString(const char* pszName, const char* pszValue) {
    if (Open() == 1)
        return 1;
    LONG lResult =
        ::RegSetValueExA(m_hKey, pszName, 0, REG_SZ, (const BYTE*)pszValue, (DWORD)strlen(pszValue) + 1);
    if (Close() == 1)
        return 1;
    return lResult != ERROR_SUCCESS ? 1 : 0;
}

int CRegistryKey::DeleteKey() { return ::RegDeleteKeyA(m_hRoot, m_strSubKey) != ERROR_SUCCESS ? 1 : 0; }
