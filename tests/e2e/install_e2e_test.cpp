// The DirectX check and the install flow on the real launcher.exe: DirectSound stand-ins beside it,
// dsetup.dll answering from the environment, and the installer fixture (setup.exe and its engine)
// run to the end of the registry handshake.
#include "install_support.h"
#include "message_boxes.h"
#include "paths.h"
#include "process_driver.h"
#include "registry/records.h"
#include "registry_scratch.h"
#include "resource.h"
#include "wait.h"

#include "dialog_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

const HKEY kHklm = HKEY_LOCAL_MACHINE;
// Install, Uninstall, Fast Video, Safe Video, Play, Quit.
const std::vector<bool> kBusy = {false, false, false, false, false, true};
const std::vector<bool> kDirectXNeeded = {true, true, false, false, false, true};
const std::vector<bool> kAll = {true, true, true, true, true, true};

std::string RegistryText(const char* name) {
    return GetValue(kHklm, SK_PRODUCT_KEY, name).bytes.c_str();
}

// Waits for a box of the launcher other than the one just answered; checks its text and buttons.
HWND ExpectBox(const ProcessDriver& launcher, UINT textId, std::vector<int> buttons, int defaultId,
               HWND hPrevious = NULL) {
    HWND hBox = launcher.WaitForWindow([hPrevious](HWND h) { return h != hPrevious && IsMessageBox(h); });
    if (hBox == NULL) {
        ADD_FAILURE() << "no box with string " << textId;
        return NULL;
    }
    BoxView box = ReadBox(hBox);
    EXPECT_EQ(Text(textId), box.text);
    EXPECT_EQ("Skellion Setup", box.caption);
    EXPECT_EQ(buttons, box.buttons) << "string " << textId;
    EXPECT_EQ(defaultId, box.defaultId) << "string " << textId;
    EXPECT_TRUE(box.hasIcon) << "string " << textId;
    return hBox;
}

// Presses a button of a box and waits until the box has gone.
void Answer(HWND hBox, int id) {
    if (hBox == NULL)
        return;
    PressButton(hBox, id);
    EXPECT_TRUE(WaitUntil([hBox] { return !IsWindow(hBox) || !IsWindowVisible(hBox); }, 20000));
}

const std::vector<int> kYesNo = {IDYES, IDNO};
const std::vector<int> kOkOnly = {IDOK};

// The development drives must not offer an installer or a game of their own.
void ClearDevelopmentDrives() {
    DeleteFileA("S:\\setups\\sk2\\setup\\setup.exe");
    DeleteFileA("D:\\vorrow\\engine\\src\\win32_rl\\vorrow.exe");
}

class InstallE2e : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveLauncherRecords();
        ClearDevelopmentDrives();
    }
    void TearDown() override { RemoveLauncherRecords(); }
};

// A folder laid out like the CD: the launcher (under a name of its own, for Wine's per-program
// settings), optionally a DirectSound stand-in beside it, and the installer in setup\.
struct Cd {
    std::string dir;
    std::string exeName;
    std::string exe;
    std::string root; // where the installer installs the game
    std::string log;  // the installer's record of its steps
};

Cd MakeCd(const std::string& name, const std::string& dsoundFixture) {
    Cd cd;
    cd.dir = MakeScratchDir("install-" + name);
    cd.exeName = "launcher_" + name + ".exe";
    cd.exe = CopyLauncherTo(cd.dir, cd.exeName);
    EXPECT_NE("", cd.exe);
    if (!dsoundFixture.empty())
        EXPECT_TRUE(CopyFileTo(DirectSoundFixture(dsoundFixture), cd.dir + "\\dsound.dll"));
    cd.root = cd.dir + "\\installed";
    cd.log = cd.dir + "\\setup.log";
    return cd;
}

