// "/u" on the real launcher.exe: the deferred uninstall at the first tick.
#include "message_boxes.h"
#include "paths.h"
#include "process_driver.h"
#include "registry/records.h"
#include "registry_scratch.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {
const HKEY kHklm = HKEY_LOCAL_MACHINE;
const char kAskRemove[] = "Do you want to remove all saved games and high score records?";

class UninstallE2e : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteTree(kHklm, SK_COMPANY_KEY);
        DeleteTree(kHklm, SK_UNINSTALL_KEY);
    }
    void TearDown() override { SetUp(); }

    std::string Launcher(const char* folder) {
        std::string exe = CopyLauncherTo(MakeScratchDir(folder));
        EXPECT_NE("", exe);
        return exe;
    }

    // Starts the launcher with "/u" and waits for its dialog and for the question its first tick asks.
    static void StartWithSlashU(ProcessDriver& launcher, const std::string& exe, HWND& hDialog, HWND& hAsk) {
        ASSERT_TRUE(launcher.Start(exe, "/u"));
        hDialog = launcher.WaitForLauncherDialog();
        ASSERT_NE(nullptr, hDialog);
        hAsk = launcher.WaitForMessageBox();
        ASSERT_NE(nullptr, hAsk);
    }
};

} // namespace

// A fresh machine: the opening registers the launcher's own entry, so the first tick asks; Yes
// removes every record and ends the launcher; the next opening registers everything again.
TEST_F(UninstallE2e, SlashUOnAFreshMachineRemovesTheOwnRecordsOnYes) {
    std::string exe = Launcher("uninstall-fresh");
    ProcessDriver launcher;
    HWND hDialog = NULL;
    HWND hAsk = NULL;
    ASSERT_NO_FATAL_FAILURE(StartWithSlashU(launcher, exe, hDialog, hAsk));
    BoxView ask = ReadBox(hAsk);
    EXPECT_EQ(kAskRemove, ask.text);
    EXPECT_EQ(hDialog, ask.owner);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), ask.buttons);
    EXPECT_EQ(IDYES, ask.defaultId);
    EXPECT_TRUE(KeyExists(kHklm, SK_PRODUCT_KEY));
    EXPECT_EQ("\"" + exe + "\" /u", std::string(GetValue(kHklm, SK_UNINSTALL_KEY, "UninstallString").bytes.c_str()));

    // Further ticks while the question is open do not ask again.
    Sleep(2000);
    EXPECT_EQ(1u, launcher.BoxesShown());

    PressButton(hAsk, IDYES);
    HWND hDone = launcher.WaitForWindow([hAsk](HWND h) { return h != hAsk && IsMessageBox(h); });
    ASSERT_NE(nullptr, hDone);
    EXPECT_EQ("The uninstallation of Skellion is complete.", ReadBox(hDone).text);
    EXPECT_FALSE(KeyExists(kHklm, SK_PRODUCT_KEY));
    EXPECT_FALSE(KeyExists(kHklm, SK_UNINSTALL_KEY));
    EXPECT_FALSE(KeyExists(kHklm, SK_COMPANY_KEY));
    PressButton(hDone, IDOK);
    EXPECT_TRUE(launcher.WaitForExit());

    ProcessDriver again;
    ASSERT_TRUE(again.Start(exe));
    HWND hAgain = again.WaitForLauncherDialog();
    ASSERT_NE(nullptr, hAgain);
    EXPECT_EQ("\"" + exe + "\" /u", std::string(GetValue(kHklm, SK_UNINSTALL_KEY, "UninstallString").bytes.c_str()));
    EXPECT_TRUE(KeyExists(kHklm, SK_PRODUCT_KEY));
    PressButton(hAgain, IDCANCEL);
    EXPECT_TRUE(again.WaitForExit());
}

TEST_F(UninstallE2e, NoLeavesRecordsAndDialogAsTheyWere) {
    std::string exe = Launcher("uninstall-no");
    ProcessDriver launcher;
    HWND hDialog = NULL;
    HWND hAsk = NULL;
    ASSERT_NO_FATAL_FAILURE(StartWithSlashU(launcher, exe, hDialog, hAsk));
    PressButton(hAsk, IDNO);
    Sleep(1500); // several ticks: the flow must not come back
    EXPECT_EQ(0u, launcher.BoxesShown());
    EXPECT_TRUE(launcher.Running());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDialog, IDC_UNINSTALL)));
    EXPECT_TRUE(KeyExists(kHklm, SK_PRODUCT_KEY));
    EXPECT_EQ("\"" + exe + "\" /u", std::string(GetValue(kHklm, SK_UNINSTALL_KEY, "UninstallString").bytes.c_str()));
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
}

// Another program's uninstaller registered: "/u" starts exactly its command line and the launcher ends.
TEST_F(UninstallE2e, SlashUStartsAnotherProgramsUninstallerAndEnds) {
    std::string exe = Launcher("uninstall-other");
    std::string dir = exe.substr(0, exe.rfind('\\'));
    std::string fixture = dir + "\\other uninstaller.exe";
    ASSERT_TRUE(CopyFileTo(BinFile("uninstaller.exe"), fixture));
    std::string entry = "\"" + fixture + "\" -remove all";
    PutString(kHklm, SK_UNINSTALL_KEY, "UninstallString", entry);

    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(exe, "/u", dir));
    EXPECT_TRUE(launcher.WaitForExit());
    std::string recorded;
    for (int i = 0; i < 100 && recorded.empty(); ++i) {
        recorded = ReadTextFile(dir + "\\uninstaller-ran.txt");
        Sleep(50);
    }
    EXPECT_EQ(entry + "\n" + dir + "\n", recorded);
    EXPECT_TRUE(KeyExists(kHklm, SK_PRODUCT_KEY));
}
