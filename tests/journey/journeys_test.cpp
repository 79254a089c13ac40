// The launcher as its users meet it: the disc in the CD-ROM drive R:, the real launcher.exe started
// from the disc's root, and nothing but the mouse and the keyboard (SendInput) to drive it. Each test
// is one journey. Outcomes are checked only where a user or a peer program would see them: the boxes'
// texts, captions and buttons, which controls can be pressed, the default button and the focus, the
// registry records, the programs started with their command lines and directories, and whether the
// launcher has ended.
//
// Input goes to the window under the pointer and to the foreground window, so these tests run alone
// (CTest RUN_SERIAL): another test's window opened at the centre of the screen would take the clicks.
#include "dialog_view.h"
#include "install_support.h"
#include "layout.h"
#include "message_boxes.h"
#include "paths.h"
#include "process_driver.h"
#include "registry/records.h"
#include "registry_scratch.h"
#include "resource.h"
#include "user_input.h"
#include "wait.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

const HKEY kHklm = HKEY_LOCAL_MACHINE;
const char kCdLauncher[] = "R:\\launcher.exe";
const char kCaption[] = "Skellion Setup";
const char kWindowedArgs[] = " -DirectDraw 0 -FullScreen 0";
const char kDevelopmentArgs[] = " -INIFileUsageMode 1 -ArchiveMode 0";
const char kDevelopmentEngine[] = "d:\\vorrow\\engine\\src\\win32_rl";
const char kDevelopmentSetup[] = "S:\\setups\\sk2\\setup";

// Install, Uninstall, Fast Video, Safe Video, Play, Quit.
const std::vector<bool> kOnlyQuit = {false, false, false, false, false, true};
const std::vector<bool> kDirectXNeeded = {true, true, false, false, false, true};
const std::vector<bool> kAll = {true, true, true, true, true, true};
const std::vector<int> kYesNo = {IDYES, IDNO};
const std::vector<int> kOk = {IDOK};

std::string Record(const char* name) {
    return GetValue(kHklm, SK_PRODUCT_KEY, name).bytes.c_str();
}
std::string UninstallEntry() {
    return GetValue(kHklm, SK_UNINSTALL_KEY, "UninstallString").bytes.c_str();
}