// The installer: setup.exe runs for a while, its engine waits for "TRUE", installs the game fixture
// under cd.root, writes "Root" and, after a while, writes "FALSE". extra replaces or adds settings.
void PlaceCdInstaller(const Cd& cd, const std::vector<std::pair<std::string, std::string>>& extra = {}) {
    std::vector<std::pair<std::string, std::string>> settings = {
        {"root", cd.root},          {"game", TestBinDir() + "\\vorrow.exe"},
        {"exit_delay_ms", "1500"},  {"handshake_delay_ms", "1500"},
        {"wait_limit_ms", "30000"}, {"log", cd.log},
    };
    for (const auto& setting : extra) {
        auto same =
            std::find_if(settings.begin(), settings.end(), [&](const auto& s) { return s.first == setting.first; });
        if (same != settings.end())
            same->second = setting.second;
        else
            settings.push_back(setting);
    }
    EXPECT_NE("", PlaceInstaller(cd.dir + "\\setup", settings));
}

// After Yes to string 17: busy while the installer runs, busy while the launcher waits for the
// handshake ("TRUE" written), then the game under the new "Root" is found and the given row applies.
void ExpectInstallerRunToTheEnd(HWND hDialog, const Cd& cd, const std::vector<bool>& enabled, int defaultId) {
    EXPECT_TRUE(WaitForControls(hDialog, kBusy)) << "installer running";
    ASSERT_TRUE(WaitUntil([] { return RegistryText("IsRunningIS") == "TRUE"; })) << ReadTextFile(cd.log);
    EXPECT_EQ(kBusy, EnabledStates(hDialog)) << "waiting for the handshake";
    ASSERT_TRUE(WaitForFileText(cd.log, "wrote IsRunningIS=FALSE")) << ReadTextFile(cd.log);
    EXPECT_TRUE(WaitForControls(hDialog, enabled, defaultId));
    EXPECT_EQ(enabled, EnabledStates(hDialog));
    EXPECT_EQ(defaultId, DefaultId(hDialog));
    EXPECT_EQ(cd.root, RegistryText("Root"));
}

} // namespace

// dsetup.dll is bound when launcher.exe is loaded: without it, the process cannot start at all.
TEST_F(InstallE2e, LauncherCannotStartWithoutTheDirectXSetupLibrary) {
    std::string dir = MakeScratchDir("install-no dsetup");
    ASSERT_TRUE(CopyFileTo(LauncherExe(), dir + "\\launcher.exe"));
    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(dir + "\\launcher.exe"));
    DWORD exitCode = 0;
    ASSERT_TRUE(launcher.WaitForExit(20000, &exitCode));
    EXPECT_EQ(0xC0000135u, exitCode) << "STATUS_DLL_NOT_FOUND";
}

// The product version of the DirectSound that Wine gives a program that asks for "dsound".
std::string WinesOwnDirectSoundVersion() {
    HMODULE hDirectSound = LoadLibraryA("dsound");
    if (hDirectSound == NULL)
        return "not loaded";
    char path[MAX_PATH];
    GetModuleFileNameA(hDirectSound, path, sizeof(path));
    FreeLibrary(hDirectSound);
    DWORD unused;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &unused));
    VS_FIXEDFILEINFO* info;
    UINT length;
    if (block.empty() || !GetFileVersionInfoA(path, 0, (DWORD)block.size(), block.data()) ||
        !VerQueryValueA(block.data(), "\\", (void**)&info, &length))
        return "no version";
    return std::to_string(HIWORD(info->dwProductVersionMS)) + "." + std::to_string(LOWORD(info->dwProductVersionMS)) +
           "." + std::to_string(HIWORD(info->dwProductVersionLS)) + "." +
           std::to_string(LOWORD(info->dwProductVersionLS));
}

struct DirectSoundCase {
    const char* name;
    const char* fixture; // "": Wine's own DirectSound
    bool needed;
};

