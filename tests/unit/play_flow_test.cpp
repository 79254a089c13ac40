// Play in this process, on the real dialog: the restart notice, the launch error with nothing found,
// and the launcher's handles across many starts. The game is the game fixture, started for real.
#include "app/launcher_app.h"
#include "dialog/launcher_dlg.h"
#include "layout.h"
#include "message_boxes.h"
#include "modal_runner.h"
#include "paths.h"
#include "registry/records.h"
#include "registry_scratch.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
const HKEY kHklm = HKEY_LOCAL_MACHINE;
const std::string kInsertCd = "Please make sure the Skellion CD is in your CD-ROM drive.";

CLauncherApp* App() {
    return (CLauncherApp*)AfxGetApp();
}

int DefaultId(HWND hDialog) {
    LRESULT result = SendMessageA(hDialog, DM_GETDEFID, 0, 0);
    return HIWORD(result) == DC_HASDEFID ? LOWORD(result) : 0;
}

// A click as the user makes it; the button tells the dialog before this returns.
void Click(HWND hDialog, int id) {
    SendMessageA(GetDlgItem(hDialog, id), BM_CLICK, 0, 0);
}

// A command as the dialog receives it, whether or not the button could be clicked.
void Command(HWND hDialog, int id) {
    SendMessageA(hDialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(hDialog, id));
}

// Everything Play could change: the state words and the strings of the dialog.
std::vector<std::string> DialogState(const CLauncherDlg& d) {
    std::vector<std::string> state = {
        std::string(d.m_strExeDir),        std::string(d.m_strExePath),         std::string(d.m_strGameExeName),
        std::string(d.m_strEngineDirName), std::string(d.m_strEngineDir),       std::string(d.m_strGameExe),
        std::string(d.m_strWindowedArgs),  std::string(d.m_strDevelopmentArgs), std::string(d.m_strSetupExeName),
        std::string(d.m_strSetupDirName),  std::string(d.m_strSetupDir),        std::string(d.m_strSetupExe)};
    for (int word : {d.m_bRebootPending, d.m_bUninstallOnStart, d.m_bDirectXNeeded, (int)d.m_nTimerId,
                     (int)(INT_PTR)d.m_hSetupProcess, d.m_bDirectXSetupRunning, d.m_bSetupRunning,
                     d.m_bWaitingForInstaller, d.m_bDevelopmentPaths})
        state.push_back(std::to_string(word));
    return state;
}

class PlayFlow : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override {
        Clear();
        App()->m_strExeDir = "";
    }
    static void Clear() {
        for (const char* drive : {"R:\\", "D:\\", "S:\\"})
            EmptyFolder(drive);
        DeleteTree(kHklm, SK_COMPANY_KEY);
        DeleteTree(kHklm, SK_UNINSTALL_KEY);
    }
};
} // namespace

// While a restart is pending Play shows string 13 and starts nothing, even for a command that reaches
// the dialog although the button is disabled; once the restart is no longer pending, the same press
// starts the game.
TEST_F(PlayFlow, PendingRestartShowsTheNoticeAndStartsNothing) {
    ASSERT_TRUE(PlaceCopy(FixtureExe("vorrow.exe"), "R:\\Vorrow\\vorrow.exe"));
    App()->m_strExeDir = "R:";
    GameRecord record("pending restart");
    CLauncherDlg dlg;
    INT_PTR result = RunModal(dlg, [&](HWND hDialog) {
        ASSERT_EQ("R:\\Vorrow\\vorrow.exe", std::string(dlg.m_strGameExe));
        dlg.m_bRebootPending = 1;
        dlg.UpdateControls();
        std::vector<std::string> before = DialogState(dlg);
        {
            ScriptedBoxes boxes({IDOK});
            Command(hDialog, IDC_PLAY);
            ASSERT_EQ(1u, boxes.shown().size());
            EXPECT_EQ("Please note:\nIt will be necessary to reboot your system before running Skellion.",
                      boxes.shown()[0].text);
            EXPECT_EQ((UINT)(MB_OK | MB_ICONEXCLAMATION), boxes.shown()[0].type);
            EXPECT_EQ("Skellion Setup", boxes.shown()[0].caption);
        }
        EXPECT_TRUE(IsWindowVisible(hDialog));
        EXPECT_EQ(before, DialogState(dlg));
        Sleep(2000);
        EXPECT_EQ(0u, record.Starts().size()) << "nothing may have been started";

        dlg.m_bRebootPending = 0;
        Command(hDialog, IDC_PLAY);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1u, record.WaitForStarts(1).size());
}

// With nothing found Play stays usable; each press shows the launch error naming vorrow.exe, and the
// dialog stays open exactly as it was, in either video mode.
TEST_F(PlayFlow, NothingFoundShowsTheLaunchErrorAndChangesNothing) {
    std::string dir = MakeScratchDir("play nothing found");
    App()->m_strExeDir = dir.c_str();
    GameRecord record("nothing found");
    CLauncherDlg dlg;
    // As the application's start hook does: the launch error is then owned by the dialog.
    App()->m_pMainWnd = &dlg;
    RunModal(dlg, [&](HWND hDialog) {
        ASSERT_EQ("", std::string(dlg.m_strGameExe));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDialog, IDC_PLAY)));
        EXPECT_EQ(IDCANCEL, DefaultId(hDialog));
        for (int safeVideo : {0, 0, 1, 1}) {
            SCOPED_TRACE(safeVideo ? "Safe Video" : "Fast Video");
            if (safeVideo)
                Click(hDialog, IDC_SAFE_VIDEO);
            std::vector<std::string> before = DialogState(dlg);
            ScriptedBoxes boxes({IDOK});
            Click(hDialog, IDC_PLAY);
            ASSERT_EQ(1u, boxes.shown().size());
            EXPECT_EQ("Error: unable to launch vorrow.exe.\n\n" + kInsertCd, boxes.shown()[0].text);
            EXPECT_EQ((UINT)(MB_OK | MB_ICONEXCLAMATION), boxes.shown()[0].type);
            EXPECT_EQ(hDialog, boxes.shown()[0].hOwner);
            EXPECT_TRUE(IsWindowVisible(hDialog));
            EXPECT_EQ(before, DialogState(dlg));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDialog, IDC_PLAY)));
            EXPECT_EQ(IDCANCEL, DefaultId(hDialog));
            EXPECT_EQ(safeVideo ? BST_UNCHECKED : BST_CHECKED,
                      SendDlgItemMessageA(hDialog, IDC_FAST_VIDEO, BM_GETCHECK, 0, 0));
        }
    });
    EXPECT_EQ(0u, record.Starts().size());
}