bool SameText(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The machine before each journey: an empty disc, empty development drives, no records, and Wine's
// own settings for programs named launcher.exe.
void ClearMachine() {
    for (const char* drive : {"R:\\", "D:\\", "S:\\"})
        EmptyFolder(drive);
    RemoveLauncherRecords();
    DeleteTree(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\launcher.exe");
}

// The disc and the hard disk of one journey.
struct Machine {
    std::string disk;     // this journey's folder on the hard disk
    std::string root;     // where the installer puts the game
    std::string setupLog; // the installer's record of its steps
    std::string release;  // the installer ends its handshake once this file exists

    // Lets the installer end its handshake.
    void ReleaseInstaller() const { WriteTextFile(release, "go"); }
    bool InstallerLogged(const std::string& step) const {
        bool logged = WaitForFileText(setupLog, step);
        EXPECT_TRUE(logged) << "the installer did not get to \"" << step << "\":\n" << ReadTextFile(setupLog);
        return logged;
    }
};

struct CdContents {
    bool gameOnCd = false;      // Vorrow\vorrow.exe on the disc, beside the launcher
    bool installer = true;      // setup\setup.exe, which installs the game kept in setup\data
    std::string oldDirectSound; // a DirectSound fixture older than DirectX 3's, or "" for Wine's own
    std::vector<std::pair<std::string, std::string>> installerSettings;
};

// Lays out the disc in R: as it is pressed: launcher.exe and dsetup.dll in the root, the installer and
// the game where the launcher looks for them.
Machine PutCdInDrive(const std::string& journey, const CdContents& cd) {
    Machine machine;
    machine.disk = MakeScratchDir("journey-" + journey);
    machine.root = machine.disk + "\\Games\\Skellion";
    machine.setupLog = machine.disk + "\\setup.log";
    machine.release = machine.disk + "\\release";
    EXPECT_EQ(kCdLauncher, CopyLauncherTo("R:"));
    if (cd.gameOnCd)
        EXPECT_TRUE(PlaceCopy(FixtureExe("vorrow.exe"), "R:\\Vorrow\\vorrow.exe"));
    if (cd.installer) {
        EXPECT_TRUE(PlaceCopy(FixtureExe("vorrow.exe"), "R:\\setup\\data\\vorrow.exe"));
        std::vector<std::pair<std::string, std::string>> settings = {
            {"root", machine.root},    {"game", "R:\\setup\\data\\vorrow.exe"},
            {"exit_delay_ms", "1000"}, {"handshake_delay_ms", "500"},
            {"log", machine.setupLog}, {"release", machine.release},
        };
        for (const auto& setting : cd.installerSettings) {
            auto same = settings.begin();
            while (same != settings.end() && same->first != setting.first)
                ++same;
            if (same != settings.end())
                same->second = setting.second;
            else
                settings.push_back(setting);
        }
        EXPECT_NE("", PlaceInstaller("R:\\setup", settings));
    }
    if (!cd.oldDirectSound.empty())
        EXPECT_TRUE(PlaceCopy(DirectSoundFixture(cd.oldDirectSound), "R:\\dsound.dll"));
    return machine;
}

// What the user has in front of them: the launcher's windows.
class Screen {
public:
    // Starts the launcher from the disc's root, as AutoPlay does.
    bool Open(const std::string& args = "") { return launcher_.Start(kCdLauncher, args, "R:\\"); }
    // Starts a command line as the system runs a registered one.
    bool Run(const std::string& commandLine) { return launcher_.StartCommandLine(commandLine, "R:\\"); }

    HWND Dialog() {
        if (dialog_ == NULL)
            dialog_ = launcher_.WaitForLauncherDialog();
        return dialog_;
    }
    HWND Control(int id) { return GetDlgItem(Dialog(), id); }

    // Waits for the next message box, other than the one answered last, and reads it.
    BoxView NextBox() {
        HWND hPrevious = box_;
        box_ = launcher_.WaitForWindow([hPrevious](HWND h) { return h != hPrevious && IsMessageBox(h); });
        if (box_ == NULL) {
            ADD_FAILURE() << "no message box came";
            return BoxView();
        }
        return ReadBox(box_);
    }
    // The next box must say the string with these buttons and this default, owned by the launcher's
    // dialog (on the screen or, during the opening, not yet).
    void ExpectBox(UINT textId, const std::vector<int>& buttons, int defaultId) {
        BoxView box = NextBox();
        EXPECT_NE(nullptr, box.owner);
        EXPECT_EQ(launcher_.LauncherDialogEvenHidden(), box.owner) << Text(textId);
        EXPECT_EQ(Text(textId), box.text);
        EXPECT_EQ(kCaption, box.caption);
        EXPECT_EQ(buttons, box.buttons) << Text(textId);
        EXPECT_EQ(defaultId, box.defaultId) << Text(textId);
        EXPECT_TRUE(box.hasIcon);
    }
    // Answers the box on the screen by clicking one of its buttons, or by a key; then it must go.
    void ClickInBox(int id) { Answered(box_ != NULL && Click(GetDlgItem(box_, id))); }
    void KeyInBox(WORD vk) { Answered(box_ != NULL && PressKey(box_, vk)); }

    // Alt+I; No to DirectX setup, Yes to installing the game: the installer starts.
    void InstallWithoutDirectX() {
        PressAltKey(Dialog(), 'I');
        ExpectBox(IDS_ASK_DIRECTX, kYesNo, IDYES);
        ClickInBox(IDNO);
        ExpectBox(IDS_ASK_INSTALL, kYesNo, IDNO);
        ClickInBox(IDYES);
    }

    // The dialog as the user sees it: every control in the state of the row, the default button drawn
    // as such and the focus on it (on Quit while busy).
    void ExpectControls(const std::vector<bool>& enabled, int defaultId) {
        ASSERT_NE(nullptr, Dialog());
        EXPECT_TRUE(WaitForControls(Dialog(), enabled, defaultId)) << "the controls did not settle";
        EXPECT_EQ(enabled, EnabledStates(Dialog()));
        EXPECT_EQ(defaultId, DefaultId(Dialog()));
        EXPECT_EQ(enabled == kOnlyQuit ? IDCANCEL : defaultId, FocusedId(Dialog()));
    }
    bool Checked(int id) { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // Input is handled when the launcher gets to it: waits until the radio button shows checked.
    bool WaitChecked(int id) {
        return WaitUntil([&] { return Checked(id); }, 5000);
    }

    bool Ended(DWORD timeoutMs = 20000) {
        if (launcher_.WaitForExit(timeoutMs))
            return true;
        for (HWND hWnd : launcher_.Windows())
            ADD_FAILURE() << "still on the screen: \"" << WindowText(hWnd) << "\" " << ReadBox(hWnd).text;
        return false;
    }
    bool Running() const { return launcher_.Running(); }
    size_t BoxesShown() const { return launcher_.BoxesShown(); }
    const ProcessDriver& process() const { return launcher_; }

private:
    void Answered(bool sent) {
        HWND hBox = box_;
        if (!sent)
            return;
        EXPECT_TRUE(WaitUntil([hBox] { return !IsWindow(hBox) || !IsWindowVisible(hBox); }, 20000)) << "the box stayed";
    }

    ProcessDriver launcher_;
    HWND dialog_ = NULL;
    HWND box_ = NULL;
};

// The game, as it saw its start: the engine folder, the command line after the program's path.
void ExpectGameStarted(const GameRecord& record, const std::string& engineDir, const std::string& args) {
    std::vector<GameStart> starts = record.WaitForStarts(1);
    ASSERT_EQ(1u, starts.size());
    EXPECT_PRED2(SameText, engineDir + "\\vorrow.exe", starts[0].module);
    EXPECT_EQ(engineDir + "\\vorrow.exe cmdline" + args, starts[0].commandLine);
    EXPECT_PRED2(SameText, engineDir, starts[0].currentDir);
}

class Journey : public ::testing::Test {
protected:
    void SetUp() override { ClearMachine(); }
    void TearDown() override { ClearMachine(); }
};

// The first run from the CD, under one emulated Windows version: DirectSound older than DirectX 3's,
// so the install flow starts by itself before the dialog is shown; Enter accepts DirectX setup (Yes
// is that box's default), a click agrees to install; while DirectX setup and then the installer run
// only Quit can be pressed; at the end of the installer handshake the game installed under "Root" is
// found, Play is the default, and Enter with Fast Video checked starts it; the launcher ends.
class FirstRun : public Journey, public ::testing::WithParamInterface<const char*> {};

TEST_P(FirstRun, InstallsDirectXAndTheGameThenPlays) {
    SetWineVersionFor("launcher.exe", GetParam());
    Machine machine = PutCdInDrive(std::string("first run ") + GetParam(), {false, true, "4.3.0.1096", {}});
    NativeDirectSound oldDirectSound("launcher.exe");
    DirectXSetupStandIn directXSetup(std::string("journey ") + GetParam(), 0);
    GameRecord game(std::string("journey ") + GetParam());

    Screen screen;
    ASSERT_TRUE(screen.Open());
    screen.ExpectBox(IDS_ASK_DIRECTX, kYesNo, IDYES);
    HWND hDialog = screen.process().LauncherDialogEvenHidden();
    ASSERT_NE(nullptr, hDialog);
    EXPECT_FALSE(IsWindowVisible(hDialog)) << "the question comes before the dialog is on the screen";
    screen.KeyInBox(VK_RETURN);
    screen.ExpectBox(IDS_ASK_INSTALL, kYesNo, IDNO);
    screen.ClickInBox(IDYES);

    std::vector<DirectXSetupCall> calls = directXSetup.Calls();
    ASSERT_EQ(1u, calls.size()) << "DirectX setup ran once";
    EXPECT_EQ(std::vector<int>{IDCANCEL}, calls[0].enabled) << "only Quit while DirectX setup runs";

    // The installer runs, then its engine works on while the launcher waits for the handshake. DirectX
    // is in place and no game is found yet, so Quit became the default before the installer started.
    screen.ExpectControls(kOnlyQuit, IDCANCEL);
    ASSERT_TRUE(machine.InstallerLogged("engine waits for"));
    EXPECT_EQ("TRUE", Record("IsRunningIS"));
    screen.ExpectControls(kOnlyQuit, IDCANCEL);
    machine.ReleaseInstaller();
    ASSERT_TRUE(machine.InstallerLogged("wrote IsRunningIS=FALSE"));
    screen.ExpectControls(kAll, IDC_PLAY);
    EXPECT_TRUE(screen.Checked(IDC_FAST_VIDEO));
    EXPECT_FALSE(screen.Checked(IDC_SAFE_VIDEO));
    EXPECT_EQ(machine.root, Record("Root"));
    EXPECT_EQ("R:", Record("CD"));
    EXPECT_EQ("\"R:\\launcher.exe\" /u", UninstallEntry());

    PressKey(screen.Dialog(), VK_RETURN);
    EXPECT_TRUE(screen.Ended());
    ExpectGameStarted(game, machine.root + "\\Vorrow", "");
}

// The compatibility matrix: every Windows version the launcher promises to run on.
INSTANTIATE_TEST_SUITE_P(Windows, FirstRun,
                         ::testing::Values("win95", "win98", "nt40", "win2k", "winxp", "win7", "win10"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return info.param; });

// Win32s and Windows NT 3.51: one box, owned by nothing, and the launcher ends at OK without a
// dialog and without putting itself in the system's list of programs.
class Refused : public Journey, public ::testing::WithParamInterface<const char*> {};

TEST_P(Refused, OneBoxThenTheLauncherEnds) {
    SetWineVersionFor("launcher.exe", GetParam());
    PutCdInDrive(std::string("refused ") + GetParam(), {true, true, "", {}});
    Screen screen;
    ASSERT_TRUE(screen.Open());
    BoxView box = screen.NextBox();
    EXPECT_EQ("Skellion requires Windows 95 or Windows NT 4.0 or higher.", box.text);
    EXPECT_EQ(kCaption, box.caption);
    EXPECT_EQ(kOk, box.buttons);
    EXPECT_EQ(NULL, box.owner);
    EXPECT_EQ(1u, screen.process().Windows().size()) << "only the box";
    screen.ClickInBox(IDOK);
    EXPECT_TRUE(screen.Ended());
    EXPECT_FALSE(GetValue(kHklm, SK_UNINSTALL_KEY, "UninstallString").exists);
    EXPECT_FALSE(GetValue(kHklm, SK_PRODUCT_KEY, "CD").exists);
}

INSTANTIATE_TEST_SUITE_P(Windows, Refused, ::testing::Values("win31", "nt351"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return info.param; });

// An installed machine: the game under "Root". The user clicks Safe Video, then Play.
TEST_F(Journey, InstalledGamePlaysInSafeVideo) {
    Machine machine = PutCdInDrive("installed", {true, true, "", {}});
    ASSERT_TRUE(PlaceCopy(FixtureExe("vorrow.exe"), machine.root + "\\Vorrow\\vorrow.exe"));
    PutString(kHklm, SK_PRODUCT_KEY, "Root", machine.root);
    GameRecord game("journey installed");

    Screen screen;
    ASSERT_TRUE(screen.Open());
    screen.ExpectControls(kAll, IDC_PLAY);
    Click(screen.Control(IDC_SAFE_VIDEO));
    EXPECT_TRUE(screen.WaitChecked(IDC_SAFE_VIDEO));
    EXPECT_FALSE(screen.Checked(IDC_FAST_VIDEO)) << "one video mode at a time";
    Click(screen.Control(IDC_PLAY));
    EXPECT_TRUE(screen.Ended());
    ExpectGameStarted(game, machine.root + "\\Vorrow", kWindowedArgs);
}

// The installed copy has been deleted since: the copy on the disc is played. Keyboard only: Alt+S
// chooses Safe Video, Alt+F Fast Video again, Alt+P plays.
TEST_F(Journey, DeletedInstallationPlaysTheCdCopyByMnemonics) {
    Machine machine = PutCdInDrive("installation deleted", {true, true, "", {}});
    PutString(kHklm, SK_PRODUCT_KEY, "Root", machine.root);
    GameRecord game("journey installation deleted");

    Screen screen;
    ASSERT_TRUE(screen.Open());
    screen.ExpectControls(kAll, IDC_PLAY);
    PressAltKey(screen.Dialog(), 'S');
    EXPECT_TRUE(screen.WaitChecked(IDC_SAFE_VIDEO));
    EXPECT_FALSE(screen.Checked(IDC_FAST_VIDEO));
    PressAltKey(screen.Dialog(), 'F');
    EXPECT_TRUE(screen.WaitChecked(IDC_FAST_VIDEO));
    EXPECT_FALSE(screen.Checked(IDC_SAFE_VIDEO));
    PressAltKey(screen.Dialog(), 'P');
    EXPECT_TRUE(screen.Ended());
    ExpectGameStarted(game, "R:\\Vorrow", "");
}

// The developers' machine: nothing on the disc but the launcher, the game built on D: and the installer
// on S:. Alt+I, the DirectX question declined and the installer from S: run to the end (it records no
// "Root"); then Alt+P plays the development build with its development switches.
TEST_F(Journey, DeveloperMachinePlaysTheBuildOnD) {
    Machine machine = PutCdInDrive("developer", {false, false, "", {}});
    ASSERT_TRUE(PlaceCopy(FixtureExe("vorrow.exe"), std::string(kDevelopmentEngine) + "\\vorrow.exe"));
    MakeFolders(kDevelopmentSetup);
    ASSERT_NE("", PlaceInstaller(kDevelopmentSetup, {{"root", machine.root},
                                                     {"write_root", "0"},
                                                     {"game", FixtureExe("vorrow.exe")},
                                                     {"log", machine.setupLog}}));
    GameRecord game("journey developer");

    Screen screen;
    ASSERT_TRUE(screen.Open());
    screen.ExpectControls(kAll, IDC_PLAY);
    screen.InstallWithoutDirectX();
    ASSERT_TRUE(machine.InstallerLogged("wrote IsRunningIS=FALSE"));
    EXPECT_NE(std::string::npos, ReadTextFile(machine.setupLog).find("setup directory=R:\\\n"));
    screen.ExpectControls(kAll, IDC_PLAY);

    PressAltKey(screen.Dialog(), 'P');
    EXPECT_TRUE(screen.Ended());
    ExpectGameStarted(game, kDevelopmentEngine, kDevelopmentArgs);
}

// No game anywhere and DirectX present: everything can be pressed but Quit is the default. Play
// shows the launch error, answered with Enter; the dialog stays as it was, and Escape quits.
TEST_F(Journey, NoGameAnywhereQuitIsTheDefaultAndPlayShowsTheError) {
    PutCdInDrive("no game", {false, false, "", {}});
    GameRecord game("journey no game");

    Screen screen;
    ASSERT_TRUE(screen.Open());
    screen.ExpectControls(kAll, IDCANCEL);
    Click(screen.Control(IDC_PLAY));
    BoxView error = screen.NextBox();
    EXPECT_EQ("Error: unable to launch vorrow.exe.\n\nPlease make sure the Skellion CD is in your CD-ROM drive.",
              error.text);
    EXPECT_EQ(kCaption, error.caption);
    EXPECT_EQ(kOk, error.buttons);
    EXPECT_EQ(screen.Dialog(), error.owner);
    screen.KeyInBox(VK_RETURN);
    EXPECT_EQ(kAll, EnabledStates(screen.Dialog()));
    EXPECT_EQ(IDCANCEL, DefaultId(screen.Dialog()));
    EXPECT_TRUE(screen.Running());

    PressKey(screen.Dialog(), VK_ESCAPE);
    EXPECT_TRUE(screen.Ended());
    EXPECT_TRUE(game.Starts().empty());
}

// From Play, where the opening puts the focus, Tab walks the controls in the template's order round
// to Play again; Escape quits without starting anything.
TEST_F(Journey, KeyboardTabOrderAndEscape) {
    PutCdInDrive("keyboard", {true, false, "", {}});
    GameRecord game("journey keyboard");

    Screen screen;
    ASSERT_TRUE(screen.Open());
    screen.ExpectControls(kAll, IDC_PLAY);
    std::vector<int> walked;
    for (int press = 0; press < 6; ++press) {
        int before = FocusedId(screen.Dialog());
        PressKey(screen.Dialog(), VK_TAB);
        WaitUntil([&] { return FocusedId(screen.Dialog()) != before; }, 5000);
        walked.push_back(FocusedId(screen.Dialog()));
    }
    EXPECT_EQ((std::vector<int>{IDC_FAST_VIDEO, IDC_SAFE_VIDEO, IDCANCEL, IDC_INSTALL, IDC_UNINSTALL, IDC_PLAY}),
              walked);
    PressKey(screen.Dialog(), VK_ESCAPE);
    EXPECT_TRUE(screen.Ended());
    EXPECT_TRUE(game.Starts().empty());
}

// The launcher's own entry in the system's list of programs, reached by the Uninstall button: Yes
// removes every record of the launcher and ends it after the closing message.
TEST_F(Journey, UninstallButtonRemovesTheRecordsOnYes) {
    PutCdInDrive("uninstall yes", {true, false, "", {}});
    Screen screen;
    ASSERT_TRUE(screen.Open());
    screen.ExpectControls(kAll, IDC_PLAY);
    EXPECT_EQ("\"R:\\launcher.exe\" /u", UninstallEntry());
    Click(screen.Control(IDC_UNINSTALL));
    screen.ExpectBox(IDS_ASK_REMOVE_RECORDS, kYesNo, IDYES);
    screen.ClickInBox(IDYES);
    screen.ExpectBox(IDS_UNINSTALL_COMPLETE, kOk, IDOK);
    screen.KeyInBox(VK_RETURN);
    EXPECT_TRUE(screen.Ended());
    EXPECT_FALSE(KeyExists(kHklm, SK_UNINSTALL_KEY));
    EXPECT_FALSE(KeyExists(kHklm, SK_PRODUCT_KEY));
    EXPECT_FALSE(KeyExists(kHklm, SK_COMPANY_KEY));
}

// Alt+U and No: nothing is removed and the launcher stays as it was.
TEST_F(Journey, UninstallByMnemonicKeepsEverythingOnNo) {
    PutCdInDrive("uninstall no", {true, false, "", {}});
    Screen screen;
    ASSERT_TRUE(screen.Open());
    screen.ExpectControls(kAll, IDC_PLAY);
    std::vector<std::string> records = ValueNames(kHklm, SK_PRODUCT_KEY);
    PressAltKey(screen.Dialog(), 'U');
    screen.ExpectBox(IDS_ASK_REMOVE_RECORDS, kYesNo, IDYES);
    screen.ClickInBox(IDNO);
    Sleep(1500); // several ticks: nothing more comes
    EXPECT_EQ(0u, screen.BoxesShown());
    EXPECT_EQ(kAll, EnabledStates(screen.Dialog()));
    EXPECT_EQ(IDC_PLAY, DefaultId(screen.Dialog()));
    PressAltKey(screen.Dialog(), 'Q');
    EXPECT_TRUE(screen.Ended());
    EXPECT_EQ(records, ValueNames(kHklm, SK_PRODUCT_KEY));
    EXPECT_EQ("\"R:\\launcher.exe\" /u", UninstallEntry());
}

// The system's list of programs runs the launcher's own entry, "/u" and all: the dialog opens and asks
// at once; Enter answers Yes (the default) and the records are gone.
TEST_F(Journey, SystemsListRunsTheOwnEntry) {
    PutCdInDrive("own entry", {true, false, "", {}});
    {
        Screen first;
        ASSERT_TRUE(first.Open());
        first.ExpectControls(kAll, IDC_PLAY);
        PressAltKey(first.Dialog(), 'Q');
        ASSERT_TRUE(first.Ended());
    }
    Screen screen;
    ASSERT_TRUE(screen.Run(UninstallEntry()));
    screen.ExpectBox(IDS_ASK_REMOVE_RECORDS, kYesNo, IDYES);
    EXPECT_TRUE(IsWindowVisible(screen.Dialog()));
    screen.KeyInBox(VK_RETURN);
    screen.ExpectBox(IDS_UNINSTALL_COMPLETE, kOk, IDOK);
    screen.ClickInBox(IDOK);
    EXPECT_TRUE(screen.Ended());
    EXPECT_FALSE(KeyExists(kHklm, SK_UNINSTALL_KEY));
    EXPECT_FALSE(KeyExists(kHklm, SK_PRODUCT_KEY));
}

// Another program has taken over the entry: the Uninstall button starts its uninstaller with exactly
// the registered command line, and the launcher ends.
TEST_F(Journey, UninstallStartsAnotherProgramsUninstaller) {
    Machine machine = PutCdInDrive("other uninstaller", {true, false, "", {}});
    std::string uninstaller = machine.disk + "\\other uninstaller.exe";
    ASSERT_TRUE(PlaceCopy(FixtureExe("uninstaller.exe"), uninstaller));
    std::string entry = "\"" + uninstaller + "\" -remove all";
    PutString(kHklm, SK_UNINSTALL_KEY, "UninstallString", entry);

    Screen screen;
    ASSERT_TRUE(screen.Open());
    screen.ExpectControls(kAll, IDC_PLAY);
    Click(screen.Control(IDC_UNINSTALL));
    EXPECT_TRUE(screen.Ended());
    std::string ran = machine.disk + "\\uninstaller-ran.txt";
    EXPECT_TRUE(WaitForFileText(ran, "\n")) << "the uninstaller did not run";
    EXPECT_EQ(entry + "\nR:\\\n", ReadTextFile(ran));
    EXPECT_EQ(entry, UninstallEntry());
    EXPECT_TRUE(KeyExists(kHklm, SK_PRODUCT_KEY));
}

// Keeps the Wine session alive while a journey asks for a restart: tests/fixtures/session_guard.c
// refuses the end of the session and records that it was asked.
class SessionGuard {
public:
    explicit SessionGuard(const std::string& name) : record_(MakeScratchDir("guard-" + name) + "\\guard.txt") {
        EXPECT_TRUE(guard_.Start(FixtureExe("session_guard.exe"), "\"" + record_ + "\""));
        EXPECT_TRUE(WaitForFileText(record_, "up\n")) << "the session guard did not start";
    }
    // Whether the end of the session was asked for (and then called off), within the time.
    bool SessionEndAsked(DWORD timeoutMs) const { return WaitForFileText(record_, "query", timeoutMs); }

private:
    std::string record_;
    ProcessDriver guard_;
};

// DirectX setup succeeds but asks for a restart: the launcher from the disc, an old DirectSound, Enter
// for DirectX setup, and then the question whether to restart now.
class RestartAfterDirectXSetup : public Journey {
protected:
    void SetUp() override {
        Journey::SetUp();
        machine_ = PutCdInDrive("restart", {true, true, "4.3.0.1096", {}});
        oldDirectSound_.reset(new NativeDirectSound("launcher.exe"));
        directXSetup_.reset(new DirectXSetupStandIn("journey restart", 1));
        guard_.reset(new SessionGuard("restart"));
        game_.reset(new GameRecord("journey restart"));
        ASSERT_TRUE(screen_.Open());
        screen_.ExpectBox(IDS_ASK_DIRECTX, kYesNo, IDYES);
        screen_.KeyInBox(VK_RETURN);
        screen_.ExpectBox(IDS_ASK_REBOOT_NOW, kYesNo, IDYES);
    }

    Machine machine_;
    std::unique_ptr<NativeDirectSound> oldDirectSound_;
    std::unique_ptr<DirectXSetupStandIn> directXSetup_;
    std::unique_ptr<SessionGuard> guard_;
    std::unique_ptr<GameRecord> game_;
    Screen screen_; // declared last: the launcher is gone before the guard
};

// Accepted: the system is asked to restart (the guard sees the end of the session asked for) and the
// launcher ends. Wine ends a session program by program in the order of their process ids, ending
// each one that agrees before it asks the next, until one refuses. Whether the launcher's id comes
// before the guard's is up to the ids Wine hands out (it reuses them): then the end of the session
// ends the launcher at once; otherwise the launcher goes on to ask the installer question, as its
// install flow does, and ends after No. Either way the user sees the launcher gone and no installer.
TEST_F(RestartAfterDirectXSetup, AcceptedEndsTheLauncher) {
    screen_.ClickInBox(IDYES);
    EXPECT_TRUE(guard_->SessionEndAsked(20000)) << "no restart was asked for";
    if (screen_.process().WaitForMessageBox() != NULL) {
        screen_.ExpectBox(IDS_ASK_INSTALL, kYesNo, IDNO);
        screen_.ClickInBox(IDNO);
    }
    EXPECT_TRUE(screen_.Ended());
    EXPECT_EQ("", ReadTextFile(machine_.setupLog)) << "no installer was started";
}

// Declined: only Quit can be pressed from then on, tick after tick, and a click on Play does nothing.
TEST_F(RestartAfterDirectXSetup, DeclinedLeavesOnlyQuit) {
    screen_.ClickInBox(IDNO);
    screen_.ExpectBox(IDS_ASK_INSTALL, kYesNo, IDNO);
    screen_.KeyInBox(VK_RETURN);
    screen_.ExpectControls(kOnlyQuit, IDC_INSTALL);
    Click(screen_.Control(IDC_PLAY));
    Sleep(1500);
    EXPECT_EQ(kOnlyQuit, EnabledStates(screen_.Dialog()));
    EXPECT_EQ(0u, screen_.BoxesShown());
    EXPECT_TRUE(game_->Starts().empty());
    EXPECT_FALSE(guard_->SessionEndAsked(0));
    Click(screen_.Control(IDCANCEL));
    EXPECT_TRUE(screen_.Ended());
}

// An installation abandoned half-way (its installer never ends the handshake) leaves the launcher
// waiting; opening the launcher again from the disc ends that wait, and both find the game the
// installer put on the disk.
TEST_F(Journey, SecondLauncherEndsTheFirstOnesWait) {
    Machine machine = PutCdInDrive("second launcher", {false, true, "", {{"end", "keep"}}});
    machine.ReleaseInstaller();

    Screen first;
    ASSERT_TRUE(first.Open());
    first.ExpectControls(kAll, IDCANCEL);
    first.InstallWithoutDirectX();
    ASSERT_TRUE(machine.InstallerLogged("left the handshake as it was"));
    Sleep(1500);
    first.ExpectControls(kOnlyQuit, IDCANCEL);
    EXPECT_EQ("TRUE", Record("IsRunningIS"));

    Screen second;
    ASSERT_TRUE(second.Open());
    second.ExpectControls(kAll, IDC_PLAY);
    first.ExpectControls(kAll, IDC_PLAY);
    EXPECT_EQ("FALSE", Record("IsRunningIS"));

    PressKey(second.Dialog(), VK_ESCAPE);
    EXPECT_TRUE(second.Ended());
    PressKey(first.Dialog(), VK_ESCAPE);
    EXPECT_TRUE(first.Ended());
}

} // namespace
