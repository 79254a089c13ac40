#include "afxstr.h"

#include "afxwin.h"

#include <stdlib.h>
#include <string.h>

namespace {
char g_chNil = '\0';
}

CString::CString() : m_pszData(&g_chNil), m_nLength(0) {}

CString::CString(const char* psz) : m_pszData(&g_chNil), m_nLength(0) {
    if (psz != NULL)
        Assign(psz, (int)strlen(psz));
}

CString::CString(const char* pch, int nLength) : m_pszData(&g_chNil), m_nLength(0) { Assign(pch, nLength); }

CString::CString(const CString& other) : m_pszData(&g_chNil), m_nLength(0) {
    Assign(other.m_pszData, other.m_nLength);
}

CString::~CString() { Empty(); }

CString& CString::operator=(const CString& other) {
    if (this != &other)
        Assign(other.m_pszData, other.m_nLength);
    return *this;
}

CString& CString::operator=(const char* psz) {
    // psz may point into this string's own buffer.
    CString copy(psz);
    return *this = copy;
}

CString& CString::operator+=(const CString& other) {
    Append(other.m_pszData, other.m_nLength);
    return *this;
}

CString& CString::operator+=(const char* psz) {
    if (psz != NULL)
        Append(psz, (int)strlen(psz));
    return *this;
}

CString& CString::operator+=(char ch) {
    Append(&ch, 1);
    return *this;
}

void CString::Empty() {
    if (m_pszData != &g_chNil)
        free(m_pszData);
    m_pszData = &g_chNil;
    m_nLength = 0;
}

void CString::Assign(const char* pch, int nLength) {
    Empty();
    Append(pch, nLength);
}

void CString::Append(const char* pch, int nLength) {
    if (nLength <= 0)
        return;
    char* pNew = (char*)malloc(m_nLength + nLength + 1);
    if (pNew == NULL)
        return;
    memcpy(pNew, m_pszData, m_nLength);
    memcpy(pNew + m_nLength, pch, nLength);
    pNew[m_nLength + nLength] = '\0';
    int nNewLength = m_nLength + nLength;
    Empty();
    m_pszData = pNew;
    m_nLength = nNewLength;
}

BOOL CString::LoadString(UINT nID) {
    // LoadStringA answers the copied length; a result that fills the buffer may be cut, so try larger.
    for (int nSize = 256; nSize <= 65536; nSize *= 4) {
        char* pBuffer = (char*)malloc(nSize);
        if (pBuffer == NULL)
            return FALSE;
        int nLength = ::LoadStringA(AfxGetResourceHandle(), nID, pBuffer, nSize);
        if (nLength < nSize - 1) {
            Assign(pBuffer, nLength);
            free(pBuffer);
            return nLength > 0;
        }
        free(pBuffer);
    }
    return FALSE;
}

CString operator+(const CString& left, const CString& right) {
    CString result(left);
    result += right;
    return result;
}

CString operator+(const CString& left, const char* right) {
    CString result(left);
    result += right;
    return result;
}

CString operator+(const char* left, const CString& right) {
    CString result(left);
    result += right;
    return result;
}

bool operator==(const CString& left, const char* right) { return strcmp(left, right != NULL ? right : "") == 0; }

bool operator==(const CString& left, const CString& right) {
    return left.GetLength() == right.GetLength() && memcmp((const char*)left, (const char*)right, left.GetLength()) == 0;
}
