// The benchmark's measuring driver, run under Wine beside the programs it measures. It starts a
// program with CreateProcess, watches for its visible top-level dialog, and reads what the system
// tells about the process (times, working set); it closes the program as Quit would. Its output is one
// tab-separated record per measurement, read by scripts/bench.sh.
//
//   driver start RUNS A.exe B.exe          start to visible dialog, A and B alternately, RUNS each
//                                          (after one unrecorded warm-up run of each: the first
//                                          program of a driver's run opens far more slowly)
//   driver idle SECONDS PAIRS A.exe B.exe  CPU time used with the dialog open and left alone, and the
//                                          peak working set, A and B alternately
//   driver handshake LAUNCHER.exe MS       the launcher idle for MS, then taken through Install into
//                                          the wait for the installer handshake, left there for MS
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "resource.h"

namespace {

const DWORD kWindowTimeoutMs = 60000;

std::string ClassName(HWND hWnd) {
    char szName[64] = "";
    ::GetClassNameA(hWnd, szName, sizeof(szName));
    return szName;
}

std::string WindowText(HWND hWnd) {
    char szText[1024] = "";
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A message box: a dialog whose children are only static text, an icon and push buttons. The
// launcher's dialog has a picture (SS_BITMAP) and radio buttons; the baseline's has no children.
bool IsMessageBox(HWND hWnd) {
    if (ClassName(hWnd) != "#32770")
        return false;
    bool bHasButton = false;
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        std::string cls = ClassName(hChild);
        LONG style = ::GetWindowLongA(hChild, GWL_STYLE);
        if (cls == "Button" && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON)
            bHasButton = true;
        else if (cls != "Static" || (style & SS_TYPEMASK) == SS_BITMAP)
            return false;
    }
    return bHasButton;
}

std::string BoxText(HWND hBox) {
    std::string text;
    for (HWND hChild = ::GetWindow(hBox, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (ClassName(hChild) == "Static" && !WindowText(hChild).empty())
            text = WindowText(hChild);
    }
    return text;
}

struct WindowSearch {
    DWORD pid;
    bool wantBox;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND hWnd, LPARAM lParam) {
    WindowSearch* search = (WindowSearch*)lParam;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != search->pid || !::IsWindowVisible(hWnd) || ClassName(hWnd) != "#32770")
        return TRUE;
    if (IsMessageBox(hWnd) != search->wantBox)
        return TRUE;
    search->found = hWnd;
    return FALSE;
}

HWND FindDialog(DWORD pid, bool wantBox) {
    WindowSearch search = {pid, wantBox, NULL};
    ::EnumWindows(FindWindowOf, (LPARAM)&search);
    return search.found;
}

double Milliseconds(LONGLONG ticks) {
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        ::QueryPerformanceFrequency(&frequency);
    return (double)ticks * 1000.0 / (double)frequency.QuadPart;
}

LONGLONG Now() {
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

// Host-side view of a Wine process, through Wine's Z: drive (the host's root): under qemu-user the
// process is the emulator running that program. The host's schedstat counts CPU time in nanoseconds;
// Wine's own answers (GetThreadTimes) come from /proc in 10 ms clock ticks, too coarse for 30 s of idle.
std::string ReadHostFile(const std::string& path) {
    HANDLE hFile =
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return "";
    std::string text;
    char buffer[4096];
    DWORD read;
    while (::ReadFile(hFile, buffer, sizeof(buffer), &read, NULL) && read > 0)
        text.append(buffer, read);
    ::CloseHandle(hFile);
    return text;
}

std::vector<std::string> HostDirectoryNumbers(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA((dir + "\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (data.cFileName[0] >= '0' && data.cFileName[0] <= '9')
            names.push_back(data.cFileName);
    } while (::FindNextFileA(hFind, &data));
    ::FindClose(hFind);
    return names;
}

// The host process whose command line runs exePath through Wine's loader; empty when none.
std::string FindHostProcess(const std::string& exePath) {
    for (const std::string& pid : HostDirectoryNumbers("Z:\\proc")) {
        std::string cmdline = ReadHostFile("Z:\\proc\\" + pid + "\\cmdline");
        std::vector<std::string> args;
        for (size_t begin = 0; begin < cmdline.size();) {
            size_t end = cmdline.find('\0', begin);
            if (end == std::string::npos)
                end = cmdline.size();
            args.push_back(cmdline.substr(begin, end - begin));
            begin = end + 1;
        }
        for (size_t i = 1; i < args.size(); ++i) {
            std::string loader = BaseName(args[i - 1]);
            if (_stricmp(args[i].c_str(), exePath.c_str()) == 0 && loader.compare(0, 4, "wine") == 0)
                return pid;
        }
    }
    return "";
}

// CPU time used by every thread of a host process, in milliseconds; negative when unknown.
double HostCpuMilliseconds(const std::string& pid) {
    if (pid.empty())
        return -1;
    std::string task = "Z:\\proc\\" + pid + "\\task";
    double total = 0;
    int threads = 0;
    for (const std::string& tid : HostDirectoryNumbers(task)) {
        std::string stat = ReadHostFile(task + "\\" + tid + "\\schedstat");
        if (stat.empty())
            continue;
        total += strtod(stat.c_str(), NULL) / 1e6;
        ++threads;
    }
    return threads > 0 ? total : -1;
}

class Subject {
public:
    ~Subject() {
        if (pi_.hProcess != NULL) {
            if (::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(pi_.hProcess, 1);
                ::WaitForSingleObject(pi_.hProcess, 5000);
            }
            ::CloseHandle(pi_.hProcess);
            ::CloseHandle(pi_.hThread);
        }
    }

    // Starts the program with its own folder as the current one and waits for its visible dialog;
    // answers the time from just before CreateProcess until then, or a negative number.
    double StartAndWaitForDialog(const std::string& exePath) {
        std::string dir = exePath.substr(0, exePath.find_last_of('\\'));
        std::string cmd = "\"" + exePath + "\"";
        STARTUPINFOA si;
        memset(&si, 0, sizeof(si));
        si.cb = sizeof(si);
        LONGLONG start = Now();
        if (!::CreateProcessA(exePath.c_str(), &cmd[0], NULL, NULL, FALSE, 0, NULL, dir.c_str(), &si, &pi_)) {
            fprintf(stderr, "driver: cannot start %s (error %lu)\n", exePath.c_str(), ::GetLastError());
            return -1;
        }
        for (;;) {
            hDialog_ = FindDialog(pi_.dwProcessId, false);
            if (hDialog_ != NULL)
                return Milliseconds(Now() - start);
            HWND hBox = FindDialog(pi_.dwProcessId, true);
            if (hBox != NULL) {
                fprintf(stderr, "driver: %s asked \"%s\" before its dialog\n", exePath.c_str(), BoxText(hBox).c_str());
                return -1;
            }
            if (::WaitForSingleObject(pi_.hProcess, 5) != WAIT_TIMEOUT) {
                fprintf(stderr, "driver: %s ended before showing a dialog\n", exePath.c_str());
                return -1;
            }
            if (Milliseconds(Now() - start) > kWindowTimeoutMs) {
                fprintf(stderr, "driver: no dialog from %s\n", exePath.c_str());
                return -1;
            }
        }
    }

    // The largest working set the process has had so far, in bytes.
    SIZE_T PeakWorkingSet() const {
        PROCESS_MEMORY_COUNTERS counters;
        memset(&counters, 0, sizeof(counters));
        counters.cb = sizeof(counters);
        if (!::GetProcessMemoryInfo(pi_.hProcess, &counters, sizeof(counters)))
            return 0;
        return counters.PeakWorkingSetSize;
    }

    // User and kernel time the process's threads have used, in milliseconds; negative when unknown.
    // Summed over the threads: Wine 8.0 answers GetProcessTimes for another process with the caller's
    // own user and kernel times, while GetThreadTimes reads the thread's times from the host (/proc).
    double CpuMilliseconds() const {
        HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        if (hSnapshot == INVALID_HANDLE_VALUE)
            return -1;
        ULONGLONG total = 0;
        int threads = 0;
        THREADENTRY32 entry;
        entry.dwSize = sizeof(entry);
        for (BOOL bMore = ::Thread32First(hSnapshot, &entry); bMore; bMore = ::Thread32Next(hSnapshot, &entry)) {
            if (entry.th32OwnerProcessID != pi_.dwProcessId)
                continue;
            HANDLE hThread = ::OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
            if (hThread == NULL)
                continue;
            FILETIME created, exited, kernel, user;
            if (::GetThreadTimes(hThread, &created, &exited, &kernel, &user)) {
                total += ((ULONGLONG)kernel.dwHighDateTime << 32 | kernel.dwLowDateTime) +
                         ((ULONGLONG)user.dwHighDateTime << 32 | user.dwLowDateTime);
                ++threads;
            }
            ::CloseHandle(hThread);
        }
        ::CloseHandle(hSnapshot);
        return threads > 0 ? (double)total / 10000.0 : -1;
    }

    // Quit, as the dialog's Cancel command; answers whether the process ended in time.
    bool Close() {
        ::PostMessageA(hDialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return ::WaitForSingleObject(pi_.hProcess, 20000) == WAIT_OBJECT_0;
    }

    // Waits for a message box of the program and presses the button: answers the box's text.
    std::string AnswerBox(int buttonId) const {
        DWORD start = ::GetTickCount();
        for (;;) {
            HWND hBox = FindDialog(pi_.dwProcessId, true);
            if (hBox != NULL) {
                std::string text = BoxText(hBox);
                ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                               (LPARAM)::GetDlgItem(hBox, buttonId));
                // Gone before the next box is looked for, or the same box would be answered twice.
                while (::IsWindow(hBox) && ::GetTickCount() - start < kWindowTimeoutMs)
                    ::Sleep(10);
                return text;
            }
            if (::GetTickCount() - start > kWindowTimeoutMs)
                return "";
            ::Sleep(20);
        }
    }

    DWORD pid() const { return pi_.dwProcessId; }
    HWND dialog() const { return hDialog_; }

private:
    PROCESS_INFORMATION pi_{};
    HWND hDialog_ = NULL;
};

int RunStart(int runs, const std::string& first, const std::string& second) {
    const std::string* order[2] = {&first, &second};
    for (int run = -1; run < runs; ++run) {
        for (const std::string* exe : order) {
            double ms;
            SIZE_T peak;
            {
                Subject subject;
                ms = subject.StartAndWaitForDialog(*exe);
                if (ms < 0)
                    return 1;
                peak = subject.PeakWorkingSet();
                if (!subject.Close()) {
                    fprintf(stderr, "driver: %s did not quit\n", exe->c_str());
                    return 1;
                }
            }
            printf("%s\t%s\t%d\t%.1f\t%lu\n", run >= 0 ? "start" : "warm-up", BaseName(*exe).c_str(), run, ms,
                   (unsigned long)peak);
            fflush(stdout);
            // Let the ended process's teardown finish before the next one is timed.
            ::Sleep(300);
        }
    }
    return 0;
}

// One program's idle cost: CPU time over the given seconds with its dialog open and left alone, by
// the host (schedstat) and by Wine (the threads' times), and its peak working set at the end.
bool MeasureIdle(int seconds, const std::string& exe) {
    Subject subject;
    if (subject.StartAndWaitForDialog(exe) < 0)
        return false;
    std::string hostPid = FindHostProcess(exe);
    // The opening's own work (painting, the first tick) is not idle time.
    ::Sleep(2000);
    double hostBefore = HostCpuMilliseconds(hostPid);
    double threadsBefore = subject.CpuMilliseconds();
    LONGLONG start = Now();
    ::Sleep((DWORD)seconds * 1000);
    double hostAfter = HostCpuMilliseconds(hostPid);
    double threadsAfter = subject.CpuMilliseconds();
    double elapsed = Milliseconds(Now() - start);
    SIZE_T peak = subject.PeakWorkingSet();
    if (!subject.Close())
        fprintf(stderr, "driver: %s did not quit\n", exe.c_str());
    if (threadsBefore < 0 || threadsAfter < 0) {
        fprintf(stderr, "driver: no thread times for %s\n", exe.c_str());
        return false;
    }
    double host = hostBefore >= 0 && hostAfter >= 0 ? hostAfter - hostBefore : -1;
    printf("idle\t%s\t%.2f\t%.1f\t%.1f\t%lu\n", BaseName(exe).c_str(), host, threadsAfter - threadsBefore, elapsed,
           (unsigned long)peak);
    fflush(stdout);
    return true;
}

int RunIdle(int seconds, int pairs, const std::string& first, const std::string& second) {
    for (int pair = 0; pair < pairs; ++pair) {
        if (!MeasureIdle(seconds, first) || !MeasureIdle(seconds, second))
            return 1;
    }
    return 0;
}

std::string LoadLauncherString(const std::string& exe, UINT id) {
    HMODULE hModule = ::LoadLibraryExA(exe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    char szText[512] = "";
    if (hModule != NULL) {
        ::LoadStringA(hModule, id, szText, sizeof(szText));
        ::FreeLibrary(hModule);
    }
    return szText;
}

// The installer handshake's value as the launcher's records hold it.
std::string ReadHandshake() {
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orrindale\\Skellion\\1.0", 0, KEY_READ, &hKey) != 0)
        return "";
    char szValue[64] = "";
    DWORD cbValue = sizeof(szValue) - 1;
    DWORD dwType = 0;
    LONG lResult = ::RegQueryValueExA(hKey, "IsRunningIS", NULL, &dwType, (BYTE*)szValue, &cbValue);
    ::RegCloseKey(hKey);
    return lResult == 0 && dwType == REG_SZ ? szValue : "";
}

// Markers in Wine's debug output (channel debugstr), between which the trace's ticks are counted.
void Mark(const char* pszWhat, DWORD pid) {
    char szLine[128];
    snprintf(szLine, sizeof(szLine), "bench-mark %s pid=%04lx", pszWhat, (unsigned long)pid);
    ::OutputDebugStringA(szLine);
    printf("%s\n", szLine);
    fflush(stdout);
}

int RunHandshake(const std::string& exe, int phaseMs) {
    std::string askDirectX = LoadLauncherString(exe, IDS_ASK_DIRECTX);
    std::string askInstall = LoadLauncherString(exe, IDS_ASK_INSTALL);
    if (askDirectX.empty() || askInstall.empty()) {
        fprintf(stderr, "driver: cannot read the launcher's questions from %s\n", exe.c_str());
        return 1;
    }

    // The first program a session starts pays for more than its own opening (see "driver start");
    // the traced opening is the second.
    {
        Subject warmUp;
        if (warmUp.StartAndWaitForDialog(exe) < 0 || !warmUp.Close())
            return 1;
    }

    Subject subject;
    if (subject.StartAndWaitForDialog(exe) < 0)
        return 1;
    ::Sleep(1000);
    Mark("idle-begin", subject.pid());
    ::Sleep((DWORD)phaseMs);
    Mark("idle-end", subject.pid());

    HWND hInstall = ::GetDlgItem(subject.dialog(), IDC_INSTALL);
    ::PostMessageA(subject.dialog(), WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED), (LPARAM)hInstall);
    const struct {
        const std::string* expected;
        int button;
    } answers[] = {{&askDirectX, IDNO}, {&askInstall, IDYES}};
    for (const auto& answer : answers) {
        std::string text = subject.AnswerBox(answer.button);
        if (text != *answer.expected) {
            fprintf(stderr, "driver: expected the box \"%s\", saw \"%s\"\n", answer.expected->c_str(), text.c_str());
            return 1;
        }
    }

    // The launcher writes "TRUE" on the first tick that finds the installer gone.
    DWORD start = ::GetTickCount();
    while (ReadHandshake() != "TRUE") {
        if (::GetTickCount() - start > kWindowTimeoutMs) {
            fprintf(stderr, "driver: the launcher never started waiting for the installer\n");
            return 1;
        }
        ::Sleep(50);
    }
    // Past the tick that saw the installer end.
    ::Sleep(750);
    Mark("wait-begin", subject.pid());
    ::Sleep((DWORD)phaseMs);
    Mark("wait-end", subject.pid());

    bool bStillWaiting = ReadHandshake() == "TRUE" && !::IsWindowEnabled(hInstall);
    if (!subject.Close())
        fprintf(stderr, "driver: the launcher did not quit\n");
    printf("handshake\t%s\t%04lx\t%s\n", BaseName(exe).c_str(), (unsigned long)subject.pid(),
           bStillWaiting ? "waiting" : "not-waiting");
    return bStillWaiting ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && strcmp(argv[1], "start") == 0)
        return RunStart(atoi(argv[2]), argv[3], argv[4]);
    if (argc == 6 && strcmp(argv[1], "idle") == 0)
        return RunIdle(atoi(argv[2]), atoi(argv[3]), argv[4], argv[5]);
    if (argc == 4 && strcmp(argv[1], "handshake") == 0)
        return RunHandshake(argv[2], atoi(argv[3]));
    fprintf(stderr,
            "usage: driver start RUNS A.exe B.exe | idle SECONDS PAIRS A.exe B.exe | handshake LAUNCHER.exe MS\n");
    return 2;
}
