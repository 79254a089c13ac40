#!/usr/bin/env python3
"""The benchmark's table, from what scripts/bench.sh collected.

Usage: report.py RESULTS_DIR LAUNCHER_EXE LAUNCHER_MAP

RESULTS_DIR holds objdump.txt (objdump -p of launcher.exe), newer-functions.txt, start.tsv, idle.tsv,
handshake.tsv, relay.log (Wine's +pid,+relay,+debugstr trace) and load.txt, as bench.sh writes them.
Prints one Markdown table, then where launcher.exe's bytes come from (the linker's map).
"""

import os
import re
import statistics
import sys
from collections import Counter, defaultdict

SIZE_TARGET = 65536
START_TARGET = 1.15
IDLE_TARGET = 1.2
ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "version.dll", "ole32.dll",
                "msvcrt.dll", "dsetup.dll"}
WAIT_REGISTRY = Counter({"RegCreateKeyExA": 1, "RegQueryValueExA": 2, "RegCloseKey": 1})

FILE_CALL = re.compile(r"^(CreateFile|OpenFile|ReadFile|WriteFile|GetFileAttributes|SetFileAttributes|FindFirstFile|"
                       r"FindNextFile|DeleteFile|CopyFile|MoveFile|GetFileSize|SetFilePointer|CreateDirectory|"
                       r"RemoveDirectory|GetFileVersionInfo|LoadLibrary|GetPrivateProfile|WritePrivateProfile|"
                       r"_l(open|read|write|creat|close)|f(open|close|read|write|gets|puts|printf|seek|flush)|"
                       r"_(w?open|close|read|write|w?stat|access|findfirst|findnext)|GetDiskFreeSpace|GetDriveType)")
PROCESS_CALL = re.compile(r"^(CreateProcess|GetExitCodeProcess|OpenProcess|TerminateProcess|WaitFor|ShellExecute|"
                          r"WinExec|ExitWindowsEx|CloseHandle|DirectXSetup)")


def median(values):
    return statistics.median(values) if values else float("nan")


def quartiles(values):
    if len(values) < 4:
        return min(values), max(values)
    q = statistics.quantiles(values, n=4)
    return q[0], q[2]


def read_tsv(path, kind):
    rows = []
    if not os.path.exists(path):
        return rows
    for line in open(path, encoding="utf-8", errors="replace"):
        fields = line.rstrip("\r\n").split("\t")
        if fields[0] == kind:
            rows.append(fields[1:])
    return rows


def imports(objdump_text):
    """{dll: [functions]} from objdump -p."""
    table = {}
    current = None
    for line in objdump_text.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            current = m.group(1)
            table[current] = []
            continue
        if current is None:
            continue
        m = re.match(r"\s*[0-9a-f]+\s+(\d+)\s+(\S+)\s*$", line)
        if m:
            table[current].append(m.group(2))
        elif line.strip() == "" and table[current]:
            current = None
    return table


def pe_field(objdump_text, name):
    m = re.search(r"^%s\s+(\S+)" % name, objdump_text, re.M)
    return m.group(1) if m else "?"


def newer_functions(path):
    table = {}
    for line in open(path):
        parts = [p.strip() for p in line.split("|")]
        if len(parts) == 4 and parts[0]:
            table[parts[0]] = parts[1:]
    return table


def classify(function):
    if function.startswith("Reg"):
        return "registry"
    if FILE_CALL.match(function):
        return "file"
    if PROCESS_CALL.match(function):
        return "process"
    return "other"


RELAY_LINE = re.compile(r"^(?:(\d+\.\d+):)?([0-9a-f]{4}):[0-9a-f]{4}:(.*)$")


def relay_lines(log_path):
    """(seconds or None, process id, text after the thread id) for each line of a Wine trace."""
    for line in open(log_path, encoding="utf-8", errors="replace"):
        m = RELAY_LINE.match(line.rstrip("\n"))
        if m:
            yield (float(m.group(1)) if m.group(1) else None), m.group(2), m.group(3)


