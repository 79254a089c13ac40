// The install flow in this process, on the real dialog with scripted answers, the real dsetup.dll
// stand-in and real installer processes: the DirectX setup call and its answers, the questions and
// their buttons, the restart, the installer's start and the timer's watch of it. These tests own the
// launcher's records (a CTest resource lock).
#include "app/launcher_app.h"
#include "dialog/install_flow.h"
#include "dialog/launcher_dlg.h"
#include "install_support.h"
#include "message_boxes.h"
#include "modal_runner.h"
#include "paths.h"
#include "registry/records.h"
#include "registry_scratch.h"
#include "resource.h"

#include "dialog_view.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const HKEY kHklm = HKEY_LOCAL_MACHINE;
// Install, Uninstall, Fast Video, Safe Video, Play, Quit.
const std::vector<bool> kBusy = {false, false, false, false, false, true};
const std::vector<bool> kDirectXNeeded = {true, true, false, false, false, true};
const std::vector<bool> kAll = {true, true, true, true, true, true};

// Every box of the program carries the exclamation icon, added by the framework.
const UINT kYesNo = MB_YESNO | MB_ICONEXCLAMATION;                          // 0x34
const UINT kYesNoDefaultNo = MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION; // 0x134
const UINT kOk = MB_OK | MB_ICONEXCLAMATION;                                // 0x30

const char kGame[] = "C:\\g\\vorrow.exe";

std::string Handshake() {
    return GetValue(kHklm, SK_PRODUCT_KEY, "IsRunningIS").bytes.c_str();
}

// Runs this thread's messages, as the dialog's modal loop does, until done() holds; ticks of the
// dialog's timer reach OnTimer meanwhile.
bool PumpUntil(HWND hDialog, const std::function<bool()>& done, DWORD timeoutMs = 30000) {
    DWORD start = GetTickCount();
    MSG msg;
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        if (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(hDialog, &msg))
                DispatchMessageA(&msg);
        } else {
            MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
        }
    }
    return true;
}

bool ShutdownPrivilegeEnabled() {
    HANDLE hToken;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken))
        return false;
    PRIVILEGE_SET privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Control = PRIVILEGE_SET_ALL_NECESSARY;
    BOOL enabled = FALSE;
    if (LookupPrivilegeValueA(NULL, SE_SHUTDOWN_NAME, &privileges.Privilege[0].Luid))
        PrivilegeCheck(hToken, &privileges, &enabled);
    CloseHandle(hToken);
    return enabled != FALSE;
}

void DisableShutdownPrivilege() {
    HANDLE hToken;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken))
        return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    if (LookupPrivilegeValueA(NULL, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(hToken, FALSE, &privileges, 0, NULL, NULL);
    CloseHandle(hToken);
}

DWORD PlatformId() {
    OSVERSIONINFOA osvi{};
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    return GetVersionExA(&osvi) ? osvi.dwPlatformId : (DWORD)-1;
}

// What the restart was asked, and whether the shutdown privilege was enabled at that moment.
struct RestartRecord {
    BOOL answer = TRUE;
    int calls = 0;
    UINT flags = 0;
    DWORD reason = 0;
    bool privilegeEnabled = false;
};
RestartRecord g_restart;

BOOL WINAPI RecordRestart(UINT flags, DWORD reason) {
    ++g_restart.calls;
    g_restart.flags = flags;
    g_restart.reason = reason;
    g_restart.privilegeEnabled = ShutdownPrivilegeEnabled();
    return g_restart.answer;
}

// While alive, the restart answers the given value instead of ending the prefix's programs, and the
// shutdown privilege starts disabled, so that only the launcher can have enabled it.
class FakeRestart {
public:
    explicit FakeRestart(BOOL answer) : previous_(g_pfnExitWindowsEx) {
        g_restart = RestartRecord();
        g_restart.answer = answer;
        g_pfnExitWindowsEx = RecordRestart;
        DisableShutdownPrivilege();
    }
    ~FakeRestart() { g_pfnExitWindowsEx = previous_; }

private:
    SK_EXIT_WINDOWS_EX previous_;
};

class InstallFlow : public ::testing::Test {
protected:
    void SetUp() override { RemoveLauncherRecords(); }
    void TearDown() override { RemoveLauncherRecords(); }

    // Opens the dialog as the application's main window (so boxes are owned by it) and runs body.
    static INT_PTR Open(CLauncherDlg& dlg, const std::function<void(HWND)>& body) {
        AfxGetApp()->m_pMainWnd = &dlg;
        return RunModal(dlg, body);
    }
};

// A box shown by string id: that string's text, its id as help context, the application title.
void ExpectBox(const ShownBox& box, UINT textId, UINT type, HWND hOwner) {
    EXPECT_EQ(Text(textId), box.text) << "string " << textId;
    EXPECT_EQ(textId, box.helpId) << "string " << textId;
    EXPECT_EQ(type, box.type) << "string " << textId;
    EXPECT_EQ(hOwner, box.hOwner) << "string " << textId;
    EXPECT_EQ("Skellion Setup", box.caption);
}

} // namespace

