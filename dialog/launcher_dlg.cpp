#include "launcher_dlg.h"

#include "../app/launcher_app.h"
#include "../registry/records.h"
#include "resource.h"

namespace {
const UINT_PTR kTickTimerId = 1;
}

BEGIN_MESSAGE_MAP(CLauncherDlg, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_TIMER()
ON_BN_CLICKED(IDC_PLAY, &CLauncherDlg::OnPlay)
ON_BN_CLICKED(IDC_UNINSTALL, &CLauncherDlg::OnUninstall)
ON_BN_CLICKED(IDC_INSTALL, &CLauncherDlg::OnInstall)
END_MESSAGE_MAP()

CLauncherDlg::CLauncherDlg(CWnd* pParent)
    : CDialog(IDD_LAUNCHER_DIALOG, pParent), m_bRebootPending(0), m_bUninstallOnStart(0), m_bDirectXNeeded(0),
      m_nTimerId(0), m_hSetupProcess(NULL), m_bDirectXSetupRunning(0), m_bSetupRunning(0), m_bWaitingForInstaller(0),
      m_bDevelopmentPaths(0), m_pInstallButton(NULL), m_pUninstallButton(NULL), m_pFastVideoButton(NULL),
      m_pSafeVideoButton(NULL), m_pPlayButton(NULL), m_pQuitButton(NULL) {
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CLauncherDlg::~CLauncherDlg() {
    // The installer runs on unwatched once the launcher has gone; only our handle to it is given back.
    if (m_hSetupProcess != NULL)
        ::CloseHandle(m_hSetupProcess);
}

void CLauncherDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BOOL CLauncherDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);

    ClearState();
    LoadLaunchStrings();
    BindControls();
    CopyExeLocation();
    LocateSetup();
    LocateGame();
    CheckDirectSound();
    RegisterCdAndUninstall();
    SetInstallerRunning(0);
    UpdateControls();

    ::SendMessageA(m_pFastVideoButton->m_hWnd, BM_SETCHECK, BST_CHECKED, 0);

    CLauncherApp* pApp = (CLauncherApp*)AfxGetApp();
    if (pApp->m_bUninstallRequested == 1)
        m_bUninstallOnStart = 1;
    else if (m_bDirectXNeeded == 1)
        OnInstall();

    // With a window, SetTimer answers 1 for success rather than the id, so a timer made with id 0
    // could never be killed by what SetTimer answered. Id 1 makes the answer and the id the same.
    m_nTimerId = ::SetTimer(m_hWnd, kTickTimerId, 500, NULL);

    // The focus has already been placed by UpdateControls.
    return FALSE;
}

void CLauncherDlg::ClearState() {
    m_bRebootPending = 0;
    m_bUninstallOnStart = 0;
    m_bDirectXNeeded = 0;
    m_nTimerId = 0;
    m_hSetupProcess = NULL;
    m_bDirectXSetupRunning = 0;
    m_bSetupRunning = 0;
    m_bWaitingForInstaller = 0;
    m_bDevelopmentPaths = 0;
}

void CLauncherDlg::LoadLaunchStrings() {
    m_strGameExeName.LoadString(IDS_GAME_EXE);
    m_strEngineDirName.LoadString(IDS_ENGINE_DIR);
    m_strWindowedArgs.LoadString(IDS_WINDOWED_ARGS);
    m_strDevelopmentArgs.LoadString(IDS_DEVELOPMENT_ARGS);
    m_strSetupExeName.LoadString(IDS_SETUP_EXE);
    m_strSetupDirName.LoadString(IDS_SETUP_DIR);
}

void CLauncherDlg::BindControls() {
    m_pInstallButton = GetDlgItem(IDC_INSTALL);
    m_pUninstallButton = GetDlgItem(IDC_UNINSTALL);
    m_pFastVideoButton = GetDlgItem(IDC_FAST_VIDEO);
    m_pSafeVideoButton = GetDlgItem(IDC_SAFE_VIDEO);
    m_pPlayButton = GetDlgItem(IDC_PLAY);
    m_pQuitButton = GetDlgItem(IDCANCEL);
}

void CLauncherDlg::CopyExeLocation() {
    CLauncherApp* pApp = (CLauncherApp*)AfxGetApp();
    m_strExeDir = pApp->m_strExeDir;
    m_strExePath = pApp->m_strExePath;
}