// Names the row in CTest's list of tests.
void PrintTo(const DirectSoundCase& c, std::ostream* os) {
    *os << (*c.fixture != '\0' ? c.fixture : "Wine's own");
}

class DirectSoundCheck : public InstallE2e, public ::testing::WithParamInterface<DirectSoundCase> {};

// The opening's DirectX check on the launcher.exe: a DirectSound that is missing or older than
// 4.4.0.68 (product version) brings the install offer before the dialog and leaves Install,
// Uninstall and Quit; any other leaves every control enabled.
TEST_P(DirectSoundCheck, DecidesWhetherDirectXIsNeeded) {
    const DirectSoundCase& c = GetParam();
    Cd cd = MakeCd(std::string("dsound-") + c.name, c.fixture);
    std::unique_ptr<NativeDirectSound> native;
    if (*c.fixture != '\0')
        native.reset(new NativeDirectSound(cd.exeName));
    else
        EXPECT_EQ("5.3.1.904", WinesOwnDirectSoundVersion());

    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(cd.exe));
    HWND hFirst = launcher.WaitForWindow([](HWND h) { return IsMessageBox(h) || GetDlgItem(h, IDCANCEL) != NULL; });
    ASSERT_NE(nullptr, hFirst);
    EXPECT_EQ(c.needed, IsMessageBox(hFirst) != 0) << "the install offer comes first exactly when DirectX is needed";
    if (IsMessageBox(hFirst)) {
        HWND hAsk = ExpectBox(launcher, IDS_ASK_DIRECTX, kYesNo, IDYES);
        Answer(hAsk, IDNO);
        Answer(ExpectBox(launcher, IDS_ASK_INSTALL, kYesNo, IDNO, hAsk), IDNO);
    }
    HWND hDialog = launcher.WaitForLauncherDialog();
    ASSERT_NE(nullptr, hDialog);
    EXPECT_EQ(c.needed ? kDirectXNeeded : kAll, EnabledStates(hDialog));
    EXPECT_EQ(c.needed ? IDC_INSTALL : IDCANCEL, DefaultId(hDialog));
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
}

const DirectSoundCase kDirectSoundCases[] = {
    {"cannot_be_loaded", "refuses", true},
    {"product_4_3_0_1096", "4.3.0.1096", true},
    {"product_4_4_0_67", "4.4.0.67", true},
    {"product_4_4_0_68", "4.4.0.68", false},
    {"product_4_4_0_70", "4.4.0.70", false},
    {"product_4_5_0_0", "4.5.0.0", false},
    {"product_32768_0_0_0", "32768.0.0.0", false},
    {"file_new_product_old", "product-old-file-new", true},
    {"file_old_product_new", "product-new-file-old", false},
    {"no_version_information", "no-version", false},
    {"wines_own_5_3_1_904", "", false},
};
INSTANTIATE_TEST_SUITE_P(, DirectSoundCheck, ::testing::ValuesIn(kDirectSoundCases),
                         [](const ::testing::TestParamInfo<DirectSoundCase>& info) { return info.param.name; });

class InstallerRun : public InstallE2e, public ::testing::WithParamInterface<int> {};

