#include "process_driver.h"

#include "message_boxes.h"

ProcessDriver::~ProcessDriver() {
    if (pi_.hProcess != NULL) {
        if (Running()) {
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, 5000);
        }
        CloseHandle(pi_.hProcess);
    }
    if (pi_.hThread != NULL)
        CloseHandle(pi_.hThread);
}

bool ProcessDriver::Start(const std::string& exePath, const std::string& args, const std::string& cwd) {
    std::string cmd = "\"" + exePath + "\"";
    if (!args.empty())
        cmd += " " + args;
    return StartCommandLine(cmd, cwd);
}

bool ProcessDriver::StartCommandLine(std::string cmd, const std::string& cwd) {
    // The program and whatever it starts get NUL as their standard handles: under Wine a child that
    // outlives the test could otherwise keep CTest's output pipe open, and CTest waits for it.
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), NULL, TRUE};
    HANDLE hNul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              OPEN_EXISTING, 0, NULL);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = hNul;
    BOOL started =
        CreateProcessA(NULL, &cmd[0], NULL, NULL, TRUE, 0, NULL, cwd.empty() ? NULL : cwd.c_str(), &si, &pi_);
    CloseHandle(hNul);
    return started != 0;
}

namespace {
struct EnumState {
    DWORD pid;
    bool includeHidden;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    EnumState* state = (EnumState*)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == state->pid && (state->includeHidden || IsWindowVisible(hWnd)))
        state->found.push_back(hWnd);
    return TRUE;
}
} // namespace

std::vector<HWND> ProcessDriver::Windows(bool includeHidden) const {
    EnumState state{pi_.dwProcessId, includeHidden, {}};
    EnumWindows(CollectWindow, (LPARAM)&state);
    return state.found;
}

HWND ProcessDriver::WaitForWindow(const std::function<bool(HWND)>& pred, DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND hWnd : Windows()) {
            if (pred(hWnd))
                return hWnd;
        }
        if (GetTickCount() - start > timeoutMs || !Running())
            return NULL;
        Sleep(50);
    }
}

HWND ProcessDriver::WaitForMessageBox(DWORD timeoutMs) const {
    return WaitForWindow(IsMessageBox, timeoutMs);
}

HWND ProcessDriver::WaitForLauncherDialog(DWORD timeoutMs) const {
    return WaitForWindow([](HWND hWnd) { return !IsMessageBox(hWnd) && GetDlgItem(hWnd, IDCANCEL) != NULL; },
                         timeoutMs);
}

size_t ProcessDriver::BoxesShown() const {
    size_t boxes = 0;
    for (HWND hWnd : Windows())
        boxes += IsMessageBox(hWnd) ? 1 : 0;
    return boxes;
}

HWND ProcessDriver::LauncherDialogEvenHidden() const {
    for (HWND hWnd : Windows(true)) {
        if (!IsMessageBox(hWnd) && GetDlgItem(hWnd, IDCANCEL) != NULL)
            return hWnd;
    }
    return NULL;
}

bool ProcessDriver::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
    if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode != nullptr)
        GetExitCodeProcess(pi_.hProcess, exitCode);
    return true;
}

bool ProcessDriver::Running() const {
    return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

void SetWineVersionFor(const std::string& exeName, const std::string& version) {
    std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
    if (version.empty()) {
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        return;
    }
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &hKey, NULL) == 0) {
        RegSetValueExA(hKey, "Version", 0, REG_SZ, (const BYTE*)version.c_str(), (DWORD)version.size() + 1);
        RegCloseKey(hKey);
    }
}