namespace {

// One row of the control policy: what each control may do, the default button (0: leave it as it
// is) and which control gets the focus.
struct ControlPolicyRow {
    BOOL bInstall;
    BOOL bUninstall;
    BOOL bFastVideo;
    BOOL bSafeVideo;
    BOOL bPlay;
    BOOL bQuit;
    int nDefaultId;
    CWnd* CLauncherDlg::*pFocus;
};

const ControlPolicyRow kBusyRow = {FALSE, FALSE, FALSE, FALSE, FALSE, TRUE, 0, &CLauncherDlg::m_pQuitButton};
const ControlPolicyRow kDirectXNeededRow = {TRUE,  TRUE,  FALSE,      FALSE,
                                            FALSE, TRUE,  IDC_INSTALL, &CLauncherDlg::m_pInstallButton};
const ControlPolicyRow kGameFoundRow = {TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, IDC_PLAY, &CLauncherDlg::m_pPlayButton};
const ControlPolicyRow kNoGameRow = {TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, IDCANCEL, &CLauncherDlg::m_pQuitButton};

} // namespace

void CLauncherDlg::UpdateControls() {
    const ControlPolicyRow* pRow;
    if (m_bDirectXSetupRunning == 1 || m_bWaitingForInstaller == 1 || m_bSetupRunning == 1 || m_bRebootPending == 1)
        pRow = &kBusyRow;
    else if (m_bDirectXNeeded == 1)
        pRow = &kDirectXNeededRow;
    else if (!m_strGameExe.IsEmpty())
        pRow = &kGameFoundRow;
    else
        pRow = &kNoGameRow;

    m_pInstallButton->EnableWindow(pRow->bInstall);
    m_pUninstallButton->EnableWindow(pRow->bUninstall);
    m_pFastVideoButton->EnableWindow(pRow->bFastVideo);
    m_pSafeVideoButton->EnableWindow(pRow->bSafeVideo);
    m_pPlayButton->EnableWindow(pRow->bPlay);
    m_pQuitButton->EnableWindow(pRow->bQuit);
    if (pRow->nDefaultId != 0)
        ::SendMessageA(m_hWnd, DM_SETDEFID, pRow->nDefaultId, 0);
    // WM_NEXTDLGCTL with LOWORD(lParam) TRUE: wParam is the window to focus, not a direction.
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)(this->*pRow->pFocus)->m_hWnd, TRUE);
}

void CLauncherDlg::OnTimer(UINT_PTR) {
    if (m_bUninstallOnStart == 1) {
        // Cleared first: ticks keep coming while the flow's question is open.
        m_bUninstallOnStart = 0;
        OnUninstall();
        return;
    }

    if (m_bSetupRunning == 1) {
        DWORD dwExitCode;
        if (::GetExitCodeProcess(m_hSetupProcess, &dwExitCode) == 1 && dwExitCode != STILL_ACTIVE) {
            // Nothing looks at the installer's process again.
            ::CloseHandle(m_hSetupProcess);
            m_hSetupProcess = NULL;
            m_bSetupRunning = 0;
            m_bWaitingForInstaller = 1;
            SetInstallerRunning(1);
            UpdateControls();
        }
    }

    if (m_bWaitingForInstaller == 1) {
        if (IsInstallerRunning() == 0) {
            m_bWaitingForInstaller = 0;
            LocateGame();
            UpdateControls();
        }
    }

    Default();
}

void CLauncherDlg::OnOK() {
    if (m_nTimerId != 0)
        ::KillTimer(m_hWnd, m_nTimerId);
    CDialog::OnOK();
}

void CLauncherDlg::OnCancel() {
    if (m_nTimerId != 0)
        ::KillTimer(m_hWnd, m_nTimerId);
    CDialog::OnCancel();
}

int IconOrigin(int nClientExtent, int nIconExtent) { return (nClientExtent - nIconExtent + 1) / 2; }

void CLauncherDlg::OnPaint() {
    if (!::IsIconic(m_hWnd)) {
        Default();
        return;
    }
    CPaintDC dc(this);
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, (WPARAM)dc.m_hDC, 0);
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    int x = IconOrigin(rect.right - rect.left, cxIcon);
    int y = IconOrigin(rect.bottom - rect.top, cyIcon);
    ::DrawIcon(dc.m_hDC, x, y, m_hIcon);
}

HCURSOR CLauncherDlg::OnQueryDragIcon() { return (HCURSOR)m_hIcon; }