// Install on a machine with DirectX in place: No to DirectX, Yes to the installer, which exits with
// the given status and ends the handshake later; then the newly installed game is found and Play is
// the default. The installer gets no arguments and the launcher's current directory.
TEST_P(InstallerRun, ToTheEndOfTheHandshake) {
    Cd cd = MakeCd("installer-exit-" + std::to_string(GetParam()), "");
    PlaceCdInstaller(cd, {{"exit_code", std::to_string(GetParam())}});
    std::string cwd = MakeScratchDir("install-launcher cwd");

    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(cd.exe, "", cwd));
    HWND hDialog = launcher.WaitForLauncherDialog();
    ASSERT_NE(nullptr, hDialog);
    EXPECT_EQ(kAll, EnabledStates(hDialog));
    EXPECT_EQ(IDCANCEL, DefaultId(hDialog));

    PressButton(hDialog, IDC_INSTALL);
    HWND hAsk = ExpectBox(launcher, IDS_ASK_DIRECTX, kYesNo, IDYES);
    ASSERT_NE(nullptr, hAsk);
    EXPECT_EQ(hDialog, ReadBox(hAsk).owner);
    Answer(hAsk, IDNO);
    Answer(ExpectBox(launcher, IDS_ASK_INSTALL, kYesNo, IDNO, hAsk), IDYES);
    ExpectInstallerRunToTheEnd(hDialog, cd, kAll, IDC_PLAY);

    std::string log = ReadTextFile(cd.log);
    EXPECT_NE(std::string::npos, log.find("setup arguments=[]\n")) << log;
    EXPECT_NE(std::string::npos, log.find("setup directory=" + cwd + "\n")) << log;
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(ExitStatus, InstallerRun, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param); });

// An installer whose own exit status is 259 (STILL_ACTIVE) counts as running for ever: the launcher
// never writes "TRUE", and Quit stays the only choice.
TEST_F(InstallE2e, InstallerExitingWith259CountsAsRunningForEver) {
    Cd cd = MakeCd("installer-259", "");
    PlaceCdInstaller(cd, {{"exit_code", "259"}, {"exit_delay_ms", "0"}, {"work", "none"}});
    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(cd.exe));
    HWND hDialog = launcher.WaitForLauncherDialog();
    ASSERT_NE(nullptr, hDialog);
    PressButton(hDialog, IDC_INSTALL);
    HWND hAsk = ExpectBox(launcher, IDS_ASK_DIRECTX, kYesNo, IDYES);
    Answer(hAsk, IDNO);
    Answer(ExpectBox(launcher, IDS_ASK_INSTALL, kYesNo, IDNO, hAsk), IDYES);
    ASSERT_TRUE(WaitForFileText(cd.log, "setup exits"));
    EXPECT_TRUE(WaitForControls(hDialog, kBusy));
    Sleep(3000);
    EXPECT_EQ(kBusy, EnabledStates(hDialog));
    EXPECT_EQ("FALSE", RegistryText("IsRunningIS"));
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
}

// No installer on the CD or the development drive: Yes to string 17 shows the launch error naming
// setup.exe; the dialog is as it was and Install can be pressed again.
TEST_F(InstallE2e, NoInstallerFoundShowsTheLaunchError) {
    Cd cd = MakeCd("no-installer", "");
    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(cd.exe));
    HWND hDialog = launcher.WaitForLauncherDialog();
    ASSERT_NE(nullptr, hDialog);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        PressButton(hDialog, IDC_INSTALL);
        HWND hAsk = ExpectBox(launcher, IDS_ASK_DIRECTX, kYesNo, IDYES);
        Answer(hAsk, IDNO);
        HWND hInstall = ExpectBox(launcher, IDS_ASK_INSTALL, kYesNo, IDNO, hAsk);
        Answer(hInstall, IDYES);
        HWND hError = launcher.WaitForWindow([hInstall](HWND h) { return h != hInstall && IsMessageBox(h); });
        ASSERT_NE(nullptr, hError);
        BoxView error = ReadBox(hError);
        EXPECT_EQ("Error: unable to launch setup.exe.\n\nPlease make sure the Skellion CD is in your CD-ROM drive.",
                  error.text);
        EXPECT_EQ(kOkOnly, error.buttons);
        EXPECT_EQ(hDialog, error.owner);
        Answer(hError, IDOK);
        EXPECT_EQ(kAll, EnabledStates(hDialog));
        EXPECT_EQ(IDCANCEL, DefaultId(hDialog));
    }
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
}

