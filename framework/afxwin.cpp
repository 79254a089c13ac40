#include "afxwin.h"

namespace {
CWinApp* g_pApp = NULL;
AFX_MSGBOX_HOOK g_pfnMessageBoxHook = NULL;
} // namespace

CWinApp* AfxGetApp() { return g_pApp; }

// Before the process entry has run (in-process tests), the executable itself.
HINSTANCE AfxGetInstanceHandle() {
    return g_pApp != NULL && g_pApp->m_hInstance != NULL ? g_pApp->m_hInstance : ::GetModuleHandleA(NULL);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

const char* AfxGetAppName() { return g_pApp != NULL ? g_pApp->m_pszAppName : ""; }

// CWinApp

CWinApp::CWinApp(const char* pszAppName)
    : m_hInstance(NULL), m_lpCmdLine(""), m_pszAppName(pszAppName), m_pMainWnd(NULL) {
    m_szTitle[0] = '\0';
    if (m_pszAppName == NULL)
        m_pszAppName = m_szTitle;
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = NULL;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::OnHelp() {}

const char* AfxGetCommandTail(const char* pszCommandLine) {
    const unsigned char* p = (const unsigned char*)pszCommandLine;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p > ' ')
            ++p;
    }
    while (*p != '\0' && *p <= ' ')
        ++p;
    return (const char*)p;
}

BOOL AfxWinInit(HINSTANCE hInstance) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return FALSE;

    // Probing a drive with no disc must fail quietly rather than ask the user to insert one.
    UINT uMode = ::SetErrorMode(0);
    ::SetErrorMode(uMode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = AfxGetCommandTail(::GetCommandLineA());
    if (pApp->m_pszAppName == pApp->m_szTitle)
        ::LoadStringA(hInstance, 0xE000, pApp->m_szTitle, sizeof(pApp->m_szTitle));
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance) {
    if (!AfxWinInit(hInstance))
        return -1;
    CWinApp* pApp = AfxGetApp();
    if (pApp->InitInstance()) {
        MSG msg;
        while (::GetMessageA(&msg, NULL, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    } else if (pApp->m_pMainWnd != NULL && pApp->m_pMainWnd->m_hWnd != NULL) {
        ::DestroyWindow(pApp->m_pMainWnd->m_hWnd);
    }
    return pApp->ExitInstance();
}

// Message boxes

AFX_MSGBOX_HOOK AfxSetMessageBoxHook(AFX_MSGBOX_HOOK pfnHook) {
    AFX_MSGBOX_HOOK pfnPrevious = g_pfnMessageBoxHook;
    g_pfnMessageBoxHook = pfnHook;
    return pfnPrevious;
}

int AfxMessageBox(const char* lpszText, UINT nType, UINT nIDHelp) {
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;

    HWND hOwner = NULL;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd != NULL && ::IsWindow(pApp->m_pMainWnd->m_hWnd))
        hOwner = ::GetLastActivePopup(pApp->m_pMainWnd->m_hWnd);

    if (g_pfnMessageBoxHook != NULL)
        return g_pfnMessageBoxHook(hOwner, lpszText, AfxGetAppName(), nType, nIDHelp);
    return ::MessageBoxA(hOwner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    if (nIDHelp == (UINT)-1)
        nIDHelp = nIDPrompt;
    return AfxMessageBox(strPrompt, nType, nIDHelp);
}

// CWnd

const AFX_MSGMAP CWnd::messageMap = {NULL, NULL};

const AFX_MSGMAP* CWnd::GetMessageMap() const { return &CWnd::messageMap; }

CWnd::CWnd() : m_hWnd(NULL), m_bDefaultRequested(FALSE), m_pFirstChild(NULL), m_pNextSibling(NULL) {}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd), m_bDefaultRequested(FALSE), m_pFirstChild(NULL), m_pNextSibling(NULL) {}

CWnd::~CWnd() {
    while (m_pFirstChild != NULL) {
        CWnd* pChild = m_pFirstChild;
        m_pFirstChild = pChild->m_pNextSibling;
        delete pChild;
    }
}

CWnd* CWnd::GetDlgItem(int nID) {
    HWND hChild = ::GetDlgItem(m_hWnd, nID);
    if (hChild == NULL)
        return NULL;
    for (CWnd* pChild = m_pFirstChild; pChild != NULL; pChild = pChild->m_pNextSibling) {
        if (pChild->m_hWnd == hChild)
            return pChild;
    }
    CWnd* pChild = new CWnd(hChild);
    if (pChild == NULL)
        return NULL;
    pChild->m_pNextSibling = m_pFirstChild;
    m_pFirstChild = pChild;
    return pChild;
}

LRESULT CWnd::Default() {
    m_bDefaultRequested = TRUE;
    return 0;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    (void)lParam;
    UINT nCode = HIWORD(wParam);
    UINT nID = LOWORD(wParam);
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL; pMap = pMap->pBaseMap) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry != NULL && pEntry->nSig != AfxSig_end;
             ++pEntry) {
            if (pEntry->nMessage != message)
                continue;
            if (message == WM_COMMAND && (pEntry->nCode != nCode || pEntry->nID != nID))
                continue;
            switch (pEntry->nSig) {
            case AfxSig_vv:
                (this->*pEntry->pfn)();
                *pResult = 0;
                return TRUE;
            case AfxSig_vw:
                (this->*reinterpret_cast<void (CWnd::*)(UINT_PTR)>(pEntry->pfn))(wParam);
                *pResult = 0;
                return TRUE;
            case AfxSig_hv:
                *pResult = (LRESULT)(this->*reinterpret_cast<HCURSOR (CWnd::*)()>(pEntry->pfn))();
                return TRUE;
            }
        }
    }
    return FALSE;
}

