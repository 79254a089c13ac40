// The real launcher.exe started as a user would start it, under Wine's per-program Windows versions.
#include "message_boxes.h"
#include "paths.h"
#include "process_driver.h"

#include <gtest/gtest.h>

struct VersionCase {
    const char* version;
    bool refused;
};

// Win32s and NT 3.51 get the refusal box, before any window and with no owner; the rest open the dialog.
TEST(Startup, RefusesUnsupportedWindowsAndOpensOnTheRest) {
    const VersionCase cases[] = {
        {"win31", true}, {"nt351", true}, {"win95", false}, {"nt40", false}, {"winxp", false}, {"win10", false},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.version);
        std::string dir = MakeScratchDir(std::string("startup-") + c.version);
        std::string exeName = std::string("launcher_") + c.version + ".exe";
        std::string exe = CopyLauncherTo(dir, exeName);
        ASSERT_NE("", exe);
        SetWineVersionFor(exeName, c.version);

        ProcessDriver launcher;
        ASSERT_TRUE(launcher.Start(exe));
        if (c.refused) {
            HWND hBox = launcher.WaitForMessageBox();
            ASSERT_NE(nullptr, hBox);
            BoxView box = ReadBox(hBox);
            EXPECT_EQ("Skellion Setup", box.caption);
            EXPECT_EQ("Skellion requires Windows 95 or Windows NT 4.0 or higher.", box.text);
            EXPECT_EQ(NULL, box.owner);
            EXPECT_TRUE(box.hasIcon);
            EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
            EXPECT_EQ(1u, launcher.Windows().size()) << "only the box is on the screen";
            PressButton(hBox, IDOK);
        } else {
            HWND hDialog = launcher.WaitForLauncherDialog();
            ASSERT_NE(nullptr, hDialog);
            EXPECT_EQ("Skellion", WindowText(hDialog));
            PressButton(hDialog, IDCANCEL);
        }
        EXPECT_TRUE(launcher.WaitForExit());
        SetWineVersionFor(exeName, "");
    }
}
