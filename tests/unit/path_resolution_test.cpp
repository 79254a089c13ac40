// Where the launcher finds the installer and the game, on real folders and real drives: R: is a
// CD-ROM drive, D: and S: are the developers' drives, "Root" is Wine's real registry value, and a
// file held by another program is held by a real process. These tests own the drives and the
// launcher's records (CTest resource locks).
#include "app/launcher_app.h"
#include "dialog/launcher_dlg.h"
#include "discovery/discovery.h"
#include "layout.h"
#include "modal_runner.h"
#include "paths.h"
#include "process_driver.h"
#include "registry/records.h"
#include "registry_scratch.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {
const HKEY kHklm = HKEY_LOCAL_MACHINE;
const std::string kDevEngineDir = "d:\\vorrow\\engine\\src\\win32_rl";
const std::string kDevSetupDir = "s:\\setups\\sk2\\setup";

void ClearDrivesAndRecords() {
    for (const char* drive : {"R:\\", "D:\\", "S:\\"})
        EmptyFolder(drive);
    DeleteTree(kHklm, SK_COMPANY_KEY);
    DeleteTree(kHklm, SK_UNINSTALL_KEY);
}

// Another program holding a file open without sharing it for reading (tests/fixtures/file_holder.c).
class HeldFile {
public:
    explicit HeldFile(const std::string& path, bool shareRead = false) {
        std::string event = "SkellionHeldFile" + std::to_string(GetCurrentProcessId());
        HANDLE hHeld = CreateEventA(NULL, TRUE, FALSE, event.c_str());
        std::string args = "\"" + path + "\" " + event + (shareRead ? " share-read" : "");
        held_ =
            holder_.Start(FixtureExe("file_holder.exe"), args) && WaitForSingleObject(hHeld, 20000) == WAIT_OBJECT_0;
        CloseHandle(hHeld);
    }
    bool held() const { return held_; }

private:
    ProcessDriver holder_; // ends the holder when the test is done with the file
    bool held_ = false;
};

// The outputs of path resolution, in one comparable piece.
struct Resolved {
    std::string setupDir, setupExe, engineDir, gameExe;
    int developmentPaths;
    bool operator==(const Resolved& o) const {
        return setupDir == o.setupDir && setupExe == o.setupExe && engineDir == o.engineDir && gameExe == o.gameExe &&
               developmentPaths == o.developmentPaths;
    }
};

std::ostream& operator<<(std::ostream& out, const Resolved& r) {
    return out << "{setup dir \"" << r.setupDir << "\", setup \"" << r.setupExe << "\", engine dir \"" << r.engineDir
               << "\", game \"" << r.gameExe << "\", development " << r.developmentPaths << "}";
}

Resolved Outputs(const CLauncherDlg& dlg) {
    return {(const char*)dlg.m_strSetupDir, (const char*)dlg.m_strSetupExe, (const char*)dlg.m_strEngineDir,
            (const char*)dlg.m_strGameExe, dlg.m_bDevelopmentPaths};
}

// What must hold after every resolution, whatever was found.
void ExpectInvariants(const CLauncherDlg& dlg) {
    Resolved r = Outputs(dlg);
    if (r.setupExe.empty() || r.setupDir.empty()) {
        EXPECT_EQ("", r.setupExe);
        EXPECT_EQ("", r.setupDir);
    } else {
        EXPECT_EQ(r.setupDir + "\\setup.exe", r.setupExe);
    }
    if (r.gameExe.empty() || r.engineDir.empty()) {
        EXPECT_EQ("", r.gameExe);
        EXPECT_EQ("", r.engineDir);
        EXPECT_EQ(0, r.developmentPaths);
    } else {
        EXPECT_EQ(r.engineDir + "\\vorrow.exe", r.gameExe);
    }
    EXPECT_TRUE(r.developmentPaths == 0 || r.developmentPaths == 1) << r.developmentPaths;
    if (r.developmentPaths == 1)
        EXPECT_EQ(kDevEngineDir, r.engineDir);
}

// Fills the outputs with values no resolution gives, so that every one of them must be written.
void FillWithSentinels(CLauncherDlg& dlg) {
    dlg.m_strSetupDir = "setup dir sentinel";
    dlg.m_strSetupExe = "setup sentinel";
    dlg.m_strEngineDir = "engine dir sentinel";
    dlg.m_strGameExe = "game sentinel";
    dlg.m_bDevelopmentPaths = 2;
}

class PathResolution : public ::testing::Test {
protected:
    void SetUp() override {
        ClearDrivesAndRecords();
        tmp_ = MakeScratchDir("path resolution");
        GetCurrentDirectoryA(sizeof(savedDir_), savedDir_);
    }
    void TearDown() override {
        SetCurrentDirectoryA(savedDir_);
        ClearDrivesAndRecords();
    }

