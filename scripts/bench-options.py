#!/usr/bin/env python3
"""Measures the options window at start-up and at rest, under Wine:
1. options_bench.exe: the options window's creation and LoadSettings, for an
   empty settings key (a first run) and for the key that run leaves.
2. Kestrova.exe on a virtual desktop with the directory watch, interval
   switching, auto-minimise and the cache statistics timer all on: the CPU time
   the program (and the wine server) use while it sits idle, as a percentage of
   one core over the sampling period.
Needs the Wine session (scripts/wine-session.sh start) and the win32 build.
    scripts/bench-options.py [--bin build/win32/bin] [--seconds 30]"""

import argparse
import os
import subprocess
import sys
import time

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(TOP, "tests", "e2e"))
import kve2e  # noqa: E402
from options_test import ROOT, Registry, windows_path  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pids):
    total = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])  # utime + stime
        except (OSError, IndexError, ValueError):
            pass
    return total / TICKS


def pids_named(fragment):
    found = []
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                if fragment.encode() in f.read():
                    found.append(int(pid))
        except OSError:
            pass
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", default=os.path.join(TOP, "build", "win32", "bin"))
    parser.add_argument("--seconds", type=float, default=30)
    args = parser.parse_args()

    out = subprocess.run([os.path.join(TOP, "scripts", "wine-run.sh"),
                          os.path.join(args.bin, "options_bench.exe")],
                         stdout=subprocess.PIPE, check=True).stdout.decode()
    print(out.strip())

    d = kve2e.Desktop("kvidle", args.bin)
    reg = Registry(d.env)
    reg.clear()
    try:
        folder = d.prepare("Kestrova.exe")
        for i in range(3):
            kve2e.write_bmp(os.path.join(folder, f"pic{i}.bmp"), 16, 16, lambda x, y: (30, 90, 160))
        for key, name, value in [
                (ROOT + r"\Directories", "WallPaperDir", windows_path(folder)),
                (ROOT + r"\Wallpaper Changing", "Interval Switch", 1),
                (ROOT + r"\Wallpaper Changing", "Interval Switch Every", 60),
                (ROOT + r"\Kv Options", "Auto Hide", 1),
                (ROOT + r"\Kv Options", "Auto Hide Time", 60)]:
            reg.put(key, name, value)
        d.start("Kestrova.exe")
        d.wait_window("KvForm", "Configuration", timeout=60)
        time.sleep(8)  # start-up settles; the cache statistics run once at 10 s
        program = pids_named("Kestrova.exe")
        server = pids_named("wineserver")
        p0, s0, t0 = cpu_seconds(program), cpu_seconds(server), time.time()
        time.sleep(args.seconds)
        p1, s1, t1 = cpu_seconds(program), cpu_seconds(server), time.time()
        span = t1 - t0
        print(f"idle for {span:.0f} s with watch and timers on: Kestrova.exe "
              f"{100 * (p1 - p0) / span:.2f} % of a core, wineserver {100 * (s1 - s0) / span:.2f} %")
    finally:
        d.stop()
        reg.clear()


if __name__ == "__main__":
    main()
