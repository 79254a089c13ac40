// The uninstall flow in this process, against the real registry and real processes.
#include "app/launcher_app.h"
#include "dialog/launcher_dlg.h"
#include "message_boxes.h"
#include "modal_runner.h"
#include "paths.h"
#include "registry/records.h"
#include "registry_scratch.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {
const HKEY kHklm = HKEY_LOCAL_MACHINE;
const char kAlreadyUninstalled[] = "Skellion is already uninstalled.";
const char kAskRemove[] = "Do you want to remove all saved games and high score records?";
const char kComplete[] = "The uninstallation of Skellion is complete.";
const char kInsertCd[] = "Please make sure the Skellion CD is in your CD-ROM drive.";

class CountingDlg : public CLauncherDlg {
public:
    int oks = 0;
    void OnOK() override {
        ++oks;
        CLauncherDlg::OnOK();
    }
};

std::string LaunchError(const std::string& name) { return "Error: unable to launch " + name + ".\n\n" + kInsertCd; }

struct EntryCase {
    const char* name;
    DWORD type; // 0: no value
    std::string entry;
    std::deque<int> answers;
    std::vector<std::string> boxes; // texts shown, in order
    bool closes;
    bool recordsRemoved;
};

class Uninstall : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteTree(kHklm, SK_COMPANY_KEY);
        DeleteTree(kHklm, SK_UNINSTALL_KEY);
        ASSERT_EQ(1, ((CLauncherApp*)AfxGetApp())->LocateExecutable());
    }
    void TearDown() override { SetUp(); }

    // Opens the dialog (which registers the records), puts the entry in place, runs the flow.
    static void Run(const EntryCase& c, CountingDlg& dlg, ScriptedBoxes& boxes) {
        RunModal(dlg, [&](HWND) {
            DeleteValue(kHklm, SK_UNINSTALL_KEY, "UninstallString");
            if (c.type != 0)
                PutValue(kHklm, SK_UNINSTALL_KEY, "UninstallString", c.type, c.entry);
            dlg.OnUninstall();
        });
        std::vector<std::string> texts;
        for (const ShownBox& box : boxes.shown())
            texts.push_back(box.text);
        EXPECT_EQ(c.boxes, texts);
    }
};
} // namespace

// Which entries count as the launcher's own ("/u" at the end, byte for byte), which are started as a
// command line, and which count as nothing registered. No program here can be started.
TEST_F(Uninstall, EntryDecidesBetweenOwnRecordsAndAnotherUninstaller) {
    const std::string own = "\"C:\\Program Files\\Skellion\\launcher.exe\" /u";
    const EntryCase cases[] = {
        {"own entry, Yes", REG_SZ, own + '\0', {IDYES, IDOK}, {kAskRemove, kComplete}, true, true},
        {"own entry, No", REG_SZ, own + '\0', {IDNO}, {kAskRemove}, false, false},
        {"exactly /u", REG_SZ, std::string("/u\0", 3), {IDNO}, {kAskRemove}, false, false},
        {"another program's entry ending in /u", REG_SZ, std::string("C:\\Other\\remove.exe /u\0", 23), {IDYES, IDOK},
         {kAskRemove, kComplete}, true, true},
        {"capital U", REG_SZ, std::string("C:\\nowhere\\remove.exe /U\0", 25), {IDOK},
         {LaunchError("C:\\nowhere\\remove.exe /U")}, false, false},
        {"/u and a blank", REG_SZ, std::string("C:\\nowhere\\remove.exe /u \0", 26), {IDOK},
         {LaunchError("C:\\nowhere\\remove.exe /u ")}, false, false},
        {"one character", REG_SZ, std::string("u\0", 2), {IDOK}, {LaunchError("u")}, false, false},
        {"empty", REG_SZ, std::string("\0", 1), {IDOK}, {LaunchError("")}, false, false},
        {"expand string", REG_EXPAND_SZ, std::string("x /u\0", 5), {IDOK}, {kAlreadyUninstalled}, false, false},
        {"missing", 0, "", {IDOK}, {kAlreadyUninstalled}, false, false},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.name);
        CountingDlg dlg;
        ScriptedBoxes boxes(c.answers);
        Run(c, dlg, boxes);
        EXPECT_EQ(c.closes ? 1 : 0, dlg.oks);
        EXPECT_EQ(c.recordsRemoved, !KeyExists(kHklm, SK_PRODUCT_KEY));
        EXPECT_EQ(c.recordsRemoved, !KeyExists(kHklm, SK_UNINSTALL_KEY));
        for (const ShownBox& box : boxes.shown())
            EXPECT_EQ(box.text == kAskRemove ? (UINT)(MB_YESNO | MB_ICONEXCLAMATION) : (UINT)MB_ICONEXCLAMATION,
                      box.type);
        SetUp();
    }
}

// Another program's uninstaller is started with the whole entry as its command line, in the
// launcher's current directory, and the dialog closes at once.
TEST_F(Uninstall, AnotherUninstallerIsStartedWithTheWholeEntry) {
    std::string dir = MakeScratchDir("uninstall-other program");
    std::string fixture = dir + "\\uninst.exe";
    ASSERT_TRUE(CopyFileTo(BinFile("uninstaller.exe"), fixture));
    std::string entry = "\"" + fixture + "\" /U -silent";
    EntryCase c{"other", REG_SZ, entry + '\0', {}, {}, true, false};
    CountingDlg dlg;
    ScriptedBoxes boxes;
    Run(c, dlg, boxes);
    EXPECT_EQ(1, dlg.oks);
    std::string recorded;
    for (int i = 0; i < 100 && recorded.empty(); ++i) {
        recorded = ReadTextFile(dir + "\\uninstaller-ran.txt");
        Sleep(50);
    }
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof(cwd), cwd);
    EXPECT_EQ(entry + "\n" + cwd + "\n", recorded);
}