TEST(DirectXSetupMessage, EveryErrorAnswerHasItsText) {
    const struct {
        int answer;
        int id;
    } cases[] = {
        {-1, 2},   {-2, 3},   {-3, 4},   {-4, 5},       {-5, 6},       {-6, 8},   {-7, 7}, {-8, 9}, {-9, 10}, {-10, 11},
        {-11, 21}, {-13, 22}, {-14, 11}, {INT_MIN, 11}, {INT_MAX, 11}, {100, 11}, {2, 11}, {1, 11}, {0, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        EXPECT_EQ(c.id, DirectXSetupMessage(c.answer));
        EXPECT_EQ(0u, Text(c.id).rfind("DirectX Setup error: \n", 0)) << Text(c.id);
    }
}

struct AnswerCase {
    int answer;
    int neededBefore;
    int rebootBefore;
    UINT message; // 0: none; for answer 1, the restart question (declined here)
    int neededAfter;
    int rebootAfter;
    std::vector<bool> enabled;
    int defaultId;
};

// Yes to string 12, each answer of DirectX setup, No to string 17: the call's arguments and what the
// user could press during it, the message, the flags and the control policy afterwards. A game is
// found; the busy row keeps the default button that the state before the call had.
TEST_F(InstallFlow, DirectXSetupAnswersGiveTheirMessagesAndFlags) {
    const AnswerCase cases[] = {
        {0, 1, 0, 0, 0, 0, kAll, IDC_PLAY},
        {0, 0, 1, 0, 0, 0, kAll, IDC_PLAY},
        {1, 1, 0, IDS_ASK_REBOOT_NOW, 0, 1, kBusy, IDC_INSTALL},
        {-12, 1, 0, 0, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-12, 0, 0, 0, 0, 0, kAll, IDC_PLAY},
        {-1, 1, 0, IDS_DXSETUP_WRONG_WINDOWS, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-2, 1, 0, IDS_DXSETUP_SOURCE_NOT_FOUND, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-3, 0, 0, IDS_DXSETUP_BAD_SIZE, 0, 0, kAll, IDC_PLAY},
        {-4, 1, 0, IDS_DXSETUP_BAD_DATE, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-5, 0, 1, IDS_DXSETUP_BAD_VERSION, 0, 1, kBusy, IDC_PLAY},
        {-6, 1, 0, IDS_DXSETUP_OUT_OF_DISK, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-7, 1, 0, IDS_DXSETUP_NO_INF, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-8, 1, 0, IDS_DXSETUP_NO_WORKING_DIR, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-9, 1, 0, IDS_DXSETUP_INTERNAL, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-10, 1, 0, IDS_DXSETUP_UNKNOWN, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-11, 1, 0, IDS_DXSETUP_OS_UNSUPPORTED, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-13, 1, 0, IDS_DXSETUP_NT_COMPONENTS, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {-14, 1, 0, IDS_DXSETUP_UNKNOWN, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {2, 1, 0, IDS_DXSETUP_UNKNOWN, 1, 0, kDirectXNeeded, IDC_INSTALL},
        {100, 1, 0, IDS_DXSETUP_UNKNOWN, 1, 0, kDirectXNeeded, IDC_INSTALL},
    };
    FakeRestart restart(TRUE);
    CLauncherDlg dlg;
    Open(dlg, [&](HWND hDialog) {
        for (const AnswerCase& c : cases) {
            SCOPED_TRACE(testing::Message() << "answer " << c.answer << ", needed " << c.neededBefore
                                            << ", restart pending " << c.rebootBefore);
            dlg.m_strGameExe = kGame;
            dlg.m_bDirectXNeeded = 0;
            dlg.m_bRebootPending = 0;
            dlg.UpdateControls();
            dlg.m_bDirectXNeeded = c.neededBefore;
            dlg.m_bRebootPending = c.rebootBefore;
            dlg.UpdateControls();

            DirectXSetupStandIn dsetup("answers", c.answer);
            std::deque<int> answers = {IDYES};
            if (c.message != 0)
                answers.push_back(c.answer == 1 ? IDNO : IDOK);
            answers.push_back(IDNO);
            ScriptedBoxes boxes(answers);
            dlg.OnInstall();

            std::vector<DirectXSetupCall> calls = dsetup.Calls();
            ASSERT_EQ(1u, calls.size());
            EXPECT_EQ((unsigned long)(UINT_PTR)hDialog, calls[0].hwnd);
            EXPECT_EQ("(null)", calls[0].root);
            EXPECT_EQ(0xA3Fu, calls[0].flags);
            EXPECT_EQ(std::vector<int>{IDCANCEL}, calls[0].enabled) << "only Quit while DirectX setup runs";

            ASSERT_EQ(answers.size(), boxes.shown().size());
            ExpectBox(boxes.shown().front(), IDS_ASK_DIRECTX, kYesNo, hDialog);
            if (c.message != 0)
                ExpectBox(boxes.shown()[1], c.message, c.answer == 1 ? kYesNo : kOk, hDialog);
            ExpectBox(boxes.shown().back(), IDS_ASK_INSTALL, kYesNoDefaultNo, hDialog);
            EXPECT_EQ(0, g_restart.calls);

            EXPECT_EQ(0, dlg.m_bDirectXSetupRunning);
            EXPECT_EQ(c.neededAfter, dlg.m_bDirectXNeeded);
            EXPECT_EQ(c.rebootAfter, dlg.m_bRebootPending);
            EXPECT_EQ(c.enabled, EnabledStates(hDialog));
            EXPECT_EQ(c.defaultId, DefaultId(hDialog));
        }
    });
}

// No to both questions: nothing is called, no flag changes and the control policy is not applied
// again (the controls keep showing a state that the flags no longer describe).
TEST_F(InstallFlow, NoToBothQuestionsChangesNothing) {
    CLauncherDlg dlg;
    Open(dlg, [&](HWND hDialog) {
        ASSERT_EQ(kAll, EnabledStates(hDialog));
        dlg.m_bDirectXNeeded = 1;
        DirectXSetupStandIn dsetup("declined", 0);
        ScriptedBoxes boxes({IDNO, IDNO});
        dlg.OnInstall();

        ASSERT_EQ(2u, boxes.shown().size());
        ExpectBox(boxes.shown()[0], IDS_ASK_DIRECTX, kYesNo, hDialog);
        ExpectBox(boxes.shown()[1], IDS_ASK_INSTALL, kYesNoDefaultNo, hDialog);
        EXPECT_TRUE(dsetup.Calls().empty());
        EXPECT_EQ(1, dlg.m_bDirectXNeeded);
        EXPECT_EQ(0, dlg.m_bRebootPending);
        EXPECT_EQ(0, dlg.m_bSetupRunning);
        EXPECT_EQ(nullptr, dlg.m_hSetupProcess);
        EXPECT_EQ(kAll, EnabledStates(hDialog));
        EXPECT_EQ(IDCANCEL, DefaultId(hDialog));
    });
}

struct RestartCase {
    const char* name;
    int rebootAnswer; // to string 33
    BOOL restartAnswer;
    int restartCalls;
    bool closes;
};

// DirectX setup answers 1. An accepted restart closes the dialog through OnOK, yet only after the
// handler: string 17 is still asked and an installer is still started. A refused or declined restart
// leaves only Quit, also after an installation that then runs to the end of the handshake.
TEST_F(InstallFlow, RestartRequestedByDirectXSetup) {
    const RestartCase cases[] = {
        {"accepted", IDYES, TRUE, 1, true},
        {"refused by the system", IDYES, FALSE, 1, false},
        {"declined", IDNO, TRUE, 0, false},
    };
    for (const RestartCase& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveLauncherRecords();
        std::string dir = MakeScratchDir(std::string("restart-") + c.name);
        // A closing dialog watches nothing, so that installer does not wait for the handshake.
        std::string setup = PlaceInstaller(dir + "\\setup", {{"work", c.closes ? "none" : "engine"},
                                                             {"root", dir + "\\installed"},
                                                             {"handshake_delay_ms", "0"},
                                                             {"wait_limit_ms", "20000"},
                                                             {"log", dir + "\\setup.log"}});
        ASSERT_NE("", setup);
        FakeRestart restart(c.restartAnswer);
        DirectXSetupStandIn dsetup("restart", 1);
        ScriptedBoxes boxes({IDYES, c.rebootAnswer, IDYES});
        CLauncherDlg dlg;
        INT_PTR result = Open(dlg, [&](HWND hDialog) {
            dlg.m_strSetupExe = setup.c_str();
            dlg.OnInstall();
            EXPECT_TRUE(IsWindow(hDialog)) << "the dialog closes only after the handler";
            ASSERT_EQ(3u, boxes.shown().size());
            ExpectBox(boxes.shown()[1], IDS_ASK_REBOOT_NOW, kYesNo, hDialog);
            ExpectBox(boxes.shown()[2], IDS_ASK_INSTALL, kYesNoDefaultNo, hDialog);
            EXPECT_EQ(1, dlg.m_bSetupRunning) << "the installer is started after the restart was asked for";
            EXPECT_EQ(1, dlg.m_bRebootPending);
            EXPECT_EQ(0, dlg.m_bDirectXNeeded);
            EXPECT_EQ(kBusy, EnabledStates(hDialog));
            if (c.closes)
                return;
            ASSERT_TRUE(
                PumpUntil(hDialog, [&] { return dlg.m_bSetupRunning == 0 && dlg.m_bWaitingForInstaller == 0; }));
            EXPECT_NE("", std::string(dlg.m_strGameExe)) << "the installed game is found";
            EXPECT_EQ(kBusy, EnabledStates(hDialog)) << "only Quit for the rest of the run";
        });
        EXPECT_EQ(c.closes ? IDOK : -2, result);
        EXPECT_EQ(c.restartCalls, g_restart.calls);
        if (c.restartCalls != 0) {
            EXPECT_EQ((UINT)EWX_REBOOT, g_restart.flags);
            EXPECT_EQ(0u, g_restart.reason);
        }
    }
}

// ExitWindowsEx refuses a restart on Windows NT unless the shutdown privilege is enabled on the
// process's token; Windows 95 has no such thing. (Also run under Wine's win95 and nt40 below.)
TEST_F(InstallFlow, RestartEnablesTheShutdownPrivilegeOnlyOnNt) {
    FakeRestart restart(FALSE);
    ASSERT_FALSE(ShutdownPrivilegeEnabled());
    DirectXSetupStandIn dsetup("privilege", 1);
    ScriptedBoxes boxes({IDYES, IDYES, IDNO});
    CLauncherDlg dlg;
    Open(dlg, [&](HWND) { dlg.OnInstall(); });
    ASSERT_EQ(1, g_restart.calls);
    DWORD platform = PlatformId();
    std::printf("platform %lu\n", platform);
    EXPECT_EQ(platform == VER_PLATFORM_WIN32_NT, g_restart.privilegeEnabled);
}

TEST_F(InstallFlow, RestartPrivilegeUnderWindows95AndNt4) {
    const struct {
        const char* version;
        const char* platform;
    } cases[] = {{"win95", "platform 1"}, {"nt40", "platform 2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        std::string output;
        EXPECT_EQ(0, RunTestsInChild("InstallFlow.RestartEnablesTheShutdownPrivilegeOnlyOnNt",
                                     std::string("install_tests_") + c.version + ".exe", c.version, &output))
            << output;
        EXPECT_NE(std::string::npos, output.find(c.platform)) << output;
    }
}

// No installer found: Yes to string 17 shows the launch error naming setup.exe; nothing is started,
// the handle of an earlier start is kept, and the control policy is applied again.
TEST_F(InstallFlow, NoInstallerFoundShowsTheLaunchError) {
    CLauncherDlg dlg;
    Open(dlg, [&](HWND hDialog) {
        ASSERT_EQ("", std::string(dlg.m_strSetupExe));
        HANDLE hEarlier = NULL;
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &hEarlier, 0, FALSE,
                                    DUPLICATE_SAME_ACCESS));
        dlg.m_hSetupProcess = hEarlier;
        dlg.m_bDirectXNeeded = 1;
        ScriptedBoxes boxes({IDNO, IDYES, IDOK});
        dlg.OnInstall();

        ASSERT_EQ(3u, boxes.shown().size());
        const ShownBox& error = boxes.shown()[2];
        EXPECT_EQ("Error: unable to launch setup.exe.\n\nPlease make sure the Skellion CD is in your CD-ROM drive.",
                  error.text);
        EXPECT_EQ(kOk, error.type);
        EXPECT_EQ(hDialog, error.hOwner);
        EXPECT_EQ(0, dlg.m_bSetupRunning);
        EXPECT_EQ(hEarlier, dlg.m_hSetupProcess);
        EXPECT_EQ(kDirectXNeeded, EnabledStates(hDialog));
        EXPECT_EQ(IDC_INSTALL, DefaultId(hDialog));
    });
}

bool HandleIsOpen(HANDLE h) {
    DWORD flags;
    return GetHandleInformation(h, &flags) != 0;
}

// The installer's handle is given back when its exit has been seen, and when a new start replaces it.
TEST_F(InstallFlow, InstallerHandleIsClosedWhenReplacedAndWhenItsExitIsSeen) {
    std::string dir = MakeScratchDir("installer-handles");
    std::string setup = PlaceInstaller(dir, {{"work", "none"}, {"exit_delay_ms", "1500"}});
    ASSERT_NE("", setup);
    CLauncherDlg dlg;
    Open(dlg, [&](HWND) {
        dlg.m_strSetupExe = setup.c_str();
        ScriptedBoxes boxes({IDNO, IDYES, IDNO, IDYES});
        dlg.OnInstall();
        HANDLE hFirst = dlg.m_hSetupProcess;
        ASSERT_NE(nullptr, hFirst);
        dlg.OnInstall();
        HANDLE hSecond = dlg.m_hSetupProcess;
        ASSERT_NE(nullptr, hSecond);
        EXPECT_NE(hFirst, hSecond);
        EXPECT_FALSE(HandleIsOpen(hFirst));
        EXPECT_TRUE(HandleIsOpen(hSecond));

        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hSecond, 20000));
        dlg.OnTimer(dlg.m_nTimerId);
        EXPECT_EQ(1, dlg.m_bWaitingForInstaller);
        EXPECT_EQ(nullptr, dlg.m_hSetupProcess);
        EXPECT_FALSE(HandleIsOpen(hSecond));
    });
}