def opening_profile(log_path, pid):
    """Where the launcher's opening goes, from the timestamps of its relay trace: process start to the
    dialog's WM_SHOWWINDOW, CoInitialize, WM_INITDIALOG and the costliest calls made in it."""
    start = shown = None
    spans = {}
    in_init = False
    stack = []
    costly = Counter()
    dialog = None
    for stamp, line_pid, text in relay_lines(log_path):
        if line_pid != pid or stamp is None:
            continue
        if start is None:
            start = stamp
        if text.startswith("Call ole32.CoInitialize("):
            spans["CoInitialize"] = stamp
        elif text.startswith("Ret  ole32.CoInitialize("):
            spans["CoInitialize"] = stamp - spans.get("CoInitialize", stamp)
        elif text.startswith("Call dialog proc ") and "msg=WM_INITDIALOG," in text and dialog is None:
            dialog = re.search(r"hwnd=(\w+)", text).group(1)
            spans["WM_INITDIALOG"] = stamp
            in_init = True
        elif in_init and text.startswith("Ret  dialog proc ") and "msg=WM_INITDIALOG," in text:
            spans["WM_INITDIALOG"] = stamp - spans["WM_INITDIALOG"]
            in_init = False
        elif (dialog and shown is None and text.startswith("Call dialog proc ") and "hwnd=%s," % dialog in text and
              "msg=WM_SHOWWINDOW,wp=00000001" in text):
            shown = stamp
        elif in_init:
            m = re.match(r"^(Call|Ret ) ([\w.]+\.\w+)\((.*)", text)
            if m and m.group(1) == "Call":
                argument = re.search(r'"([^"]*)"', m.group(3))
                name = m.group(2).split(".", 1)[1] + ("(%s)" % argument.group(1) if argument else "")
                stack.append((name, stamp))
            elif m and stack:
                name, began = stack.pop()
                if not stack:
                    costly[name] += stamp - began
    if start is None or shown is None:
        return None
    return shown - start, spans, costly


def relay_ticks(log_path, pid):
    """Timer ticks of the launcher's dialog (WM_TIMER reaching its dialog procedure, outermost) by the
    phase the driver marked around them: {phase: [Counter of calls made from launcher.exe]}."""
    ticks = defaultdict(list)
    phase = None
    depth = 0
    tick = None
    tick_phase = None
    marker = re.compile(r'OutputDebugStringA "bench-mark (\w+)-(begin|end) pid=' + pid + '"')
    call = re.compile(r"^Call ([\w.]+)\.(\w+)\(")
    for stamp, line_pid, line in relay_lines(log_path):
        m = marker.search(line)
        if m and "debugstr" in line:
            phase = m.group(1) if m.group(2) == "begin" else None
            continue
        if line_pid != pid:
            continue
        if line.startswith("Call dialog proc "):
            if depth == 0 and "msg=WM_TIMER," in line:
                tick = Counter()
                tick_phase = phase
            depth += 1
            continue
        if line.startswith("Ret  dialog proc "):
            depth = max(depth - 1, 0)
            if depth == 0 and tick is not None:
                # Only ticks that began and ended inside one marked phase.
                if tick_phase is not None and tick_phase == phase:
                    ticks[tick_phase].append(tick)
                tick = None
            continue
        if tick is not None:
            m = call.match(line)
            if m:
                tick[m.group(2)] += 1
    return ticks


def describe_calls(counter):
    return ", ".join("%s %d" % (name, n) for name, n in sorted(counter.items())) or "none"


