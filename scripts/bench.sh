#!/usr/bin/env bash
# Measures launcher.exe against a bare dialog program of ours (bench/baseline.cpp) and prints one
# table: size, imports, start to visible dialog, idle CPU, the calls one timer tick makes (Wine's relay
# trace) and peak working set. Installs what is missing, builds into build/ (or $BENCH_BUILD_DIR),
# and runs everything in a Wine prefix of its own, <build>/wineprefix-bench. The table and the raw
# measurements are kept in <build>/bench-results.
#   BENCH_RUNS=15          start-up runs of each program (alternating, after one warm-up run each)
#   BENCH_IDLE_SECONDS=30  length of one idle measurement
#   BENCH_IDLE_PAIRS=3     idle measurements of each program (alternating)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build}
runs=${BENCH_RUNS:-15}
idle_seconds=${BENCH_IDLE_SECONDS:-30}
idle_pairs=${BENCH_IDLE_PAIRS:-3}

bash "$root/scripts/host-setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DSK_BUILD_BENCH=ON >/dev/null
# The installer's stand-in is a test fixture (tests/fixtures/installer): the handshake measurement
# needs a setup.exe that the launcher can start and see end.
targets=$(cmake --build "$build" --target help)
if ! grep -q '^installer:' <<<"$targets"; then
    echo "bench: the installer fixture is not configured; configure $build with BUILD_TESTING=ON" >&2
    exit 1
fi
cmake --build "$build" --target launcher dsetup installer bench_driver bench_baseline bench_baseline_timer

out=$build/bench-results
cd_dir=$build/bench-cd
rm -rf "$out" "$cd_dir"
mkdir -p "$out" "$cd_dir/setup"
# Laid out like the CD: the launcher, dsetup.dll beside it, the installer in setup\.
cp "$build/bin/launcher.exe" "$build/bin/baseline.exe" "$build/bin/baseline_timer.exe" "$cd_dir/"
[ -f "$build/bin/dsetup.dll" ] && cp "$build/bin/dsetup.dll" "$cd_dir/"
cp "$build/bin/setup.exe" "$cd_dir/setup/"
# setup.exe exits at once and nothing ends the handshake: the launcher stays waiting for the installer.
printf '[installer]\r\nwork=none\r\n' >"$cd_dir/setup/setup.ini"
win_cd="Z:${cd_dir//\//\\}"