// The product key cannot be opened for writing: the launcher's "TRUE" does not take, so the tick that
// sees the installer's exit ends the wait and finds the game the installer put on the CD's folder.
TEST_F(InstallE2e, WriteOfTrueThatDoesNotTakeEndsTheWait) {
    ReadOnlyProductKey locked;
    ASSERT_TRUE(locked.locked());
    Cd cd = MakeCd("installer-locked-key", "");
    PlaceCdInstaller(cd, {{"work", "self"}, {"root", cd.dir}, {"write_root", "0"}, {"end", "keep"}});
    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(cd.exe));
    HWND hDialog = launcher.WaitForLauncherDialog();
    ASSERT_NE(nullptr, hDialog);
    EXPECT_EQ(IDCANCEL, DefaultId(hDialog)) << "no game at opening";
    PressButton(hDialog, IDC_INSTALL);
    HWND hAsk = ExpectBox(launcher, IDS_ASK_DIRECTX, kYesNo, IDYES);
    Answer(hAsk, IDNO);
    Answer(ExpectBox(launcher, IDS_ASK_INSTALL, kYesNo, IDNO, hAsk), IDYES);
    ASSERT_TRUE(WaitForFileText(cd.log, "setup exits"));
    EXPECT_TRUE(WaitForControls(hDialog, kAll, IDC_PLAY)) << ReadTextFile(cd.log);
    EXPECT_EQ("FALSE", RegistryText("IsRunningIS"));
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
}

// An old DirectSound: the install flow is offered inside the opening, before the dialog is on the
// screen; declining both questions leaves the DirectX-needed state, and the ticks ask nothing.
TEST_F(InstallE2e, OldDirectSoundOffersTheInstallFlowBeforeTheDialogIsShown) {
    Cd cd = MakeCd("offer", "4.4.0.67");
    NativeDirectSound native(cd.exeName);
    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(cd.exe));
    HWND hAsk = ExpectBox(launcher, IDS_ASK_DIRECTX, kYesNo, IDYES);
    ASSERT_NE(nullptr, hAsk);
    HWND hDialog = launcher.LauncherDialogEvenHidden();
    ASSERT_NE(nullptr, hDialog) << "the dialog's window exists, hidden, during the opening";
    EXPECT_FALSE(IsWindowVisible(hDialog));
    EXPECT_EQ(hDialog, ReadBox(hAsk).owner);
    Answer(hAsk, IDNO);
    HWND hInstall = ExpectBox(launcher, IDS_ASK_INSTALL, kYesNo, IDNO, hAsk);
    EXPECT_FALSE(IsWindowVisible(hDialog));
    Answer(hInstall, IDNO);

    ASSERT_EQ(hDialog, launcher.WaitForLauncherDialog());
    Sleep(1500);
    for (HWND hWnd : launcher.Windows())
        EXPECT_FALSE(IsMessageBox(hWnd)) << ReadBox(hWnd).text;
    EXPECT_EQ(kDirectXNeeded, EnabledStates(hDialog));
    EXPECT_EQ(IDC_INSTALL, DefaultId(hDialog));
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
}

// "/u" with an old DirectSound: no install offer; the DirectX-needed state holds, and the first tick
// starts the uninstall flow instead (its question about the launcher's own records).
TEST_F(InstallE2e, SlashUWithOldDirectSoundStartsTheUninstallFlowInstead) {
    Cd cd = MakeCd("slash-u", "4.4.0.67");
    NativeDirectSound native(cd.exeName);
    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(cd.exe, "/u"));
    HWND hDialog = launcher.WaitForLauncherDialog();
    ASSERT_NE(nullptr, hDialog);
    EXPECT_EQ(kDirectXNeeded, EnabledStates(hDialog));
    EXPECT_EQ(IDC_INSTALL, DefaultId(hDialog));
    HWND hAsk = ExpectBox(launcher, IDS_ASK_REMOVE_RECORDS, kYesNo, IDYES);
    Answer(hAsk, IDNO);
    Sleep(1000);
    for (HWND hWnd : launcher.Windows())
        EXPECT_FALSE(IsMessageBox(hWnd)) << ReadBox(hWnd).text;
    EXPECT_EQ(kDirectXNeeded, EnabledStates(hDialog));
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
}