struct WatchCase {
    const char* name;
    const char* exitCode;
    bool exitSeen;
};

// The installer process exits: with status 0 or any error code the launcher writes "TRUE" and waits
// for the handshake; with status 259 (STILL_ACTIVE) it counts as running for ever. Either way only
// Quit can be pressed. When the handshake ends, the game installed under "Root" is found.
TEST_F(InstallFlow, InstallerExitStatusDecidesWhetherTheWaitBegins) {
    const WatchCase cases[] = {
        {"success", "0", true},
        {"error", "1", true},
        {"another error", "1603", true},
        {"still active", "259", false},
    };
    for (const WatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveLauncherRecords();
        std::string dir = MakeScratchDir(std::string("installer-exit-") + c.name);
        std::string setup = PlaceInstaller(dir + "\\setup", {{"work", "none"}, {"exit_code", c.exitCode}});
        ASSERT_NE("", setup);
        CLauncherDlg dlg;
        Open(dlg, [&](HWND hDialog) {
            dlg.m_strSetupExe = setup.c_str();
            ScriptedBoxes boxes({IDNO, IDYES});
            dlg.OnInstall();
            ASSERT_EQ(1, dlg.m_bSetupRunning);
            EXPECT_EQ(kBusy, EnabledStates(hDialog));
            ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dlg.m_hSetupProcess, 20000));

            for (int tick = 0; tick < 3; ++tick) {
                SCOPED_TRACE(tick);
                dlg.OnTimer(dlg.m_nTimerId);
                EXPECT_EQ(c.exitSeen ? 0 : 1, dlg.m_bSetupRunning);
                EXPECT_EQ(c.exitSeen ? 1 : 0, dlg.m_bWaitingForInstaller);
                EXPECT_EQ(c.exitSeen ? "TRUE" : "FALSE", Handshake());
                EXPECT_EQ(kBusy, EnabledStates(hDialog));
            }
            if (!c.exitSeen)
                return;

            WriteFileWithFolders(dir + "\\installed\\Vorrow\\vorrow.exe");
            PutString(kHklm, SK_PRODUCT_KEY, "Root", dir + "\\installed");
            PutString(kHklm, SK_PRODUCT_KEY, "IsRunningIS", "FALSE");
            dlg.OnTimer(dlg.m_nTimerId);
            EXPECT_EQ(0, dlg.m_bWaitingForInstaller);
            EXPECT_EQ(dir + "\\installed\\Vorrow\\vorrow.exe", std::string(dlg.m_strGameExe));
            EXPECT_EQ(kAll, EnabledStates(hDialog));
            EXPECT_EQ(IDC_PLAY, DefaultId(hDialog));
        });
    }
}

