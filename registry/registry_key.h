// One registry key named by a root and a sub-key path. No handle is held between operations: each
// read or write opens the key (creating it and any missing parent), does one thing and closes it.
// Every operation answers 1 for failure and 0 for success, never another value.
#pragma once

#include "afxstr.h"

class CRegistryKey {
public:
    CRegistryKey(HKEY hRoot, const char* pszSubKey);
    ~CRegistryKey();

    // Opens with full access, creating the key when absent (there is no open-only mode).
    int Open();
    // Closes the handle; it is null afterwards whatever the result.
    int Close();
    // Reads a REG_SZ value: its bytes up to the first zero byte among those stored, never past them.
    // strValue is written only on success; a value of any other type counts as missing.
    int GetString(const char* pszName, CString& strValue);
    // Writes a REG_SZ value: the text and one zero byte, replacing a value of any type.
    int SetString(const char* pszName, const char* pszValue);
    // Deletes the key itself; needs no open handle.
    int DeleteKey();

    HKEY m_hKey;
    HKEY m_hRoot;
    CString m_strSubKey;

private:
    CRegistryKey(const CRegistryKey&);
    CRegistryKey& operator=(const CRegistryKey&);
};
