// CString: an 8-bit string in the system's code page with its length. Heap storage through the C
// runtime only; the launcher links statically and cannot afford std::string.
#pragma once

#include <windows.h>

class CString {
public:
    CString();
    CString(const char* psz);
    CString(const char* pch, int nLength);
    CString(const CString& other);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(const char* psz);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);

    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    void Empty();
    operator const char*() const { return m_pszData; }
    char operator[](int nIndex) const { return m_pszData[nIndex]; }

    // Loads string resource nID from the resource module; a missing string leaves this empty
    // and answers FALSE.
    BOOL LoadString(UINT nID);

private:
    void Assign(const char* pch, int nLength);
    void Append(const char* pch, int nLength);

    char* m_pszData;
    int m_nLength;
};

CString operator+(const CString& left, const CString& right);
CString operator+(const CString& left, const char* right);
CString operator+(const char* left, const CString& right);
bool operator==(const CString& left, const char* right);
bool operator==(const CString& left, const CString& right);
inline bool operator!=(const CString& left, const char* right) { return !(left == right); }
