// Helpers of the install-flow tests: the environment that the launcher and the programs it starts
// inherit, the DirectX setup stand-in (dsetup.dll) with its record of calls, the DirectSound and
// installer fixtures, a product key that cannot be opened for writing, and running tests of this
// executable in a child process under other Wine settings.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Sets an environment variable of this process, and so of every program it starts, for the lifetime
// of the object; the previous value (or its absence) comes back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    bool had_ = false;
    std::string previous_;
};

// While alive, the program with this file name loads a native dsound.dll (one of its own folder, or
// one already loaded) instead of Wine's builtin DirectSound: the DllOverrides of Wine's per-program
// settings say dsound=native. (WINEDLLOVERRIDES set by a Windows process does not reach the
// programs it starts: Wine reads it from the Unix environment.)
class NativeDirectSound {
public:
    explicit NativeDirectSound(const std::string& exeName);
    ~NativeDirectSound();
    NativeDirectSound(const NativeDirectSound&) = delete;
    NativeDirectSound& operator=(const NativeDirectSound&) = delete;

private:
    std::string key_;
};

// <build>\fixtures\dsound-<name>\dsound.dll (tests/fixtures/CMakeLists.txt names the builds).
std::string DirectSoundFixture(const std::string& name);

// The folder of the test executables, launcher.exe and the fixture programs.
std::string TestBinDir();

// One call of DirectXSetupA as the stand-in recorded it.
struct DirectXSetupCall {
    unsigned long hwnd = 0;
    std::string root;
    unsigned long flags = 0;
    bool visible = false;
    std::vector<int> enabled; // the launcher's six controls that were enabled during the call, sorted
};

// While alive, dsetup.dll answers the chosen code and records its calls to a file of its own.
class DirectXSetupStandIn {
public:
    DirectXSetupStandIn(const std::string& name, int answer);
    void Answer(int answer);
    std::vector<DirectXSetupCall> Calls() const;

private:
    std::string path_;
    ScopedEnv log_;
    ScopedEnv result_;
};

// Puts the installer fixture (setup.exe) into setupDir with a setup.ini of the given settings
// (tests/fixtures/installer/setup.c lists them). Answers setup.exe's path.
std::string PlaceInstaller(const std::string& setupDir,
                           const std::vector<std::pair<std::string, std::string>>& settings);
// Writes a small file at path, creating the folders above it.
void WriteFileWithFolders(const std::string& path);
// Waits until the file at path holds text; answers whether it did within the time.
bool WaitForFileText(const std::string& path, const std::string& text, DWORD timeoutMs = 20000);

// The launcher's records removed: the product key with its parents, and the uninstall key.
void RemoveLauncherRecords();

// While alive, the product key exists with "IsRunningIS" = "FALSE" but grants everyone read access
// only, so every open with full access (the launcher's only kind) fails. The key is deleted after.
class ReadOnlyProductKey {
public:
    ReadOnlyProductKey();
    ~ReadOnlyProductKey();
    bool locked() const { return locked_; }

private:
    bool locked_ = false;
};

// Runs the tests of this executable that match filter (disabled ones included) in a child process:
// a copy of this executable named exeName, with dsetup.dll beside it, under the Windows version that
// Wine reports to that name ("" for the prefix's own). The child inherits this process's environment.
// Answers the child's exit code (0: all passed), -1 when it could not be started or did not end in
// time, -2 when no test ran; output receives what the child printed.
int RunTestsInChild(const std::string& filter, const std::string& exeName, const std::string& wineVersion,
                    std::string* output, DWORD timeoutMs = 60000);
