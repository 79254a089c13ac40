// Start-up in this process: where the launcher finds itself.
#include "app/launcher_app.h"

#include <gtest/gtest.h>

struct ExeDirCase {
    const char* path;
    const char* dir;
};

TEST(ExeLocation, DirectoryIsThePathUpToTheLastBackslash) {
    const ExeDirCase cases[] = {
        {"E:\\launcher.exe", "E:"},
        {"C:\\Program Files\\Skellion\\launcher.exe", "C:\\Program Files\\Skellion"},
        {"\\\\server\\share\\launcher.exe", "\\\\server\\share"},
        {"C:\\a\\b\\", "C:\\a\\b"},
    };
    for (const ExeDirCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(std::string(c.dir), std::string(ExeDirFromPath(c.path)));
    }
}

TEST(ExeLocation, LocateExecutableFillsPathAndDirectory) {
    CLauncherApp* app = (CLauncherApp*)AfxGetApp();
    ASSERT_EQ(1, app->LocateExecutable());
    char expected[MAX_PATH];
    GetModuleFileNameA(NULL, expected, sizeof(expected));
    EXPECT_EQ(std::string(expected), std::string(app->m_strExePath));
    std::string dir(app->m_strExeDir);
    EXPECT_EQ(std::string(expected).substr(0, dir.size()), dir);
    EXPECT_EQ(std::string(expected).rfind('\\'), dir.size());
}
