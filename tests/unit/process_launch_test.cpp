// Starting programs with real processes under Wine (the game fixture records how it was started),
// and the one launch error that every failed start shows.
#include "dialog/launcher_dlg.h"
#include "discovery/discovery.h"
#include "layout.h"
#include "message_boxes.h"
#include "paths.h"

#include <gtest/gtest.h>

namespace {
const HANDLE kSentinel = (HANDLE)(INT_PTR)0x5EED;

bool SameText(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

const char* Arg(const char* text, const std::string& tmp, std::string& storage) {
    if (text == nullptr)
        return nullptr;
    storage = ExpandTmp(text, tmp);
    return storage.c_str();
}

struct StartCase {
    const char* name;
    const char* application;     // null: absent
    const char* commandLine;     // null: absent
    const char* currentDir;      // null: absent
    const char* module;          // the program that must have started
    const char* seenCommandLine; // what it must see, or null where the platform makes it up
    const char* seenCurrentDir;  // "{ours}": the test's own current directory
};
} // namespace

// Each way the three flows start a program: the game fixture records what it was given.
TEST(LaunchProcess, StartsTheProgramWithExactlyWhatItIsGiven) {
    std::string tmp = MakeScratchDir("launch process");
    ASSERT_TRUE(PlaceCopy(FixtureExe("vorrow.exe"), tmp + "\\Vorrow\\vorrow.exe"));
    ASSERT_TRUE(PlaceCopy(FixtureExe("vorrow.exe"), tmp + "\\my games\\Vorrow\\vorrow.exe"));
    // What an unquoted "{tmp}\my games\..." would start if the application name were not passed apart.
    ASSERT_TRUE(PlaceCopy(FixtureExe("vorrow.exe"), tmp + "\\my.exe"));
    ASSERT_TRUE(PlaceCopy(FixtureExe("vorrow.exe"), tmp + "\\uninst\\uninst.exe"));
    MakeFolders(tmp + "\\ours");

    const StartCase cases[] = {
        {"the game: application name, command line and current directory", "{tmp}\\Vorrow\\vorrow.exe",
         "{tmp}\\Vorrow\\vorrow.exe cmdline -DirectDraw 0 -FullScreen 0", "{tmp}\\Vorrow", "{tmp}\\Vorrow\\vorrow.exe",
         "{tmp}\\Vorrow\\vorrow.exe cmdline -DirectDraw 0 -FullScreen 0", "{tmp}\\Vorrow"},
        {"a path with blanks, unquoted", "{tmp}\\my games\\Vorrow\\vorrow.exe",
         "{tmp}\\my games\\Vorrow\\vorrow.exe cmdline", "{tmp}\\my games\\Vorrow",
         "{tmp}\\my games\\Vorrow\\vorrow.exe", "{tmp}\\my games\\Vorrow\\vorrow.exe cmdline",
         "{tmp}\\my games\\Vorrow"},
        {"an uninstaller: no application name, the whole text as the command line", nullptr,
         "\"{tmp}\\uninst\\uninst.exe\" /x -y", nullptr, "{tmp}\\uninst\\uninst.exe",
         "\"{tmp}\\uninst\\uninst.exe\" /x -y", "{ours}"},
        {"the installer: application name alone", "{tmp}\\Vorrow\\vorrow.exe", nullptr, nullptr,
         "{tmp}\\Vorrow\\vorrow.exe", nullptr, "{ours}"},
    };

    char saved[MAX_PATH];
    GetCurrentDirectoryA(sizeof(saved), saved);
    ASSERT_TRUE(SetCurrentDirectoryA((tmp + "\\ours").c_str()));
    char ours[MAX_PATH];
    GetCurrentDirectoryA(sizeof(ours), ours);
    GameRecord record("launch process");
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        record.Clear();
        std::string application, commandLine, currentDir;
        HANDLE hProcess = kSentinel;
        ASSERT_EQ(1, LaunchProcess(Arg(c.application, tmp, application), Arg(c.commandLine, tmp, commandLine),
                                   Arg(c.currentDir, tmp, currentDir), &hProcess));
        ASSERT_NE(kSentinel, hProcess);
        // The handle is the new process's, and ours to close.
        EXPECT_EQ((DWORD)WAIT_OBJECT_0, WaitForSingleObject(hProcess, 20000));
        EXPECT_TRUE(CloseHandle(hProcess));

        std::vector<GameStart> starts = record.WaitForStarts(1);
        ASSERT_EQ(1u, starts.size());
        EXPECT_PRED2(SameText, ExpandTmp(c.module, tmp), starts[0].module);
        if (c.seenCommandLine != nullptr)
            EXPECT_EQ(ExpandTmp(c.seenCommandLine, tmp), starts[0].commandLine);
        EXPECT_EQ(std::string(c.seenCurrentDir) == "{ours}" ? std::string(ours) : ExpandTmp(c.seenCurrentDir, tmp),
                  starts[0].currentDir);
    }
    SetCurrentDirectoryA(saved);
}

namespace {
struct FailedStartCase {
    const char* name;
    const char* application;
    const char* commandLine;
    const char* currentDir;
    const char* shownName; // what the caller names in the launch error
    const char* firstLine;
};
} // namespace

// A failed start answers 0, leaves the handle alone, and the caller's launch error reads as three
// lines: what failed, an empty line, and the request for the CD.
TEST(LaunchProcess, FailedStartsShowTheOneLaunchError) {
    std::string tmp = MakeScratchDir("failed starts");
    const FailedStartCase cases[] = {
        {"installer not found", "", nullptr, nullptr, "setup.exe", "Error: unable to launch setup.exe."},
        {"game not found, Fast Video", "", " cmdline", "", "vorrow.exe", "Error: unable to launch vorrow.exe."},
        {"game not found, Safe Video", "", " cmdline -DirectDraw 0 -FullScreen 0", "", "vorrow.exe",
         "Error: unable to launch vorrow.exe."},
        {"game gone from its folder", "{tmp}\\Vorrow\\vorrow.exe", "{tmp}\\Vorrow\\vorrow.exe cmdline", "{tmp}\\Vorrow",
         "vorrow.exe", "Error: unable to launch vorrow.exe."},
        {"uninstaller that is not there", nullptr, "{tmp}\\gone\\uninst.exe /x -y", nullptr,
         "{tmp}\\gone\\uninst.exe /x -y", "Error: unable to launch {tmp}\\gone\\uninst.exe /x -y."},
        {"empty uninstall text", nullptr, "", nullptr, "", "Error: unable to launch ."},
    };
    for (const FailedStartCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string application, commandLine, currentDir;
        HANDLE hProcess = kSentinel;
        EXPECT_EQ(0, LaunchProcess(Arg(c.application, tmp, application), Arg(c.commandLine, tmp, commandLine),
                                   Arg(c.currentDir, tmp, currentDir), &hProcess));
        EXPECT_EQ(kSentinel, hProcess);

        ScriptedBoxes boxes({IDOK});
        CLauncherDlg dlg;
        dlg.ShowLaunchError(ExpandTmp(c.shownName, tmp).c_str());
        ASSERT_EQ(1u, boxes.shown().size());
        const ShownBox& box = boxes.shown()[0];
        EXPECT_EQ(ExpandTmp(c.firstLine, tmp) + "\n\nPlease make sure the Skellion CD is in your CD-ROM drive.",
                  box.text);
        EXPECT_EQ("Skellion Setup", box.caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONEXCLAMATION), box.type);
        EXPECT_EQ(0u, box.helpId);
    }
}