// CDialog

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
    HWND hParent = m_pParentWnd != NULL ? m_pParentWnd->m_hWnd : NULL;
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hParent, DialogProc,
                             (LPARAM)this);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    ::EndDialog(m_hWnd, IDOK);
}

void CDialog::OnCancel() { ::EndDialog(m_hWnd, IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

static void CenterOnScreen(HWND hWnd) {
    RECT rcWindow;
    RECT rcWork;
    ::GetWindowRect(hWnd, &rcWindow);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    int cx = rcWindow.right - rcWindow.left;
    int cy = rcWindow.bottom - rcWindow.top;
    int x = rcWork.left + (rcWork.right - rcWork.left - cx) / 2;
    int y = rcWork.top + (rcWork.bottom - rcWork.top - cy) / 2;
    ::SetWindowPos(hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* pThis;
    if (message == WM_INITDIALOG) {
        pThis = (CDialog*)lParam;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        pThis->m_hWnd = hWnd;
        BOOL bSetFocus = pThis->OnInitDialog();
        if (pThis->m_hWnd != NULL)
            CenterOnScreen(hWnd);
        // WM_INITDIALOG: TRUE lets the system focus the first tab stop; FALSE means focus was placed.
        return bSetFocus;
    }

    pThis = (CDialog*)::GetWindowLongPtrA(hWnd, DWLP_USER);
    if (pThis == NULL)
        return FALSE;

    if (message == WM_HELP) {
        if (AfxGetApp() != NULL)
            AfxGetApp()->OnHelp();
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        CWinApp* pApp = AfxGetApp();
        if (pApp != NULL && pApp->m_pMainWnd == pThis)
            pApp->m_pMainWnd = NULL;
        pThis->m_hWnd = NULL;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        return FALSE;
    }

    // Handlers may run nested (a timer tick inside a message box of another handler), so the
    // default-processing request is kept per message.
    BOOL bOuterDefault = pThis->m_bDefaultRequested;
    pThis->m_bDefaultRequested = FALSE;
    LRESULT lResult = 0;
    BOOL bHandled = pThis->OnWndMsg(message, wParam, lParam, &lResult);
    BOOL bDefault = pThis->m_bDefaultRequested;
    pThis->m_bDefaultRequested = bOuterDefault;
    if (!bHandled || bDefault)
        return FALSE;

    // A dialog procedure answers most messages through DWLP_MSGRESULT and TRUE; WM_QUERYDRAGICON is
    // one of the few whose result is the procedure's own return value.
    if (message == WM_QUERYDRAGICON)
        return (INT_PTR)lResult;
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

// CPaintDC

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