# Functions that Windows 95 (first release) or Windows NT 4.0 did not have, as far as the Platform
# SDK documentation's requirements tell; a curated list, not a complete one.
#   name | Windows 95 | Windows NT 4.0 | first in
# "no": not exported; "stub": exported, fails (ERROR_CALL_NOT_IMPLEMENTED); "yes": present.
cat >"$out/newer-functions.txt" <<'EOF'
IsDebuggerPresent | no | yes | Windows 98, NT 4.0
GetFileAttributesExA | no | yes | Windows 98, NT 4.0
GetFileAttributesExW | no | yes | Windows 98, NT 4.0
InitializeCriticalSectionAndSpinCount | no | yes | Windows 98, NT 4.0 SP3
SetCriticalSectionSpinCount | no | yes | Windows 98, NT 4.0 SP3
TryEnterCriticalSection | no | yes | NT 4.0 (never on 95/98/Me)
InterlockedCompareExchange | no | yes | Windows 98, NT 4.0
InterlockedExchangeAdd | no | yes | Windows 98, NT 3.51
GetDiskFreeSpaceExA | no | yes | Windows 95 OSR2, NT 4.0
CreateWaitableTimerA | no | yes | Windows 98, NT 4.0
SetWaitableTimer | no | yes | Windows 98, NT 4.0
SignalObjectAndWait | no | yes | NT 4.0 (never on 95/98/Me)
SwitchToThread | no | yes | NT 4.0 (never on 95/98/Me)
CopyFileExA | no | yes | NT 4.0 (never on 95/98/Me)
VirtualAllocEx | no | yes | NT 4.0 (never on 95/98/Me)
ReadDirectoryChangesW | no | yes | NT 3.51 (never on 95/98/Me)
GetProcessTimes | stub | yes | NT 3.5 (not supported on 95/98/Me)
GetProcessMemoryInfo | no | yes | NT 4.0 with psapi.dll
GetLongPathNameA | no | no | Windows 98, Windows 2000
GetFileSizeEx | no | no | Windows 2000
SetFilePointerEx | no | no | Windows 2000
CreateHardLinkA | no | no | Windows 2000
GetConsoleWindow | no | no | Windows 2000
GetModuleHandleExA | no | no | Windows XP
GetModuleHandleExW | no | no | Windows XP
GetNativeSystemInfo | no | no | Windows XP
AttachConsole | no | no | Windows XP
AddVectoredExceptionHandler | no | no | Windows XP
InitializeSListHead | no | no | Windows XP
SetDllDirectoryA | no | no | Windows XP SP1
IsWow64Process | no | no | Windows XP SP2
EncodePointer | no | no | Windows XP SP2
DecodePointer | no | no | Windows XP SP2
FlsAlloc | no | no | Windows Server 2003, Vista
FlsGetValue | no | no | Windows Server 2003, Vista
FlsSetValue | no | no | Windows Server 2003, Vista
InitializeCriticalSectionEx | no | no | Windows Vista
GetTickCount64 | no | no | Windows Vista
K32GetProcessMemoryInfo | no | no | Windows 7
GetSystemTimePreciseAsFileTime | no | no | Windows 8
CreateToolhelp32Snapshot | yes | no | Windows 95, Windows 2000
Process32First | yes | no | Windows 95, Windows 2000
Process32Next | yes | no | Windows 95, Windows 2000
Thread32First | yes | no | Windows 95, Windows 2000
Module32First | yes | no | Windows 95, Windows 2000
GetAncestor | no | yes | Windows 98, NT 4.0 SP4
SendInput | no | yes | Windows 98, NT 4.0 SP3
TrackMouseEvent | no | yes | Windows 98, NT 4.0
GetWindowInfo | no | yes | Windows 98, NT 4.0 SP3 or later
GetTitleBarInfo | no | yes | Windows 98, NT 4.0 SP3 or later
GetGUIThreadInfo | no | yes | Windows 98, NT 4.0 SP3 or later
GetCursorInfo | no | yes | Windows 98, NT 4.0 SP3 or later
RealGetWindowClassA | no | yes | Windows 98, NT 4.0 SP3 or later
AnimateWindow | no | no | Windows 98, Windows 2000
FlashWindowEx | no | no | Windows 98, Windows 2000
MonitorFromWindow | no | no | Windows 98, Windows 2000
MonitorFromPoint | no | no | Windows 98, Windows 2000
GetMonitorInfoA | no | no | Windows 98, Windows 2000
EnumDisplayMonitors | no | no | Windows 98, Windows 2000
AllowSetForegroundWindow | no | no | Windows Me, Windows 2000
LockSetForegroundWindow | no | no | Windows Me, Windows 2000
SetLayeredWindowAttributes | no | no | Windows 2000
UpdateLayeredWindow | no | no | Windows 2000
GetLastInputInfo | no | no | Windows 2000
PrintWindow | no | no | Windows XP
GetWindowLongPtrA | no | no | 64-bit user32 only (a macro for GetWindowLongA on 32-bit)
SetWindowLongPtrA | no | no | 64-bit user32 only (a macro for SetWindowLongA on 32-bit)
SetProcessDPIAware | no | no | Windows Vista
SetLayout | no | no | Windows 98, Windows 2000
SetDCBrushColor | no | no | Windows 2000
SetDCPenColor | no | no | Windows 2000
AddFontResourceExA | no | no | Windows 2000
GetTextExtentExPointI | no | no | Windows 2000
OpenProcessToken | stub | yes | NT 3.1 (not supported on 95/98/Me)
AdjustTokenPrivileges | stub | yes | NT 3.1 (not supported on 95/98/Me)
LookupPrivilegeValueA | stub | yes | NT 3.1 (not supported on 95/98/Me)
RegOpenCurrentUser | no | no | Windows 2000
RegOverridePredefKey | no | no | Windows 2000
ConvertSidToStringSidA | no | no | Windows 2000
CheckTokenMembership | no | no | Windows 2000
RegGetValueA | no | no | Windows Server 2003 SP1, Vista
RegDeleteKeyExA | no | no | Windows XP x64, Vista
RegDeleteTreeA | no | no | Windows Vista
RegSetKeyValueA | no | no | Windows Vista
RegCopyTreeA | no | no | Windows Vista
CoInitializeEx | no | yes | NT 4.0; Windows 95 only with DCOM95
CoCreateInstanceEx | no | yes | NT 4.0; Windows 95 only with DCOM95
CoInitializeSecurity | no | yes | NT 4.0; Windows 95 only with DCOM95
CoWaitForMultipleHandles | no | no | Windows 2000
GetFileVersionInfoExA | no | no | Windows Vista
GetFileVersionInfoSizeExA | no | no | Windows Vista
__iob_func | no | no | msvcrt.dll of Visual C++ .NET (7.0) and Windows XP
___lc_codepage_func | no | no | msvcrt.dll of Visual C++ .NET (7.0) and Windows XP
_vscprintf | no | no | msvcrt.dll of Visual C++ .NET (7.0) and Windows XP
_aligned_malloc | no | no | msvcrt.dll of Visual C++ .NET (7.0) and Windows XP
EOF