    std::string tmp_;
    char savedDir_[MAX_PATH] = "";
};

struct FileExistsCase {
    const char* name;
    std::function<std::string(const std::string& tmp)> prepare; // answers the path to test
    int expected;
};
} // namespace

TEST_F(PathResolution, FileExistsExactlyWhenTheFileOpensForReading) {
    std::unique_ptr<HeldFile> held;
    const FileExistsCase cases[] = {
        {"a plain file",
         [](const std::string& tmp) {
             PlaceFile(tmp + "\\plain.exe");
             return tmp + "\\plain.exe";
         },
         1},
        {"a read-only file",
         [](const std::string& tmp) {
             PlaceFile(tmp + "\\readonly.exe");
             SetFileAttributesA((tmp + "\\readonly.exe").c_str(), FILE_ATTRIBUTE_READONLY);
             return tmp + "\\readonly.exe";
         },
         1},
        {"an empty file",
         [](const std::string& tmp) {
             PlaceFile(tmp + "\\empty.exe", "");
             return tmp + "\\empty.exe";
         },
         1},
        {"no such file", [](const std::string& tmp) { return tmp + "\\missing.exe"; }, 0},
        {"no such folder", [](const std::string& tmp) { return tmp + "\\nowhere\\vorrow.exe"; }, 0},
        {"a directory",
         [](const std::string& tmp) {
             MakeFolders(tmp + "\\folder.exe");
             return tmp + "\\folder.exe";
         },
         0},
        {"the empty path", [](const std::string&) { return std::string(); }, 0},
        {"held by another program without read sharing",
         [&](const std::string& tmp) {
             PlaceFile(tmp + "\\held.exe");
             held.reset(new HeldFile(tmp + "\\held.exe"));
             EXPECT_TRUE(held->held());
             return tmp + "\\held.exe";
         },
         0},
        {"held by another program that shares reading",
         [&](const std::string& tmp) {
             PlaceFile(tmp + "\\shared.exe");
             held.reset(new HeldFile(tmp + "\\shared.exe", true));
             EXPECT_TRUE(held->held());
             return tmp + "\\shared.exe";
         },
         1},
    };
    for (const FileExistsCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = c.prepare(tmp_);
        EXPECT_EQ(c.expected, FileExists(path.c_str()));
        held.reset();
        if (c.expected == 1) {
            // Closed at once: nothing of ours keeps the file from being deleted.
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            EXPECT_TRUE(DeleteFileA(path.c_str())) << GetLastError();
        }
    }
}

namespace {
struct RootValue {
    DWORD type; // 0: no "Root" value
    const char* text;
};

struct ResolutionCase {
    const char* name;
    const char* exeDir;             // the launcher's directory
    RootValue root;                 // "Root" as the installer left it
    std::vector<const char*> files; // laid out before resolving; a trailing "\" makes a folder
    const char* heldFile;           // held open by another program without read sharing, or null
    const char* currentDir;         // the process's current directory, or null to leave it
    Resolved expected;
};
} // namespace

