#include "install_support.h"

#include "paths.h"
#include "process_driver.h"
#include "registry/records.h"
#include "registry_scratch.h"
#include "resource.h"
#include "wait.h"

#include <aclapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    char buffer[4096];
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    if (length > 0 && length < sizeof(buffer)) {
        had_ = true;
        previous_ = buffer;
    }
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedEnv::~ScopedEnv() {
    SetEnvironmentVariableA(name_.c_str(), had_ ? previous_.c_str() : NULL);
}

NativeDirectSound::NativeDirectSound(const std::string& exeName)
    : key_("Software\\Wine\\AppDefaults\\" + exeName + "\\DllOverrides") {
    PutString(HKEY_CURRENT_USER, key_, "dsound", "native");
}

NativeDirectSound::~NativeDirectSound() {
    DeleteTree(HKEY_CURRENT_USER, key_);
}

// A child run of a test executable is a copy elsewhere; it is told where the real one lies.
std::string TestBinDir() {
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof(path));
    std::string dir = path;
    return EnvOr("SK_TEST_BIN", dir.substr(0, dir.rfind('\\')));
}

std::string DirectSoundFixture(const std::string& name) {
    std::string bin = TestBinDir();
    return bin.substr(0, bin.rfind('\\')) + "\\fixtures\\dsound-" + name + "\\dsound.dll";
}

DirectXSetupStandIn::DirectXSetupStandIn(const std::string& name, int answer)
    : path_(MakeScratchDir("dsetup-" + name) + "\\calls.txt"), log_("SK_DSETUP_LOG", path_),
      result_("SK_DSETUP_RESULT", std::to_string(answer)) {}

void DirectXSetupStandIn::Answer(int answer) {
    SetEnvironmentVariableA("SK_DSETUP_RESULT", std::to_string(answer).c_str());
}

std::vector<DirectXSetupCall> DirectXSetupStandIn::Calls() const {
    static const int kControls[] = {IDC_INSTALL, IDC_UNINSTALL, IDC_FAST_VIDEO, IDC_SAFE_VIDEO, IDC_PLAY, IDCANCEL};
    std::vector<DirectXSetupCall> calls;
    std::istringstream lines(ReadTextFile(path_));
    std::string line;
    while (std::getline(lines, line)) {
        DirectXSetupCall call;
        char root[1024] = "";
        int visible = 0;
        int consumed = 0;
        if (std::sscanf(line.c_str(), "hwnd=%lX root=%1023s flags=%lX visible=%d enabled:%n", &call.hwnd, root,
                        &call.flags, &visible, &consumed) < 4)
            continue;
        call.root = root;
        call.visible = visible != 0;
        std::istringstream ids(line.substr(consumed));
        int id;
        while (ids >> id) {
            if (std::find(std::begin(kControls), std::end(kControls), id) != std::end(kControls))
                call.enabled.push_back(id);
        }
        std::sort(call.enabled.begin(), call.enabled.end());
        calls.push_back(call);
    }
    return calls;
}

std::string PlaceInstaller(const std::string& setupDir,
                           const std::vector<std::pair<std::string, std::string>>& settings) {
    CreateDirectoryA(setupDir.c_str(), NULL);
    std::string exe = setupDir + "\\setup.exe";
    if (!CopyFileTo(TestBinDir() + "\\setup.exe", exe))
        return "";
    std::string ini = "[installer]\r\n";
    for (const auto& setting : settings)
        ini += setting.first + "=" + setting.second + "\r\n";
    WriteTextFile(setupDir + "\\setup.ini", ini);
    return exe;
}

void WriteFileWithFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), NULL);
    WriteTextFile(path, "x");
}

bool WaitForFileText(const std::string& path, const std::string& text, DWORD timeoutMs) {
    return WaitUntil([&] { return ReadTextFile(path).find(text) != std::string::npos; }, timeoutMs);
}

void RemoveLauncherRecords() {
    DeleteTree(HKEY_LOCAL_MACHINE, SK_COMPANY_KEY);
    DeleteTree(HKEY_LOCAL_MACHINE, SK_UNINSTALL_KEY);
}

// A DACL on the key itself: with a present DACL, whoever is not named gets nothing.
static bool SetProductKeyAccess(bool readOnly) {
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SK_PRODUCT_KEY, 0, READ_CONTROL | WRITE_DAC, &hKey) != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    alignas(DWORD) char aclBuffer[256];
    ACL* acl = (ACL*)aclBuffer;
    PSID everyone = NULL;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    bool ok = false;
    if (readOnly) {
        ok = InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION) &&
             AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone) &&
             AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone) &&
             SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    } else {
        ok = SetSecurityDescriptorDacl(&sd, FALSE, NULL, FALSE);
    }
    if (ok)
        ok = RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    if (everyone != NULL)
        FreeSid(everyone);
    RegCloseKey(hKey);
    return ok;
}

ReadOnlyProductKey::ReadOnlyProductKey() {
    PutString(HKEY_LOCAL_MACHINE, SK_PRODUCT_KEY, "IsRunningIS", "FALSE");
    if (!SetProductKeyAccess(true))
        return;
    HKEY hKey;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, SK_PRODUCT_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &hKey, NULL);
    if (result == ERROR_SUCCESS)
        RegCloseKey(hKey);
    locked_ = result == ERROR_ACCESS_DENIED;
}

ReadOnlyProductKey::~ReadOnlyProductKey() {
    SetProductKeyAccess(false);
    RemoveLauncherRecords();
}

int RunTestsInChild(const std::string& filter, const std::string& exeName, const std::string& wineVersion,
                    std::string* output, DWORD timeoutMs) {
    std::string dir = MakeScratchDir("child-" + exeName);
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof(self));
    std::string exe = dir + "\\" + exeName;
    if (!CopyFileTo(self, exe) || !CopyFileTo(TestBinDir() + "\\dsetup.dll", dir + "\\dsetup.dll"))
        return -1;
    SetWineVersionFor(exeName, wineVersion);
    std::string bin = TestBinDir();
    ScopedEnv binForChild("SK_TEST_BIN", bin);
    ScopedEnv tmpForChild("SK_TEST_TMP", EnvOr("SK_TEST_TMP", bin.substr(0, bin.rfind('\\')) + "\\test-tmp"));
    std::string command = "\"" + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=" + filter;
    // The child's output goes to a file, which the caller gets back to show with a failure.
    std::string outputPath = dir + "\\output.txt";
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), NULL, TRUE};
    HANDLE hOutput = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = hOutput;
    si.hStdError = hOutput;
    PROCESS_INFORMATION pi{};
    int exitCode = -1;
    if (CreateProcessA(exe.c_str(), &command[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi)) {
        if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(pi.hProcess, &code);
            exitCode = (int)code;
        } else {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, 5000);
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (hOutput != INVALID_HANDLE_VALUE)
        CloseHandle(hOutput);
    std::string printed = ReadTextFile(outputPath);
    // A filter that matches nothing passes too.
    if (exitCode == 0 && printed.find("[       OK ]") == std::string::npos)
        exitCode = -2;
    if (output != nullptr)
        *output = printed;
    SetWineVersionFor(exeName, "");
    return exitCode;
}
