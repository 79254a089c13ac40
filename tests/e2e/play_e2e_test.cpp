// Play through the real launcher.exe: laid out like the CD, under an installation root or beside a
// development build, with the game fixture as vorrow.exe recording how it was started.
#include "dialog_view.h"
#include "layout.h"
#include "message_boxes.h"
#include "paths.h"
#include "process_driver.h"
#include "registry/records.h"
#include "registry_scratch.h"
#include "resource.h"
#include "wait.h"

#include <gtest/gtest.h>

namespace {
const HKEY kHklm = HKEY_LOCAL_MACHINE;
const char* const kWindowedArgs = " -DirectDraw 0 -FullScreen 0";
const char* const kDevelopmentArgs = " -INIFileUsageMode 1 -ArchiveMode 0";

bool SameText(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

class PlayE2e : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear() {
        for (const char* drive : {"R:\\", "D:\\", "S:\\"})
            EmptyFolder(drive);
        DeleteTree(kHklm, SK_COMPANY_KEY);
        DeleteTree(kHklm, SK_UNINSTALL_KEY);
    }
};

LRESULT Check(HWND hDialog, int id) {
    return SendDlgItemMessageA(hDialog, id, BM_GETCHECK, 0, 0);
}

// Where the game is found, seen from the launcher.
enum class Where { CdDrive, CdFolderWithBlanks, InstalledWithBlanks, Development };

struct PlayCase {
    const char* name;
    Where where;
    bool safeVideo;
};

// Lays out one situation under tmp; answers the launcher to start and the game it must start.
void LayOut(Where where, const std::string& tmp, std::string& launcher, std::string& engineDir) {
    const std::string game = FixtureExe("vorrow.exe");
    switch (where) {
    case Where::CdDrive:
        launcher = CopyLauncherTo("R:");
        engineDir = "R:\\Vorrow";
        break;
    case Where::CdFolderWithBlanks:
        MakeFolders(tmp + "\\my cd");
        launcher = CopyLauncherTo(tmp + "\\my cd");
        engineDir = tmp + "\\my cd\\Vorrow";
        // What the unquoted command line would start if the program were taken from it.
        ASSERT_TRUE(PlaceCopy(game, tmp + "\\my.exe"));
        break;
    case Where::InstalledWithBlanks:
        MakeFolders(tmp + "\\cd");
        launcher = CopyLauncherTo(tmp + "\\cd");
        PutString(kHklm, SK_PRODUCT_KEY, "Root", tmp + "\\Games Arcade");
        engineDir = tmp + "\\Games Arcade\\Vorrow";
        ASSERT_TRUE(PlaceCopy(game, tmp + "\\Games.exe"));
        break;
    case Where::Development:
        MakeFolders(tmp + "\\cd");
        launcher = CopyLauncherTo(tmp + "\\cd");
        engineDir = "d:\\vorrow\\engine\\src\\win32_rl";
        break;
    }
    ASSERT_NE("", launcher);
    ASSERT_TRUE(PlaceCopy(game, engineDir + "\\vorrow.exe"));
}
} // namespace