// Each row lays out real files, resolves as the opening does (installer, then game) and compares
// every output; the invariants are checked on every row.
TEST_F(PathResolution, FindsTheFirstCandidateThatOpensInItsFixedOrder) {
    const RootValue noRoot = {0, ""};
    const char* cdSetup = "R:\\setup\\setup.exe";
    const char* cdGame = "R:\\Vorrow\\vorrow.exe";
    const char* devSetup = "S:\\setups\\sk2\\setup\\setup.exe";
    const char* devGame = "D:\\vorrow\\engine\\src\\win32_rl\\vorrow.exe";
    const char* installedGame = "{tmp}\\Games\\Arcade\\Vorrow\\vorrow.exe";
    const Resolved cdBoth = {"R:\\setup", "R:\\setup\\setup.exe", "R:\\Vorrow", "R:\\Vorrow\\vorrow.exe", 0};
    const Resolved nothing = {"", "", "", "", 0};
    const std::string devSetupExe = kDevSetupDir + "\\setup.exe";
    const std::string devGameExe = kDevEngineDir + "\\vorrow.exe";

    const ResolutionCase cases[] = {
        {"CD in R:, no Root, the CD holds both", "R:", noRoot, {cdSetup, cdGame}, nullptr, nullptr, cdBoth},
        {"after installation: the installed copy wins",
         "R:",
         {REG_SZ, "{tmp}\\Games\\Arcade"},
         {cdSetup, cdGame, installedGame},
         nullptr,
         nullptr,
         {"R:\\setup", "R:\\setup\\setup.exe", "{tmp}\\Games\\Arcade\\Vorrow",
          "{tmp}\\Games\\Arcade\\Vorrow\\vorrow.exe", 0}},
        {"installed copy deleted: back to the CD",
         "R:",
         {REG_SZ, "{tmp}\\Games\\Arcade"},
         {cdSetup, cdGame},
         nullptr,
         nullptr,
         cdBoth},
        {"Root with a trailing backslash gives two in a row",
         "R:",
         {REG_SZ, "{tmp}\\Games\\Arcade\\"},
         {cdSetup, cdGame, installedGame},
         nullptr,
         nullptr,
         {"R:\\setup", "R:\\setup\\setup.exe", "{tmp}\\Games\\Arcade\\\\Vorrow",
          "{tmp}\\Games\\Arcade\\\\Vorrow\\vorrow.exe", 0}},
        {"developer's machine: nothing beside the launcher, both development files",
         "{tmp}\\build\\launch",
         noRoot,
         {"{tmp}\\build\\launch\\", devSetup, devGame},
         nullptr,
         nullptr,
         {kDevSetupDir, devSetupExe, kDevEngineDir, devGameExe, 1}},
        {"installer on the development drive, game on the CD",
         "R:",
         noRoot,
         {devSetup, cdGame},
         nullptr,
         nullptr,
         {kDevSetupDir, devSetupExe, "R:\\Vorrow", "R:\\Vorrow\\vorrow.exe", 0}},
        {"installer on the CD, game on the development drive",
         "R:",
         noRoot,
         {cdSetup, devGame},
         nullptr,
         nullptr,
         {"R:\\setup", "R:\\setup\\setup.exe", kDevEngineDir, devGameExe, 1}},
        {"nothing anywhere", "{tmp}\\empty", noRoot, {"{tmp}\\empty\\"}, nullptr, nullptr, nothing},
        {"everything everywhere: Root, then the CD, then the development drives",
         "R:",
         {REG_SZ, "{tmp}\\Games\\Arcade"},
         {cdSetup, cdGame, devSetup, devGame, installedGame},
         nullptr,
         nullptr,
         {"R:\\setup", "R:\\setup\\setup.exe", "{tmp}\\Games\\Arcade\\Vorrow",
          "{tmp}\\Games\\Arcade\\Vorrow\\vorrow.exe", 0}},
        {"the CD wins over the development drives",
         "R:",
         noRoot,
         {cdSetup, cdGame, devSetup, devGame},
         nullptr,
         nullptr,
         cdBoth},
        {"Root leading nowhere falls through to the development drive",
         "{tmp}\\empty",
         {REG_SZ, "{tmp}\\Not\\Installed"},
         {devGame},
         nullptr,
         nullptr,
         {"", "", kDevEngineDir, devGameExe, 1}},
        // The empty Root gives \Vorrow\vorrow.exe, tested from the root of the current drive.
        {"Root that reads as the empty string",
         "{tmp}\\empty",
         {REG_SZ, ""},
         {"{tmp}\\empty\\", cdGame},
         nullptr,
         "R:\\",
         {"", "", "\\Vorrow", "\\Vorrow\\vorrow.exe", 0}},
        {"Root of type REG_EXPAND_SZ counts as missing",
         "R:",
         {REG_EXPAND_SZ, "{tmp}\\Games\\Arcade"},
         {cdSetup, cdGame, installedGame},
         nullptr,
         nullptr,
         cdBoth},
        {"Root of type REG_BINARY counts as missing",
         "R:",
         {REG_BINARY, "{tmp}\\Games\\Arcade"},
         {cdSetup, cdGame, installedGame},
         nullptr,
         nullptr,
         cdBoth},
        {"directories named setup.exe and vorrow.exe count as absent",
         "R:",
         noRoot,
         {"R:\\setup\\setup.exe\\", "R:\\Vorrow\\vorrow.exe\\", devGame},
         nullptr,
         nullptr,
         {"", "", kDevEngineDir, devGameExe, 1}},
        {"a game held open by another program counts as absent",
         "R:",
         noRoot,
         {cdSetup, cdGame, devGame},
         cdGame,
         nullptr,
         {"R:\\setup", "R:\\setup\\setup.exe", kDevEngineDir, devGameExe, 1}},
    };

    // R: is a CD-ROM drive of the session's mount manager (QueryDosDevice names \Device\CdRom0), but
    // under qemu GetDriveType cannot reach the mount manager and answers DRIVE_FIXED. The launcher
    // never asks for the drive type, so the rows do not depend on it.
    for (const ResolutionCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClearDrivesAndRecords();
        tmp_ = MakeScratchDir("path resolution");
        for (const char* file : c.files) {
            std::string path = ExpandTmp(file, tmp_);
            if (path.back() == '\\')
                MakeFolders(path.substr(0, path.size() - 1));
            else
                PlaceFile(path);
        }
        if (c.root.type != 0) {
            std::string text = ExpandTmp(c.root.text, tmp_);
            PutValue(kHklm, SK_PRODUCT_KEY, "Root", c.root.type, std::string(text.c_str(), text.size() + 1));
        }
        std::unique_ptr<HeldFile> held;
        if (c.heldFile != nullptr) {
            held.reset(new HeldFile(c.heldFile));
            ASSERT_TRUE(held->held());
        }
        if (c.currentDir != nullptr)
            ASSERT_TRUE(SetCurrentDirectoryA(c.currentDir));

        CLauncherDlg dlg;
        dlg.LoadLaunchStrings();
        dlg.m_strExeDir = ExpandTmp(c.exeDir, tmp_).c_str();
        FillWithSentinels(dlg);
        dlg.LocateSetup();
        dlg.LocateGame();

        Resolved expected = c.expected;
        for (std::string* field : {&expected.setupDir, &expected.setupExe, &expected.engineDir, &expected.gameExe})
            *field = ExpandTmp(*field, tmp_);
        EXPECT_EQ(expected, Outputs(dlg));
        ExpectInvariants(dlg);
        SetCurrentDirectoryA(savedDir_);
    }
}

