// The launcher's one window: its state, the opening sequence, the control policy, the timer and
// the three user flows (install, play, uninstall).
#pragma once

#include "afxwin.h"

class CLauncherDlg : public CDialog {
public:
    explicit CLauncherDlg(CWnd* pParent = NULL);
    virtual ~CLauncherDlg();

    // The single place that decides which controls can be used, the default button and the focus.
    void UpdateControls();

    // Opening sequence steps.
    void ClearState();
    void LoadLaunchStrings();
    void BindControls();
    void CopyExeLocation();

    // Path resolution, the DirectX check and the registry bookkeeping of the opening.
    void LocateSetup();
    void LocateGame();
    void CheckDirectSound();
    void RegisterCdAndUninstall();

    // Flows.
    void OnInstall();
    void RunDirectXSetup();
    void RunSetup();
    void OnPlay();
    void LaunchGame(int nFastVideo);
    void OnUninstall();
    void ShowLaunchError(const CString& strName);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT_PTR nIDEvent);

    HICON m_hIcon;
    int m_bRebootPending;
    int m_bUninstallOnStart;
    int m_bDirectXNeeded;
    UINT_PTR m_nTimerId;
    HANDLE m_hSetupProcess;
    int m_bDirectXSetupRunning;
    int m_bSetupRunning;
    int m_bWaitingForInstaller;
    int m_bDevelopmentPaths;
    CString m_strExeDir;
    CString m_strExePath;
    CString m_strGameExeName;
    CString m_strEngineDirName;
    CString m_strEngineDir;
    CString m_strGameExe;
    CString m_strWindowedArgs;
    CString m_strDevelopmentArgs;
    CString m_strSetupExeName;
    CString m_strSetupDirName;
    CString m_strSetupDir;
    CString m_strSetupExe;
    CWnd* m_pInstallButton;
    CWnd* m_pUninstallButton;
    CWnd* m_pFastVideoButton;
    CWnd* m_pSafeVideoButton;
    CWnd* m_pPlayButton;
    CWnd* m_pQuitButton;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

    DECLARE_MESSAGE_MAP()
};

// Where a minimised window draws its icon along one axis: centred, rounding toward zero.
int IconOrigin(int nClientExtent, int nIconExtent);
