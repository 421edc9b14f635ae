#!/usr/bin/env python3
"""Prints one table: each command's time beside its floor, with the ratio, and peak memory.

Start-up is measured from outside, as whole processes on the offscreen platform, until the
first window is exposed (the probe ends the process there). Commands are measured in-process
by vantrel_bench (QtTest benchmarks, wall time, median of several runs)."""
import csv
import io
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1])
runs = int(os.environ.get("VANTREL_BENCH_RUNS", "7"))
env = dict(os.environ, QT_QPA_PLATFORM="offscreen", VANTREL_PROBE_FIRST_WINDOW="exit",
           QT_LOGGING_RULES="qt.qpa.*=false")
templates = [f for f in os.listdir(build) if f.endswith((".tpl", ".tps"))]


# The start-up rows keep what the program remembers (the page size) and its drafts in
# folders of their own.
state_home = tempfile.mkdtemp(prefix="vantrel-bench-state-")
cache_home = tempfile.mkdtemp(prefix="vantrel-bench-cache-")
env.update(XDG_STATE_HOME=state_home, XDG_CACHE_HOME=cache_home)


def run_process(cmd, cwd, extra_env=None):
    """Wall time in ms and peak resident memory in MiB of one process run."""
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, cwd=cwd, env=dict(env, **(extra_env or {})), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = (time.perf_counter() - start) * 1000
    if status != 0:
        raise SystemExit(f"{cmd[0]} ended with status {status}")
    return elapsed, usage.ru_maxrss / 1024


def startup(program, complete, first_on_screen=False, count=None, extra_env=None, arguments=()):
    """first_on_screen: nothing remembered, as on the very first start on a screen."""
    times, peaks = [], []
    for _ in range(count or runs):
        with tempfile.TemporaryDirectory() as folder, tempfile.TemporaryDirectory() as fresh_cache:
            exe = os.path.join(folder, os.path.basename(program))
            shutil.copy(program, exe)
            for name in templates:
                shutil.copy(os.path.join(build, name), folder)
            if complete:
                with open(os.path.join(folder, "config.pz"), "w", encoding="utf-8") as f:
                    f.write('<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Config><CorpID>410101</CorpID>'
                            '<ServerPass/><ServerUrl/><LocalPath/><ReportUser/></Config>')
                with open(os.path.join(folder, "410101.dw"), "w", encoding="utf-8") as f:
                    f.write('<?xml version="1.0" encoding="UTF-8"?><CorpInfo><ReportInfo><ReportUser>张三</ReportUser>'
                            '</ReportInfo><Basic><Name>郑州市博物馆</Name></Basic></CorpInfo>')
            more = dict(extra_env or {})
            if first_on_screen:
                more["XDG_CACHE_HOME"] = fresh_cache
            t, m = run_process([exe, *arguments], folder, more)
            times.append(t)
            peaks.append(m)
    return statistics.median(times), max(peaks)


def qtest_rows(args=()):
    out = subprocess.run([os.path.join(build, "bench", "vantrel_bench"), "-csv", *args], env=env,
                         capture_output=True, text=True)
    if out.returncode != 0:
        sys.stderr.write(out.stdout + out.stderr)
        raise SystemExit("vantrel_bench failed")
    rows = {}
    for rec in csv.reader(io.StringIO(out.stdout)):
        if len(rec) >= 5 and rec[2] == "WalltimeMilliseconds":
            name = rec[0].split("::")[-1].strip('"') + (f":{rec[1]}" if rec[1] else "")
            rows[name] = float(rec[3])
    return rows


def peak_of(function):
    _, usage_peak = run_process([os.path.join(build, "bench", "vantrel_bench"), function, "-iterations", "1"], build)
    return usage_peak


table = []
empty_t, empty_m = startup(os.path.join(build, "bench", "vantrel_empty_window"), False)
# The same window with one line of Chinese: the fonts every window with text must load.
text_t, text_m = startup(os.path.join(build, "bench", "vantrel_empty_window"), False, arguments=("--text",))
table.append(("empty window with one line of Chinese", text_t, empty_t, f"{text_m:.0f} MiB"))


def fontconfig_start():
    """fontconfig reading its configuration and cache, alone, in a fresh process: what any
    window with text pays before Qt can choose a font."""
    probe = ("import ctypes, time\n"
             "fc = ctypes.CDLL('libfontconfig.so.1')\n"
             "start = time.perf_counter()\n"
             "fc.FcInit()\n"
             "print((time.perf_counter() - start) * 1000)\n")
    times = [float(subprocess.run([sys.executable, "-c", probe], env=env, capture_output=True, text=True,
                                  check=True).stdout) for _ in range(runs)]
    return statistics.median(times)


table.append(("fontconfig reading its configuration, alone", fontconfig_start(), empty_t, ""))
# A first start that runs to its end (and quits) remembers the page size for the rows after it.
startup(os.path.join(build, "vantrel-probed"), True, count=1,
        extra_env={"VANTREL_PROBE_FIRST_WINDOW": "", "VANTREL_PROBE_SCRIPT": "frmMain/M_FileExit"})
if not os.path.exists(os.path.join(cache_home, "Vantrel", "page-size")):
    raise SystemExit("the first start did not remember the page size")
for label, complete, first in (("start-up, no settings", False, False), ("start-up, complete settings", True, False),
                               ("start-up, first ever on this screen", True, True)):
    t, m = startup(os.path.join(build, "vantrel-probed"), complete, first)
    table.append((label, t, empty_t, f"{m:.0f} MiB (empty window {empty_m:.0f} MiB)"))

rows = qtest_rows()
pairs = [("New", "commandNew", None), ("Open a filled report", "commandOpen", "floorOpen"),
         ("Save (template, transfer, checks, file, page)", "commandSave", "floorSave"),
         ("Budget check", "checkBudgetTotals", None), ("Show a report in the form", "showInForm", None),
         ("Report -> document", "reportToDocument", None),
         ("Open the unit information dialog", "unitInfoDialogOpen", None), ("Save the unit information", "unitInfoSave", None)]
for size in ("1KB", "100KB", "1MB", "10MB"):
    pairs.append((f"Save with a {size} long text", f"saveLongText:{size}", f"floorSaveLongText:{size}"))
pairs += [("Recovery draft of a filled report", "draftWrite:filled", None),
          ("Recovery draft with a 10MB long text", "draftWrite:10MB", None),
          ("Longest stall while typing, filled report", "typingStall:filled", None),
          ("Longest stall while typing, 10MB long text", "typingStall:10MB", None)]
for label, name, floor in pairs:
    memory = ""
    if name.startswith("saveLongText"):
        memory = f"peak {peak_of(name.replace(':', ':')):.0f} MiB"
    table.append((label, rows.get(name), rows.get(floor) if floor else None, memory))

print(f"{'what':48} {'ms':>9} {'floor ms':>9} {'ratio':>6}  memory")
for label, t, floor, memory in table:
    ratio = f"{t / floor:.2f}" if t and floor else ""
    floor_text = f"{floor:9.3f}" if floor else f"{'':9}"
    print(f"{label:48} {t:9.3f} {floor_text} {ratio:>6}  {memory}")