// Each video mode with a game found on the CD, under "Root" and on the development drive: the game
// gets exactly the composed command line and its engine directory, and the launcher has ended.
TEST_F(PlayE2e, StartsTheGameWithTheComposedCommandLineAndEnds) {
    const PlayCase cases[] = {
        {"CD in drive R:, Fast Video", Where::CdDrive, false},
        {"CD folder with blanks, Safe Video", Where::CdFolderWithBlanks, true},
        {"installed, Fast Video", Where::InstalledWithBlanks, false},
        {"installed, Safe Video", Where::InstalledWithBlanks, true},
        {"development build, Fast Video", Where::Development, false},
        {"development build, Safe Video", Where::Development, true},
    };
    GameRecord record("play e2e");
    for (const PlayCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        record.Clear();
        std::string tmp = MakeScratchDir("play e2e");
        std::string launcherExe, engineDir;
        LayOut(c.where, tmp, launcherExe, engineDir);
        if (HasFatalFailure())
            return;

        ProcessDriver launcher;
        ASSERT_TRUE(launcher.Start(launcherExe));
        HWND hDialog = launcher.WaitForLauncherDialog();
        ASSERT_NE(nullptr, hDialog);
        EXPECT_EQ(BST_CHECKED, Check(hDialog, IDC_FAST_VIDEO));
        if (c.safeVideo) {
            SendMessageA(GetDlgItem(hDialog, IDC_SAFE_VIDEO), BM_CLICK, 0, 0);
            EXPECT_EQ(BST_UNCHECKED, Check(hDialog, IDC_FAST_VIDEO));
            EXPECT_EQ(BST_CHECKED, Check(hDialog, IDC_SAFE_VIDEO));
        }
        PressButton(hDialog, IDC_PLAY);
        if (!launcher.WaitForExit()) {
            ADD_FAILURE() << "the launcher has not ended";
            for (HWND hWnd : launcher.Windows())
                ADD_FAILURE() << "it shows \"" << WindowText(hWnd) << "\": \"" << ReadBox(hWnd).text << "\"";
        }

        std::string expected = engineDir + "\\vorrow.exe cmdline";
        if (c.safeVideo)
            expected += kWindowedArgs;
        if (c.where == Where::Development)
            expected += kDevelopmentArgs;
        std::vector<GameStart> starts = record.WaitForStarts(1);
        ASSERT_EQ(1u, starts.size());
        EXPECT_PRED2(SameText, engineDir + "\\vorrow.exe", starts[0].module);
        EXPECT_EQ(expected, starts[0].commandLine);
        EXPECT_EQ(engineDir, starts[0].currentDir);
    }
}

namespace {
bool BoxGone(const ProcessDriver& launcher) {
    return WaitUntil([&] { return launcher.BoxesShown() == 0; }, 20000);
}
} // namespace

// With nothing found, Play stays usable and each press shows the launch error on the real box; the
// launcher stays open as it was, and Quit still ends it.
TEST_F(PlayE2e, NothingFoundShowsTheLaunchErrorEachTime) {
    std::string dir = MakeScratchDir("play e2e nothing found");
    std::string exe = CopyLauncherTo(dir);
    ASSERT_NE("", exe);
    GameRecord record("play e2e nothing found");

    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(exe));
    HWND hDialog = launcher.WaitForLauncherDialog();
    ASSERT_NE(nullptr, hDialog);
    for (bool safeVideo : {false, false, true}) {
        SCOPED_TRACE(safeVideo ? "Safe Video" : "Fast Video");
        if (safeVideo)
            SendMessageA(GetDlgItem(hDialog, IDC_SAFE_VIDEO), BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDialog, IDC_PLAY)));
        EXPECT_EQ(IDCANCEL, DefaultId(hDialog));
        PressButton(hDialog, IDC_PLAY);
        HWND hBox = launcher.WaitForMessageBox();
        ASSERT_NE(nullptr, hBox);
        BoxView box = ReadBox(hBox);
        EXPECT_EQ("Skellion Setup", box.caption);
        EXPECT_EQ("Error: unable to launch vorrow.exe.\n\nPlease make sure the Skellion CD is in your CD-ROM drive.",
                  box.text);
        EXPECT_EQ(hDialog, box.owner);
        EXPECT_TRUE(box.hasIcon);
        EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
        PressButton(hBox, IDOK);
        ASSERT_TRUE(BoxGone(launcher));

        EXPECT_TRUE(launcher.Running());
        EXPECT_TRUE(IsWindowVisible(hDialog));
        EXPECT_EQ(safeVideo ? BST_UNCHECKED : BST_CHECKED, Check(hDialog, IDC_FAST_VIDEO));
    }
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
    EXPECT_EQ(0u, record.Starts().size());
}