// A failed exit-status query counts as "still running": the next tick asks again.
TEST_F(InstallFlow, FailedExitStatusQueryKeepsTheInstallerRunning) {
    CLauncherDlg dlg;
    Open(dlg, [&](HWND hDialog) {
        dlg.m_bSetupRunning = 1;
        dlg.m_hSetupProcess = NULL;
        dlg.UpdateControls();
        dlg.OnTimer(dlg.m_nTimerId);
        dlg.OnTimer(dlg.m_nTimerId);
        EXPECT_EQ(1, dlg.m_bSetupRunning);
        EXPECT_EQ(0, dlg.m_bWaitingForInstaller);
        EXPECT_EQ("FALSE", Handshake());
        EXPECT_EQ(kBusy, EnabledStates(hDialog));
        dlg.m_bSetupRunning = 0;
    });
}

// When the product key cannot be opened, the write of "TRUE" does not take and the read after it
// fails, so the tick that sees the installer's exit also ends the wait and looks for the game again.
TEST_F(InstallFlow, WriteOfTrueThatDoesNotTakeEndsTheWaitOnTheSameTick) {
    std::string dir = MakeScratchDir("installer-locked key");
    std::string setup = PlaceInstaller(dir + "\\setup", {{"work", "none"}});
    ASSERT_NE("", setup);
    CLauncherDlg dlg;
    Open(dlg, [&](HWND hDialog) {
        ReadOnlyProductKey locked;
        ASSERT_TRUE(locked.locked());
        dlg.m_strSetupExe = setup.c_str();
        dlg.m_strExeDir = dir.c_str();
        ScriptedBoxes boxes({IDNO, IDYES});
        dlg.OnInstall();
        ASSERT_EQ(1, dlg.m_bSetupRunning);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dlg.m_hSetupProcess, 20000));
        // The game turns up on the CD while the installer runs (the CD candidate needs no "Root").
        WriteFileWithFolders(dir + "\\Vorrow\\vorrow.exe");

        dlg.OnTimer(dlg.m_nTimerId);
        EXPECT_EQ(0, dlg.m_bSetupRunning);
        EXPECT_EQ(0, dlg.m_bWaitingForInstaller);
        EXPECT_EQ("FALSE", Handshake()) << "the write of TRUE did not take";
        EXPECT_EQ(dir + "\\Vorrow\\vorrow.exe", std::string(dlg.m_strGameExe));
        EXPECT_EQ(kAll, EnabledStates(hDialog));
        EXPECT_EQ(IDC_PLAY, DefaultId(hDialog));
    });
}