def map_contributions(map_path):
    """Bytes per input file (object or archive member) in the output sections, from an ld map."""
    sizes = Counter()
    if not os.path.exists(map_path):
        return sizes
    started = False
    pending = None
    section_line = re.compile(r"^ (\.[\w.$~]+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
    for line in open(map_path, encoding="utf-8", errors="replace"):
        if line.startswith("Linker script and memory map"):
            started = True
            continue
        if not started:
            continue
        m = re.match(r"^ (\.[\w.$~]+)\s*$", line)
        if m:
            pending = m.group(1)
            continue
        m = section_line.match(line)
        if m and (m.group(1) or pending):
            name = m.group(1) or pending
            pending = None
            size = int(m.group(3), 16)
            if size == 0 or name.startswith((".debug", ".stab", ".comment")):
                continue
            origin = m.group(4).strip()
            if origin.startswith("load address") or "=" in origin:
                continue
            sizes[short_origin(origin)] += size
        else:
            pending = None
    return sizes


def map_group(origin):
    if origin.endswith(".rc.res") or ".rc." in origin:
        return "resources (.rsrc)"
    if origin.startswith(".reloc"):
        return "base relocations (.reloc)"
    if re.match(r"lib(launcher_core|skframework)\.a\(|launcher\.dir/", origin):
        return "program code and data"
    if re.match(r"lib(kernel32|user32|gdi32|advapi32|version|ole32|dsetup\w*)\.a\(", origin) or re.match(
            r"libmsvcrt\.a\(\w+\.o\)", origin) and "lib32_libmsvcrt" not in origin:
        return "import tables and thunks"
    return "MinGW and GCC start-up and runtime"


def short_origin(origin):
    m = re.match(r"(.*/)?([^/()]+)\(([^)]+)\)$", origin)
    if m:
        return "%s(%s)" % (m.group(2), m.group(3))
    if origin == "dll stuff":
        return ".reloc (base relocations)"
    return os.path.basename(origin) if origin.startswith("/") else origin.split("CMakeFiles/")[-1]


def main():
    results, launcher, map_path = sys.argv[1:4]
    objdump_text = open(os.path.join(results, "objdump.txt")).read()
    newer = newer_functions(os.path.join(results, "newer-functions.txt"))
    rows = []
    verdicts = []

    def row(measure, ours, base, result, target, met):
        rows.append((measure, ours, base, result, target, met))
        if met in ("yes", "no"):
            verdicts.append((measure, met))

    size = os.path.getsize(launcher)
    row("size of launcher.exe (every resource included)", "%d bytes" % size, "", "%.1f %% of 64 KiB" %
        (100.0 * size / SIZE_TARGET), "<= 65536 bytes", "yes" if size <= SIZE_TARGET else "no")

    table = imports(objdump_text)
    outside = sorted(dll for dll in table if dll.lower() not in ALLOWED_DLLS)
    for dll in sorted(table, key=str.lower):
        functions = table[dll]
        allowed = dll.lower() in ALLOWED_DLLS
        row("imports from %s (%d)" % (dll, len(functions)), ", ".join(functions), "",
            "allowed" if allowed else "NOT ALLOWED", "", "" if allowed else "no")
    row("imported DLLs", ", ".join(sorted(table, key=str.lower)), "",
        "outside the set: " + (", ".join(outside) if outside else "none"),
        "only " + ", ".join(sorted(d[:-4] for d in ALLOWED_DLLS)), "no" if outside else "yes")
    flagged = []
    for functions in table.values():
        for function in functions:
            if function in newer:
                on95, onNT4, first = newer[function]
                flagged.append("%s (Windows 95: %s, NT 4.0: %s; %s)" % (function, on95, onNT4, first))
    missing = [f for f in flagged if "Windows 95: no" in f or "NT 4.0: no" in f]
    subsystem = "%s.%s" % (pe_field(objdump_text, "MajorSubsystemVersion"),
                           pe_field(objdump_text, "MinorSubsystemVersion"))
    row("imports newer than Windows 95 / NT 4.0 (curated list, as documented)", "; ".join(flagged) or "none", "",
        "PE subsystem version %s" % subsystem, "none missing on either; subsystem <= 4.0",
        "yes" if not missing and subsystem in ("4.0", "3.10") else "no")

    start = read_tsv(os.path.join(results, "start.tsv"), "start")
    times = defaultdict(dict)
    for exe, run, ms, _peak in start:
        times[exe][run] = float(ms)
    ours, base = list(times["launcher.exe"].values()), list(times["baseline.exe"].values())
    if ours and base:
        ratio = median(ours) / median(base)
        q_ours, q_base = quartiles(ours), quartiles(base)
        # Each run of the launcher and the baseline run after it shared the machine's load of the moment.
        paired = [times["launcher.exe"][run] / times["baseline.exe"][run] for run in times["launcher.exe"]
                  if run in times["baseline.exe"]]
        row("start to visible dialog, median of %d runs each (alternating)" % min(len(ours), len(base)),
            "%.0f ms (IQR %.0f-%.0f)" % (median(ours), *q_ours), "baseline.exe %.0f ms (IQR %.0f-%.0f)" %
            (median(base), *q_base), "ratio %.2f (median of the %d paired ratios %.2f)" %
            (ratio, len(paired), median(paired)), "<= %.2f" % START_TARGET, "yes" if ratio <= START_TARGET else "no")
    else:
        row("start to visible dialog", "not measured", "", "", "<= %.2f" % START_TARGET, "no")

    idle = read_tsv(os.path.join(results, "idle.tsv"), "idle")
    host_cpu = defaultdict(list)
    thread_cpu = defaultdict(list)
    peaks = defaultdict(list)
    seconds = []
    for exe, host, threads, elapsed, peak in idle:
        host_cpu[exe].append(float(host))
        thread_cpu[exe].append(float(threads))
        peaks[exe].append(int(peak))
        seconds.append(float(elapsed) / 1000)
    ours, base = host_cpu.get("launcher.exe", []), host_cpu.get("baseline_timer.exe", [])
    if ours and base and min(ours + base) >= 0:
        ratio = median(ours) / median(base) if median(base) > 0 else float("inf")
        row("idle CPU over %.0f s, dialog open, median of %d (host schedstat of the process)" %
            (median(seconds), min(len(ours), len(base))),
            "%.1f ms (%s)" % (median(ours), ", ".join("%.1f" % v for v in ours)),
            "baseline_timer.exe %.1f ms (%s)" % (median(base), ", ".join("%.1f" % v for v in base)),
            "ratio %.2f" % ratio, "<= %.1f" % IDLE_TARGET, "yes" if ratio <= IDLE_TARGET else "no")
        row("idle CPU by Wine's GetThreadTimes (10 ms steps), median", "%.0f ms" % median(thread_cpu["launcher.exe"]),
            "baseline_timer.exe %.0f ms" % median(thread_cpu["baseline_timer.exe"]), "", "", "")
    else:
        row("idle CPU", "not measured", "", "", "<= %.1f" % IDLE_TARGET, "no")

    handshake = read_tsv(os.path.join(results, "handshake.tsv"), "handshake")
    if handshake:
        pid = handshake[-1][1]
        ticks = relay_ticks(os.path.join(results, "relay.log"), pid)
        idle_ticks = ticks.get("idle", [])
        touched = Counter()
        for tick in idle_ticks:
            for function, n in tick.items():
                if classify(function) != "other":
                    touched[function] += n
        idle_shapes = Counter(describe_calls(tick) for tick in idle_ticks)
        row("calls in one idle tick (relay trace, %d ticks)" % len(idle_ticks),
            "; ".join("%d x [%s]" % (n, shape) for shape, n in idle_shapes.most_common()) or "none", "",
            "registry/file/process calls: " + describe_calls(touched), "none",
            "yes" if idle_ticks and not touched else "no")
        wait_ticks = ticks.get("wait", [])
        shapes = Counter()
        wrong = 0
        for tick in wait_ticks:
            watched = Counter({f: n for f, n in tick.items() if classify(f) != "other"})
            if watched != WAIT_REGISTRY:
                wrong += 1
            shapes[describe_calls(tick)] += 1
        shape_text = "; ".join("%d x [%s]" % (n, s) for s, n in shapes.most_common())
        row("calls in one tick waiting for the installer handshake (relay trace, %d ticks)" % len(wait_ticks),
            shape_text or "none", "", "%d of %d ticks differ in registry/file/process calls" % (wrong, len(wait_ticks)),
            "RegCreateKeyExA 1, RegQueryValueExA 2, RegCloseKey 1, no other registry/file/process call",
            "yes" if wait_ticks and wrong == 0 and handshake[-1][2] == "waiting" else "no")
        profile = opening_profile(os.path.join(results, "relay.log"), pid)
        if profile:
            shown, spans, costly = profile
            top = ", ".join("%s %.0f ms" % (name, 1000 * t) for name, t in costly.most_common(4))
            row("the opening under the relay trace (one run, slowed by tracing)",
                "dialog shown %.0f ms after process start; CoInitialize %.0f ms; WM_INITDIALOG %.0f ms, of which %s" %
                (1000 * shown, 1000 * spans.get("CoInitialize", 0), 1000 * spans.get("WM_INITDIALOG", 0), top),
                "", "", "(reported)", "")
    else:
        row("calls in one tick", "not measured", "", "", "", "no")

    ours, base = peaks.get("launcher.exe", []), peaks.get("baseline_timer.exe", [])
    if ours and base:
        row("peak working set after %.0f s open (GetProcessMemoryInfo), median" % (median(seconds) + 2),
            "%.2f MiB" % (median(ours) / 2**20), "baseline_timer.exe %.2f MiB" % (median(base) / 2**20),
            "ratio %.3f, +%.0f KiB" % (median(ours) / median(base), (median(ours) - median(base)) / 1024),
            "(reported)", "")
    start_peaks = defaultdict(list)
    for exe, _run, _ms, peak in start:
        start_peaks[exe].append(int(peak))
    if start_peaks.get("launcher.exe") and start_peaks.get("baseline.exe"):
        a, b = median(start_peaks["launcher.exe"]), median(start_peaks["baseline.exe"])
        row("peak working set at visible dialog (GetProcessMemoryInfo), median", "%.2f MiB" % (a / 2**20),
            "baseline.exe %.2f MiB" % (b / 2**20), "ratio %.3f, +%.0f KiB" % (a / b, (a - b) / 1024), "(reported)", "")

    load = open(os.path.join(results, "load.txt")).read().split("\n")
    print("Load average before / after: %s / %s" % (
        load[0].split("load average:")[-1].strip() if load and load[0] else "?",
        load[1].split("load average:")[-1].strip() if len(load) > 1 and load[1] else "?"))
    print()
    print("| measure | launcher.exe | baseline | result | target | met |")
    print("|---|---|---|---|---|---|")
    for r in rows:
        print("| " + " | ".join(cell.replace("|", "/") for cell in r) + " |")
    print()
    missed = [m for m, met in verdicts if met == "no"]
    print("Targets met: %d of %d%s" % (len(verdicts) - len(missed), len(verdicts),
                                       "" if not missed else "; missed: " + "; ".join(missed)))

    contributions = map_contributions(map_path)
    if contributions:
        groups = Counter()
        for origin, nbytes in contributions.items():
            groups[map_group(origin)] += nbytes
        print()
        print("Where launcher.exe's bytes come from (linker map, before the 512-byte file alignment):")
        print("  " + ", ".join("%s %d" % (group, n) for group, n in groups.most_common()))
        for origin, nbytes in contributions.most_common(10):
            print("  %6d  %s" % (nbytes, origin))


if __name__ == "__main__":
    main()
