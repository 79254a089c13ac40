// Our framework layer: the application object, the window and dialog classes with their message
// maps, the paint context and the message box. Thin pass-throughs to Win32; it includes nothing of
// the launcher.
#pragma once

#include <windows.h>

#include "afxstr.h"

class CWnd;
class CWinApp;

// Message maps: a table per class, read top to bottom, "this message / this command id goes to this
// handler". A handler's signature is named once per entry by its AfxSig.
enum AfxSig {
    AfxSig_end = 0,
    AfxSig_vv,  // void Handler()
    AfxSig_vw,  // void Handler(UINT_PTR)      (WM_TIMER: the timer id)
    AfxSig_hv,  // HCURSOR Handler()           (WM_QUERYDRAGICON)
};

typedef void (CWnd::*AFX_PMSG)();

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode; // WM_COMMAND: the notification code
    UINT nID;   // WM_COMMAND: the control or command id
    UINT nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* pBaseMap;
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                                          \
protected:                                                                                                             \
    static const AFX_MSGMAP_ENTRY _messageEntries[];                                                                   \
    static const AFX_MSGMAP messageMap;                                                                                \
    virtual const AFX_MSGMAP* GetMessageMap() const;

// One message map per source file: ThisClass names the class whose map follows.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                         \
    typedef theClass ThisClass;                                                                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return &theClass::messageMap; }                                \
    const AFX_MSGMAP theClass::messageMap = {&baseClass::messageMap, &theClass::_messageEntries[0]};                   \
    const AFX_MSGMAP_ENTRY theClass::_messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                              \
    { 0, 0, 0, AfxSig_end, (AFX_PMSG)0 }                                                                               \
    }                                                                                                                  \
    ;

#define ON_WM_PAINT() {WM_PAINT, 0, 0, AfxSig_vv, static_cast<AFX_PMSG>(&ThisClass::OnPaint)},
#define ON_WM_TIMER()                                                                                                  \
    {WM_TIMER, 0, 0, AfxSig_vw,                                                                                        \
     reinterpret_cast<AFX_PMSG>(static_cast<void (CWnd::*)(UINT_PTR)>(&ThisClass::OnTimer))},
#define ON_WM_QUERYDRAGICON()                                                                                          \
    {WM_QUERYDRAGICON, 0, 0, AfxSig_hv,                                                                                \
     reinterpret_cast<AFX_PMSG>(static_cast<HCURSOR (CWnd::*)()>(&ThisClass::OnQueryDragIcon))},
#define ON_COMMAND(id, memberFxn) {WM_COMMAND, 0, (UINT)(id), AfxSig_vv, static_cast<AFX_PMSG>(memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) {WM_COMMAND, BN_CLICKED, (UINT)(id), AfxSig_vv, static_cast<AFX_PMSG>(memberFxn)},

class CWnd {
public:
    CWnd();
    explicit CWnd(HWND hWnd);
    virtual ~CWnd();

    HWND GetSafeHwnd() const { return m_hWnd; }

    // The control's window object, owned by this window and valid for its lifetime; NULL when the
    // dialog has no such control.
    CWnd* GetDlgItem(int nID);

    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }

    // Asks for the system's default processing of the message being handled.
    LRESULT Default();

    HWND m_hWnd;

protected:
    // Routes a message through the message maps; answers TRUE when a handler took it.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    static const AFX_MSGMAP messageMap;
    virtual const AFX_MSGMAP* GetMessageMap() const;

    BOOL m_bDefaultRequested;

private:
    CWnd(const CWnd&);
    CWnd& operator=(const CWnd&);

    CWnd* m_pFirstChild;
    CWnd* m_pNextSibling;
};

class CDataExchange {
public:
    explicit CDataExchange(BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate) {}
    BOOL m_bSaveAndValidate;
};

class CDialog : public CWnd {
public:
    CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);

    // Runs the dialog modally from its template; answers what EndDialog was given, or -1.
    INT_PTR DoModal();

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();

    HDC m_hDC;
    PAINTSTRUCT m_ps;

private:
    CPaintDC(const CPaintDC&);
    CPaintDC& operator=(const CPaintDC&);

    HWND m_hWnd;
};

class CWinApp {
public:
    // The one application object registers itself; with no name, the title is string 0xE000.
    explicit CWinApp(const char* pszAppName = NULL);
    virtual ~CWinApp();

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // F1: the application has no help content of its own, so there is nothing to show.
    virtual void OnHelp();

    HINSTANCE m_hInstance;
    const char* m_lpCmdLine;
    const char* m_pszAppName;
    CWnd* m_pMainWnd;

private:
    CWinApp(const CWinApp&);
    CWinApp& operator=(const CWinApp&);

    friend BOOL AfxWinInit(HINSTANCE hInstance);
    char m_szTitle[256];
};

// What the framework does before the start hook: error mode, instance, command-line tail, title.
BOOL AfxWinInit(HINSTANCE hInstance);
// The process entry's work: AfxWinInit, InitInstance, the message loop if it answered TRUE, ExitInstance.
int AfxWinMain(HINSTANCE hInstance);

// The command line after the program's name and the blanks that follow it. A name in double quotes
// ends at the closing quote; any other name at the first character at or below the blank.
const char* AfxGetCommandTail(const char* pszCommandLine);

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
const char* AfxGetAppName();

// Every box of the program: caption = application title; MB_ICONEXCLAMATION added when the type names
// no icon; owner = the main window's last active pop-up while the main window exists, else none.
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// The one seam of the message box: when set, it is called in place of MessageBoxA with exactly what
// MessageBoxA would get, and its answer is returned. For in-process tests. Answers the previous hook.
typedef int (*AFX_MSGBOX_HOOK)(HWND hOwner, const char* pszText, const char* pszCaption, UINT nType, UINT nIDHelp);
AFX_MSGBOX_HOOK AfxSetMessageBoxHook(AFX_MSGBOX_HOOK pfnHook);
