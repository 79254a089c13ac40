// What the real launcher.exe leaves in the registry, read back after the process has ended.
#include "message_boxes.h"
#include "paths.h"
#include "process_driver.h"
#include "registry/records.h"
#include "registry_scratch.h"

#include <gtest/gtest.h>

namespace {
const HKEY kHklm = HKEY_LOCAL_MACHINE;

std::string Text(const char* key, const char* name) { return GetValue(kHklm, key, name).bytes.c_str(); }

// Opens the launcher at exe, waits for its dialog, runs check while it is open, then quits it.
void OpenAndQuit(const std::string& exe, const std::function<void()>& check = [] {}) {
    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(exe));
    HWND hDialog = launcher.WaitForLauncherDialog();
    ASSERT_NE(nullptr, hDialog);
    check();
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
}

class RecordsE2e : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteTree(kHklm, SK_COMPANY_KEY);
        DeleteTree(kHklm, SK_UNINSTALL_KEY);
    }
    void TearDown() override { SetUp(); }
};
} // namespace

TEST_F(RecordsE2e, FirstOpeningLeavesExactlyTheFirstRunRecords) {
    std::string dir = MakeScratchDir("records-first run");
    std::string exe = CopyLauncherTo(dir);
    ASSERT_NE("", exe);
    OpenAndQuit(exe);

    EXPECT_EQ((std::vector<std::string>{"CD", "IsRunningIS"}), ValueNames(kHklm, SK_PRODUCT_KEY));
    EXPECT_EQ(dir, Text(SK_PRODUCT_KEY, "CD"));
    EXPECT_EQ("FALSE", Text(SK_PRODUCT_KEY, "IsRunningIS"));
    EXPECT_EQ((std::vector<std::string>{"DisplayName", "UninstallString"}), ValueNames(kHklm, SK_UNINSTALL_KEY));
    EXPECT_EQ("Skellion", Text(SK_UNINSTALL_KEY, "DisplayName"));
    EXPECT_EQ("\"" + exe + "\" /u", Text(SK_UNINSTALL_KEY, "UninstallString"));
    for (const char* name : {"CD", "IsRunningIS"})
        EXPECT_EQ((DWORD)REG_SZ, GetValue(kHklm, SK_PRODUCT_KEY, name).type);
    for (const char* name : {"DisplayName", "UninstallString"})
        EXPECT_EQ((DWORD)REG_SZ, GetValue(kHklm, SK_UNINSTALL_KEY, name).type);
}

// Run from the root of a drive, the launcher's directory is the drive letter and colon alone.
TEST_F(RecordsE2e, DriveRootLauncherRecordsTheDriveAlone) {
    ASSERT_EQ("Q:\\launcher.exe", CopyLauncherTo("Q:"));
    OpenAndQuit("Q:\\launcher.exe");
    EXPECT_EQ("Q:", Text(SK_PRODUCT_KEY, "CD"));
    EXPECT_EQ("\"Q:\\launcher.exe\" /u", Text(SK_UNINSTALL_KEY, "UninstallString"));
}

// A launcher opened while another waits for the installer ends that wait: its opening writes FALSE.
TEST_F(RecordsE2e, OpeningResetsTheHandshakeAndKeepsAnotherUninstaller) {
    std::string dir = MakeScratchDir("records-second launcher");
    std::string exe = CopyLauncherTo(dir);
    ASSERT_NE("", exe);
    PutString(kHklm, SK_PRODUCT_KEY, "IsRunningIS", "TRUE");
    PutString(kHklm, SK_PRODUCT_KEY, "CD", "NA");
    PutString(kHklm, SK_UNINSTALL_KEY, "UninstallString", "C:\\Other\\uninstall.exe");
    OpenAndQuit(exe, [] { EXPECT_EQ("FALSE", Text(SK_PRODUCT_KEY, "IsRunningIS")); });
    EXPECT_EQ("NA", Text(SK_PRODUCT_KEY, "CD"));
    EXPECT_EQ("C:\\Other\\uninstall.exe", Text(SK_UNINSTALL_KEY, "UninstallString"));
    EXPECT_FALSE(GetValue(kHklm, SK_UNINSTALL_KEY, "DisplayName").exists);
}
