// The launcher dialog in this process: its opening state, the control policy, closing, the timer
// and the minimised icon.
#include "app/launcher_app.h"
#include "dialog/launcher_dlg.h"
#include "message_boxes.h"
#include "modal_runner.h"
#include "resource.h"

#include "dialog_view.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int FocusId() { return GetDlgCtrlID(GetFocus()); }

} // namespace

TEST(LauncherDialog, OpensCentredWithFastVideoCheckedAndItsIcon) {
    CLauncherDlg dlg;
    RunModal(dlg, [&](HWND hDialog) {
        EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(hDialog, IDC_FAST_VIDEO, BM_GETCHECK, 0, 0));
        EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(hDialog, IDC_SAFE_VIDEO, BM_GETCHECK, 0, 0));
        EXPECT_EQ("Skellion", WindowText(hDialog));
        ASSERT_NE(nullptr, dlg.m_hIcon);
        EXPECT_EQ((LRESULT)dlg.m_hIcon, SendMessageA(hDialog, WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ((LRESULT)dlg.m_hIcon, SendMessageA(hDialog, WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ((LRESULT)dlg.m_hIcon, SendMessageA(hDialog, WM_QUERYDRAGICON, 0, 0));
        EXPECT_NE(0u, dlg.m_nTimerId);

        RECT window, work;
        GetWindowRect(hDialog, &window);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR((work.left + work.right) / 2, (window.left + window.right) / 2, 1);
        EXPECT_NEAR((work.top + work.bottom) / 2, (window.top + window.bottom) / 2, 1);

        EXPECT_EQ("Skellion Setup", std::string(AfxGetAppName()));
        EXPECT_EQ("vorrow.exe", std::string(dlg.m_strGameExeName));
        EXPECT_EQ("Vorrow", std::string(dlg.m_strEngineDirName));
        EXPECT_EQ("-DirectDraw 0 -FullScreen 0", std::string(dlg.m_strWindowedArgs));
        EXPECT_EQ("-INIFileUsageMode 1 -ArchiveMode 0", std::string(dlg.m_strDevelopmentArgs));
        EXPECT_EQ("setup.exe", std::string(dlg.m_strSetupExeName));
        EXPECT_EQ("setup", std::string(dlg.m_strSetupDirName));
    });
}

struct PolicyState {
    int directXSetupRunning, setupRunning, waitingForInstaller, rebootPending, directXNeeded;
    const char* gameExe;
};

struct PolicyCase {
    const char* name;
    PolicyState state;
    std::vector<bool> enabled; // Install, Uninstall, Fast Video, Safe Video, Play, Quit
    int defaultId;
    int focusId;
};

// Each row of the policy: enabled controls, the default button and the focus. Before each row the
// dialog is put in the "DirectX needed" state, so a row that sends no default leaves Install.
TEST(ControlPolicy, EnablesSetsDefaultAndFocusPerRow) {
    const std::vector<bool> busy = {false, false, false, false, false, true};
    const std::vector<bool> all = {true, true, true, true, true, true};
    const std::vector<bool> directX = {true, true, false, false, false, true};
    const PolicyCase cases[] = {
        {"DirectX setup running", {1, 0, 0, 0, 0, ""}, busy, IDC_INSTALL, IDCANCEL},
        {"installer running", {0, 1, 0, 0, 0, "C:\\g\\vorrow.exe"}, busy, IDC_INSTALL, IDCANCEL},
        {"waiting for the installer", {0, 0, 1, 0, 1, ""}, busy, IDC_INSTALL, IDCANCEL},
        {"restart pending", {0, 0, 0, 1, 0, "C:\\g\\vorrow.exe"}, busy, IDC_INSTALL, IDCANCEL},
        {"DirectX needed, game found", {0, 0, 0, 0, 1, "C:\\g\\vorrow.exe"}, directX, IDC_INSTALL, IDC_INSTALL},
        {"game found", {0, 0, 0, 0, 0, "C:\\g\\vorrow.exe"}, all, IDC_PLAY, IDC_PLAY},
        {"nothing found", {0, 0, 0, 0, 0, ""}, all, IDCANCEL, IDCANCEL},
    };
    CLauncherDlg dlg;
    RunModal(dlg, [&](HWND hDialog) {
        for (const PolicyCase& c : cases) {
            SCOPED_TRACE(c.name);
            dlg.ClearState();
            dlg.m_bDirectXNeeded = 1;
            dlg.UpdateControls();
            ASSERT_EQ(IDC_INSTALL, DefaultId(hDialog));

            dlg.m_bDirectXSetupRunning = c.state.directXSetupRunning;
            dlg.m_bSetupRunning = c.state.setupRunning;
            dlg.m_bWaitingForInstaller = c.state.waitingForInstaller;
            dlg.m_bRebootPending = c.state.rebootPending;
            dlg.m_bDirectXNeeded = c.state.directXNeeded;
            dlg.m_strGameExe = c.state.gameExe;
            dlg.UpdateControls();
            EXPECT_EQ(c.enabled, EnabledStates(hDialog));
            EXPECT_EQ(c.defaultId, DefaultId(hDialog));
            EXPECT_EQ(c.focusId, FocusId());
        }
    });
}

TEST(ControlPolicy, BusyRowKeepsWhateverDefaultCameBefore) {
    CLauncherDlg dlg;
    RunModal(dlg, [&](HWND hDialog) {
        for (const char* game : {"C:\\g\\vorrow.exe", ""}) {
            SCOPED_TRACE(game);
            dlg.ClearState();
            dlg.m_strGameExe = game;
            dlg.UpdateControls();
            int before = DefaultId(hDialog);
            dlg.m_bSetupRunning = 1;
            dlg.UpdateControls();
            EXPECT_EQ(before, DefaultId(hDialog));
            EXPECT_EQ(IDCANCEL, FocusId());
        }
    });
}

namespace {
class ClosingDlg : public CLauncherDlg {
public:
    int cancels = 0;
    int oks = 0;
    BOOL timerStillThere = TRUE;
    void OnCancel() override {
        ++cancels;
        CLauncherDlg::OnCancel();
        // No timer may be left under the id SetTimer answered, nor under any other the dialog uses.
        timerStillThere = KillTimer(m_hWnd, m_nTimerId) || KillTimer(m_hWnd, 0) || KillTimer(m_hWnd, 1);
    }
    void OnOK() override {
        ++oks;
        CLauncherDlg::OnOK();
    }
};

HWND FocusedChild(HWND hDialog) {
    HWND hFocus = GetFocus();
    return hFocus != NULL ? hFocus : hDialog;
}
} // namespace

struct CloseCase {
    const char* name;
    void (*close)(HWND hDialog);
};

// Quit, Escape and the close box all end the dialog through OnCancel, which stops the timer first.
TEST(LauncherDialog, QuitEscapeAndCloseBoxEndThroughOnCancel) {
    const CloseCase cases[] = {
        {"Quit button", [](HWND h) { PostMessageA(GetDlgItem(h, IDCANCEL), BM_CLICK, 0, 0); }},
        {"Escape key", [](HWND h) { PostMessageA(FocusedChild(h), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
        {"close box", [](HWND h) { PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClosingDlg dlg;
        INT_PTR result = RunModal(dlg, [&](HWND hDialog) { c.close(hDialog); }, false);
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(1, dlg.cancels);
        EXPECT_EQ(0, dlg.oks);
        EXPECT_FALSE(dlg.timerStillThere);
    }
}

namespace {
std::vector<DWORD> g_tickTimes;
HWND g_tickDialog = NULL;
HHOOK g_tickHook = NULL;

LRESULT CALLBACK WatchTicks(int code, WPARAM wParam, LPARAM lParam) {
    MSG* msg = (MSG*)lParam;
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER && msg->hwnd == g_tickDialog)
        g_tickTimes.push_back(GetTickCount());
    return CallNextHookEx(g_tickHook, code, wParam, lParam);
}
} // namespace

TEST(LauncherDialog, TimerTicksEveryHalfSecond) {
    CLauncherDlg dlg;
    g_tickTimes.clear();
    g_tickHook = SetWindowsHookExA(WH_GETMESSAGE, WatchTicks, NULL, GetCurrentThreadId());
    ASSERT_NE(nullptr, g_tickHook);
    RunModal(dlg, [&](HWND hDialog) {
        g_tickDialog = hDialog;
        DWORD start = GetTickCount();
        MSG msg;
        while (g_tickTimes.size() < 4 && GetTickCount() - start < 10000) {
            if (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
                if (!IsDialogMessageA(hDialog, &msg))
                    DispatchMessageA(&msg);
            } else {
                MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
            }
        }
    });
    UnhookWindowsHookEx(g_tickHook);
    ASSERT_GE(g_tickTimes.size(), 4u);
    DWORD average = (g_tickTimes.back() - g_tickTimes.front()) / (DWORD)(g_tickTimes.size() - 1);
    EXPECT_GE(average, 400u);
    EXPECT_LE(average, 900u);
}

struct IconOriginCase {
    int client, icon, origin;
};

TEST(MinimisedIcon, CentredRoundingTowardZero) {
    const IconOriginCase cases[] = {{36, 32, 2}, {35, 32, 2}, {30, 32, 0}, {32, 32, 0}, {0, 32, -15}, {100, 16, 42}};
    for (const IconOriginCase& c : cases) {
        SCOPED_TRACE(c.client);
        EXPECT_EQ(c.origin, IconOrigin(c.client, c.icon));
    }
}

TEST(AfxMessageBox, OwnedByTheDialogWhileItExists) {
    CLauncherDlg dlg;
    CWinApp* app = AfxGetApp();
    app->m_pMainWnd = &dlg;
    ScriptedBoxes boxes({IDOK, IDOK});
    RunModal(dlg, [&](HWND hDialog) {
        AfxMessageBox("while open");
        ASSERT_EQ(1u, boxes.shown().size());
        EXPECT_EQ(hDialog, boxes.shown()[0].hOwner);
    });
    EXPECT_EQ(nullptr, app->m_pMainWnd);
    AfxMessageBox("after close");
    ASSERT_EQ(2u, boxes.shown().size());
    EXPECT_EQ(NULL, boxes.shown()[1].hOwner);
}