namespace {
// One press of Play in a dialog of its own: a start that closes the dialog, or a failed start whose
// launch error is answered.
void PlayOnce(bool found) {
    CLauncherDlg dlg;
    ScriptedBoxes boxes(found ? std::deque<int>{} : std::deque<int>{IDOK});
    INT_PTR result = RunModal(
        dlg,
        [&](HWND hDialog) {
            if (!found) {
                dlg.m_strGameExe.Empty();
                dlg.m_strEngineDir.Empty();
            }
            Click(hDialog, IDC_PLAY);
        },
        true);
    EXPECT_EQ(found ? IDOK : -2, result);
    EXPECT_EQ(found ? 0u : 1u, boxes.shown().size());
}

// The handles this process holds, counted in the system's handle table: Wine answers 0 to
// GetProcessHandleCount, but it does fill the table that NtQuerySystemInformation gives.
struct HandleTableEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    void* object;
    ACCESS_MASK access;
};
const ULONG kSystemHandleInformation = 16;
const LONG kStatusInfoLengthMismatch = (LONG)0xC0000004;

DWORD HandleCount() {
    typedef LONG(WINAPI * QueryFn)(ULONG, void*, ULONG, ULONG*);
    QueryFn query = (QueryFn)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation");
    if (query == nullptr)
        return 0;
    std::vector<BYTE> table(1 << 16);
    LONG status;
    ULONG needed = 0;
    while ((status = query(kSystemHandleInformation, table.data(), (ULONG)table.size(), &needed)) ==
           kStatusInfoLengthMismatch)
        table.resize(table.size() * 2);
    if (status != 0)
        return 0;
    ULONG entries = *(const ULONG*)table.data();
    const HandleTableEntry* entry = (const HandleTableEntry*)(table.data() + sizeof(ULONG));
    DWORD count = 0;
    for (ULONG i = 0; i < entries; ++i)
        count += entry[i].ownerPid == GetCurrentProcessId() ? 1 : 0;
    return count;
}
} // namespace

// No handle of a started game or of its main thread stays behind, and failed starts leave none either.
TEST_F(PlayFlow, HandleCountDoesNotGrowAcrossStarts) {
    ASSERT_TRUE(PlaceCopy(FixtureExe("vorrow.exe"), "R:\\Vorrow\\vorrow.exe"));
    App()->m_strExeDir = "R:";
    // A first round pays for what the first dialog and the first start keep for good.
    PlayOnce(true);
    PlayOnce(false);
    DWORD before = HandleCount();
    const int kRounds = 6;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        PlayOnce(true);
        PlayOnce(false);
    }
    DWORD after = HandleCount();
    EXPECT_NE(0u, before);
    // Wine's own bookkeeping moves the count by a handle or so (33 to 34 here); one handle kept per
    // start, of either kind, would add at least kRounds.
    EXPECT_LT(after, before + kRounds) << "before " << before << ", after " << after;
}