// The DirectX check on a library that is already loaded: LoadLibraryA("dsound") then answers the
// loaded module, wherever it lies, as the ordinary library search does for a module of that name.
// Run in a child process that loads native DLLs named dsound (see DirectXCheck below).
TEST(DirectXCheckInChild, DISABLED_LibraryPathOf512CharactersOrMoreIsCutAndCountsAsPresent) {
    std::string shortDir = MakeScratchDir("dsound-short path");
    std::string shortPath = shortDir + "\\dsound.dll";
    ASSERT_TRUE(CopyFileTo(DirectSoundFixture("4.3.0.1096"), shortPath));
    // A path longer than MAX_PATH: the wide functions create and load it; the ANSI ones cannot.
    std::wstring longPath = std::wstring(shortDir.begin(), shortDir.end());
    for (int level = 0; level < 11; ++level) {
        longPath += L"\\" + std::wstring(45, L'a' + level);
        CreateDirectoryW((L"\\\\?\\" + longPath).c_str(), NULL);
    }
    longPath += L"\\dsound.dll";
    ASSERT_GE(longPath.size(), 512u);
    ASSERT_TRUE(
        CopyFileW(std::wstring(shortPath.begin(), shortPath.end()).c_str(), (L"\\\\?\\" + longPath).c_str(), FALSE));

    CLauncherDlg dlg;
    HMODULE hShort = LoadLibraryA(shortPath.c_str());
    ASSERT_NE(nullptr, hShort);
    ASSERT_EQ(nullptr, GetProcAddress(hShort, "DirectSoundCreate")) << "Wine's own DirectSound, not the stand-in";
    dlg.m_bDirectXNeeded = 0;
    dlg.CheckDirectSound();
    EXPECT_EQ(1, dlg.m_bDirectXNeeded) << "DirectSound 4.3.0.1096 at a short path is too old";
    FreeLibrary(hShort);
    ASSERT_EQ(nullptr, GetModuleHandleA("dsound"));

    HMODULE hLong = LoadLibraryW(longPath.c_str());
    ASSERT_NE(nullptr, hLong);
    ASSERT_EQ(nullptr, GetProcAddress(hLong, "DirectSoundCreate")) << "Wine's own DirectSound, not the stand-in";
    wchar_t loadedPath[1024];
    ASSERT_EQ(longPath.size(), GetModuleFileNameW(hLong, loadedPath, 1024));
    dlg.m_bDirectXNeeded = 0;
    dlg.CheckDirectSound();
    EXPECT_EQ(0, dlg.m_bDirectXNeeded) << "the version query on the cut path fails";
    FreeLibrary(hLong);
}