namespace {
CLauncherApp* App() {
    return (CLauncherApp*)AfxGetApp();
}

int DefaultId(HWND hDialog) {
    LRESULT result = SendMessageA(hDialog, DM_GETDEFID, 0, 0);
    return HIWORD(result) == DC_HASDEFID ? LOWORD(result) : 0;
}

struct ReResolutionStep {
    const char* name;
    std::function<void(const std::string& tmp)> change; // what happened while the installer ran
    Resolved expected;
    int defaultId;
};
} // namespace

// The opening resolves both from the launcher's directory; when the installer handshake ends, the
// timer resolves the game alone again: the installer's fields keep their opening values.
TEST_F(PathResolution, HandshakeEndResolvesOnlyTheGameAgain) {
    PlaceFile("R:\\setup\\setup.exe");
    PlaceFile("R:\\Vorrow\\vorrow.exe");
    const std::string tmp = tmp_;
    const ReResolutionStep steps[] = {
        {"installed under Root",
         [](const std::string& t) {
             PlaceFile(t + "\\Installed\\Vorrow\\vorrow.exe");
             PutString(kHklm, SK_PRODUCT_KEY, "Root", t + "\\Installed");
         },
         {"R:\\setup", "R:\\setup\\setup.exe", tmp + "\\Installed\\Vorrow", tmp + "\\Installed\\Vorrow\\vorrow.exe", 0},
         IDC_PLAY},
        {"only the development build is left",
         [](const std::string& t) {
             RemoveFolder(t + "\\Installed");
             RemoveFolder("R:\\Vorrow");
             PlaceFile("D:\\vorrow\\engine\\src\\win32_rl\\vorrow.exe");
         },
         {"R:\\setup", "R:\\setup\\setup.exe", kDevEngineDir, kDevEngineDir + "\\vorrow.exe", 1},
         IDC_PLAY},
        {"nothing is left",
         [](const std::string&) {
             RemoveFolder("D:\\vorrow");
             DeleteValue(kHklm, SK_PRODUCT_KEY, "Root");
         },
         {"R:\\setup", "R:\\setup\\setup.exe", "", "", 0},
         IDCANCEL},
    };

    App()->m_strExeDir = "R:";
    CLauncherDlg dlg;
    RunModal(dlg, [&](HWND hDialog) {
        EXPECT_EQ((Resolved{"R:\\setup", "R:\\setup\\setup.exe", "R:\\Vorrow", "R:\\Vorrow\\vorrow.exe", 0}),
                  Outputs(dlg));
        for (const ReResolutionStep& step : steps) {
            SCOPED_TRACE(step.name);
            step.change(tmp);
            // The installer has exited and has since ended the handshake.
            dlg.m_bWaitingForInstaller = 1;
            SetInstallerRunning(0);
            SendMessageA(hDialog, WM_TIMER, dlg.m_nTimerId, 0);
            EXPECT_EQ(0, dlg.m_bWaitingForInstaller);
            EXPECT_EQ(step.expected, Outputs(dlg));
            ExpectInvariants(dlg);
            EXPECT_EQ(step.defaultId, DefaultId(hDialog));
        }
    });
    App()->m_strExeDir = "";
}