// An old DirectSound, DirectX declined, the installer run to the end: the game is found, but while
// DirectX is needed Play and the video buttons stay disabled and Install is the default.
TEST_F(InstallE2e, DirectXDeclinedThenInstalledGameStillNeedsDirectX) {
    Cd cd = MakeCd("declined-directx", "4.3.0.1096");
    PlaceCdInstaller(cd);
    NativeDirectSound native(cd.exeName);
    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(cd.exe));
    HWND hAsk = ExpectBox(launcher, IDS_ASK_DIRECTX, kYesNo, IDYES);
    Answer(hAsk, IDNO);
    Answer(ExpectBox(launcher, IDS_ASK_INSTALL, kYesNo, IDNO, hAsk), IDYES);
    HWND hDialog = launcher.WaitForLauncherDialog();
    ASSERT_NE(nullptr, hDialog);
    ExpectInstallerRunToTheEnd(hDialog, cd, kDirectXNeeded, IDC_INSTALL);
    PressButton(hDialog, IDCANCEL);
    EXPECT_TRUE(launcher.WaitForExit());
}

// The typical first run from the CD: an old DirectSound, the install flow offered at opening, DirectX
// setup answering 0, the installer run to the end of the handshake, Play the default; Play with Fast
// Video starts the installed game in its engine folder and the launcher closes.
TEST_F(InstallE2e, TypicalFirstRunFromTheCd) {
    Cd cd = MakeCd("first-run", "4.3.0.1096");
    PlaceCdInstaller(cd);
    NativeDirectSound native(cd.exeName);
    DirectXSetupStandIn dsetup("first-run", 0);
    std::string gameRecord = MakeScratchDir("install-first-run-game") + "\\starts.txt";
    ScopedEnv recordGame("SK_GAME_RECORD", gameRecord);

    ProcessDriver launcher;
    ASSERT_TRUE(launcher.Start(cd.exe));
    HWND hAsk = ExpectBox(launcher, IDS_ASK_DIRECTX, kYesNo, IDYES);
    ASSERT_NE(nullptr, hAsk);
    HWND hDialog = launcher.LauncherDialogEvenHidden();
    EXPECT_FALSE(IsWindowVisible(hDialog));
    Answer(hAsk, IDYES);
    Answer(ExpectBox(launcher, IDS_ASK_INSTALL, kYesNo, IDNO, hAsk), IDYES);

    std::vector<DirectXSetupCall> calls = dsetup.Calls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ((unsigned long)(UINT_PTR)hDialog, calls[0].hwnd);
    EXPECT_EQ("(null)", calls[0].root);
    EXPECT_EQ(0xA3Fu, calls[0].flags);
    EXPECT_FALSE(calls[0].visible) << "DirectX setup runs inside the opening";
    EXPECT_EQ(std::vector<int>{IDCANCEL}, calls[0].enabled);

    ASSERT_EQ(hDialog, launcher.WaitForLauncherDialog());
    ExpectInstallerRunToTheEnd(hDialog, cd, kAll, IDC_PLAY);
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(hDialog, IDC_FAST_VIDEO, BM_GETCHECK, 0, 0));

    PressButton(hDialog, IDC_PLAY);
    EXPECT_TRUE(launcher.WaitForExit());
    ASSERT_TRUE(WaitForFileText(gameRecord, "\n.\n"));
    std::string record = ReadTextFile(gameRecord);
    std::string engineDir = cd.root + "\\Vorrow";
    EXPECT_EQ(0u, record.find(engineDir + "\\vorrow.exe\n")) << record;
    EXPECT_NE(std::string::npos, record.find("\n" + engineDir + "\n.\n")) << record;
}