TEST(DirectXCheck, LibraryPathOf512CharactersOrMoreIsCutAndCountsAsPresent) {
    NativeDirectSound native("install_tests_dsound.exe");
    std::string output;
    EXPECT_EQ(0, RunTestsInChild("DirectXCheckInChild.*LibraryPathOf512*", "install_tests_dsound.exe", "", &output))
        << output;
}

namespace {
// What the dialog looked like when a box came up.
struct BoxMoment {
    std::string text;
    UINT_PTR timerId;
    bool dialogVisible;
};
std::vector<BoxMoment> g_moments;
std::deque<int> g_momentAnswers;
CLauncherDlg* g_watchedDialog = nullptr;

int RecordMoment(HWND, const char* text, const char*, UINT, UINT) {
    g_moments.push_back({text, g_watchedDialog->m_nTimerId, IsWindowVisible(g_watchedDialog->m_hWnd) != 0});
    int answer = g_momentAnswers.empty() ? IDNO : g_momentAnswers.front();
    if (!g_momentAnswers.empty())
        g_momentAnswers.pop_front();
    return answer;
}
} // namespace

// The automatic offer with a DirectSound that is too old (already loaded, so the check finds it): the
// questions come inside the opening, before the dialog is shown and before its timer exists; DirectX
// setup then runs with only Quit enabled. Run in a child process that loads native DLLs named dsound.
TEST(InstallFlowInChild, DISABLED_OfferAtOpeningComesBeforeTheWindowAndTheTimer) {
    std::string dir = MakeScratchDir("dsound-offer");
    ASSERT_TRUE(CopyFileTo(DirectSoundFixture("4.4.0.67"), dir + "\\dsound.dll"));
    HMODULE hOld = LoadLibraryA((dir + "\\dsound.dll").c_str());
    ASSERT_NE(nullptr, hOld);
    ASSERT_EQ(nullptr, GetProcAddress(hOld, "DirectSoundCreate")) << "Wine's own DirectSound, not the stand-in";
    RemoveLauncherRecords();

    DirectXSetupStandIn dsetup("offer", -3);
    CLauncherDlg dlg;
    g_watchedDialog = &dlg;
    g_moments.clear();
    g_momentAnswers = {IDYES, IDOK, IDNO};
    AFX_MSGBOX_HOOK previous = AfxSetMessageBoxHook(RecordMoment);
    AfxGetApp()->m_pMainWnd = &dlg;
    RunModal(dlg, [&](HWND hDialog) {
        EXPECT_NE(0u, dlg.m_nTimerId);
        EXPECT_EQ(1, dlg.m_bDirectXNeeded);
        EXPECT_EQ(kDirectXNeeded, EnabledStates(hDialog));
        EXPECT_EQ(IDC_INSTALL, DefaultId(hDialog));
    });
    AfxSetMessageBoxHook(previous);
    FreeLibrary(hOld);

    const char* expected[] = {"Do you want to make sure", "DirectX Setup error: \nA file's size",
                              "Do you want to install"};
    ASSERT_EQ(3u, g_moments.size());
    for (size_t i = 0; i < g_moments.size(); ++i) {
        SCOPED_TRACE(g_moments[i].text);
        EXPECT_EQ(0u, g_moments[i].text.rfind(expected[i], 0));
        EXPECT_EQ(0u, g_moments[i].timerId);
        EXPECT_FALSE(g_moments[i].dialogVisible);
    }
    std::vector<DirectXSetupCall> calls = dsetup.Calls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_FALSE(calls[0].visible);
    EXPECT_EQ(std::vector<int>{IDCANCEL}, calls[0].enabled);
    RemoveLauncherRecords();
}

TEST(InstallFlowAtOpening, OfferComesBeforeTheWindowAndTheTimer) {
    NativeDirectSound native("install_tests_offer.exe");
    std::string output;
    EXPECT_EQ(0, RunTestsInChild("InstallFlowInChild.*", "install_tests_offer.exe", "", &output)) << output;
}