objdump=i686-w64-mingw32-objdump
"$objdump" -p "$cd_dir/launcher.exe" >"$out/objdump.txt"

. "$root/scripts/wine-env.sh" "$build/wineprefix-bench"
# A session left over from an interrupted run would never end by itself (it is persistent).
wineserver -k >/dev/null 2>&1 || true
wine_prefix_boot
wineserver -w
# Relay tracing counts only the calls launcher.exe makes itself: the prefix's default
# RelayFromExclude would win over RelayFromInclude, so it goes.
if [ ! -f "$WINEPREFIX/.bench-relay" ]; then
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Debug]\r\n"RelayFromInclude"="launcher.exe"\r\n"RelayFromExclude"=-\r\n' \
        >"$out/relay.reg"
    wine regedit /S "Z:${out//\//\\}\\relay.reg" >/dev/null 2>&1 </dev/null
    wineserver -w
    touch "$WINEPREFIX/.bench-relay"
fi

# One session for the whole benchmark, so that no measured start pays for the wineserver and the
# desktop; its background programs get no pipe of ours.
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineserver -p >/dev/null 2>&1 </dev/null
driver=$build/bin/bench-driver.exe
wine "$driver" >/dev/null 2>&1 </dev/null || true

# The session's services start in the background; a start-up timed while they still run measures them.
prefix_cpu_ticks() {
    local total=0 pid
    for pid in /proc/[0-9]*; do
        grep -qsz "^WINEPREFIX=$WINEPREFIX\$" "$pid/environ" 2>/dev/null || continue
        set -- $(cut -d' ' -f14,15 "$pid/stat" 2>/dev/null || echo 0 0)
        total=$((total + $1 + $2))
    done
    echo "$total"
}
quiet=0
last=$(prefix_cpu_ticks)
for _ in $(seq 1 60); do
    sleep 1
    now=$(prefix_cpu_ticks)
    if [ $((now - last)) -le 3 ]; then
        quiet=$((quiet + 1))
        [ $quiet -ge 3 ] && break
    else
        quiet=0
    fi
    last=$now
done

uptime >"$out/load.txt"
echo "bench: start to visible dialog, $runs runs each" >&2
wine "$driver" start "$runs" "$win_cd\\launcher.exe" "$win_cd\\baseline.exe" >"$out/start.tsv" 2>"$out/start.err" </dev/null ||
    { grep -v 'target signal' "$out/start.err" >&2; exit 1; }
echo "bench: idle CPU, $idle_pairs x $idle_seconds s each" >&2
wine "$driver" idle "$idle_seconds" "$idle_pairs" "$win_cd\\launcher.exe" "$win_cd\\baseline_timer.exe" \
    >"$out/idle.tsv" 2>"$out/idle.err" </dev/null || { grep -v 'target signal' "$out/idle.err" >&2; exit 1; }
echo "bench: relay trace of the timer ticks" >&2
# The driver's own calls stay out of the trace (RelayFromInclude); +debugstr carries its markers.
WINEDEBUG=+timestamp,+pid,+relay,+debugstr wine "$driver" handshake "$win_cd\\launcher.exe" 3000 \
    >"$out/handshake.tsv" 2>"$out/relay.log" </dev/null || { tail -n 20 "$out/relay.log" >&2; exit 1; }
uptime >>"$out/load.txt"

python3 "$root/bench/report.py" "$out" "$cd_dir/launcher.exe" "$build/bench/launcher.map" | tee "$out/table.md"
