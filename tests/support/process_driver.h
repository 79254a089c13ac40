// Drives a real program (launcher.exe) from a test: start it, find its windows by its process id,
// wait for boxes and dialogs, and see it end.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ProcessDriver {
public:
    ProcessDriver() = default;
    ~ProcessDriver(); // ends a process that is still running, closes the handles
    ProcessDriver(const ProcessDriver&) = delete;
    ProcessDriver& operator=(const ProcessDriver&) = delete;

    // Starts exePath with the given arguments (appended after the quoted path) in cwd (empty: ours).
    bool Start(const std::string& exePath, const std::string& args = "", const std::string& cwd = "");
    // Starts a whole command line, as the system runs a registered one: the program is taken from it.
    bool StartCommandLine(std::string commandLine, const std::string& cwd = "");

    // The process's visible top-level windows (with includeHidden, the hidden ones too).
    std::vector<HWND> Windows(bool includeHidden = false) const;
    // Waits until one of its visible top-level windows satisfies pred; NULL after timeoutMs.
    HWND WaitForWindow(const std::function<bool(HWND)>& pred, DWORD timeoutMs = 20000) const;
    HWND WaitForMessageBox(DWORD timeoutMs = 20000) const;
    // The launcher's dialog: a dialog-class window that is not a message box.
    HWND WaitForLauncherDialog(DWORD timeoutMs = 20000) const;
    // The launcher's dialog window as it is now, on the screen or not yet (NULL when it does not exist).
    HWND LauncherDialogEvenHidden() const;

    // How many message boxes of the process are on the screen.
    size_t BoxesShown() const;

    bool WaitForExit(DWORD timeoutMs = 20000, DWORD* exitCode = nullptr) const;
    bool Running() const;
    DWORD pid() const { return pi_.dwProcessId; }

private:
    PROCESS_INFORMATION pi_{};
};

// Makes Wine report the given Windows version ("win31", "nt351", "win95", "nt40", "winxp", "win10"...)
// to programs with this file name. An empty version removes the setting.
void SetWineVersionFor(const std::string& exeName, const std::string& version);
