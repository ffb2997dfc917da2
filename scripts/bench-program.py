#!/usr/bin/env python3
"""Measures Kestrova.exe under Wine (see bench-program.sh, which builds first):

1. One switch inside the program with a 4000 x 3000 JPEG in Lanczos3 on a
   1024 x 768 desktop, and its parts (decode, render, write, desktop call),
   against `kvtool render` of the same job as a whole process.
2. Start-up until the browser window shows, with a 10,000-entry list whose
   shown entries have their thumbnails in the cache, against an empty list,
   against a Wine process that only starts and ends (kvuninst.exe with no
   settings to remove), and against the floor of a windowed program: one that
   only creates and shows a plain window (bare_window.exe). Each start is
   timed twice: from the program's own process start (seen inside Wine by
   `kvmsg shown`, which polls each millisecond), and from the runner starting
   `wine explorer /desktop=...` with the program (which adds Wine's desktop
   start). With --compare DIR, the Kestrova.exe of another build is started
   in turns with this one, so both meet the machine's busy moments alike.
3. The private memory of the running program after start-up, and of the
   plain window program.

Prints a short report; the folder build/bench-program/ keeps what it made.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import kve2e  # noqa: E402

TOP = kve2e.TOP
ROOT = "Software\\Tollvard\\Kestrova"


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, **kw)


def private_kb(pid):
    """Private (anonymous and private file) memory of a process, from smaps."""
    total = 0
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            if line.startswith(("Private_Clean:", "Private_Dirty:")):
                total += int(line.split()[1])
    return total


def program_pid(desktop, exe="Kestrova.exe"):
    for pid in desktop.group_pids():
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                args = f.read().split(b"\0")
        except OSError:
            continue
        if args and args[0].endswith(exe.encode()):
            return pid
    return None


def timed_start(d, exe="Kestrova.exe"):
    """Milliseconds from the program's process start until its browser window is
    visible, seconds from starting Wine's desktop with it until then, and the
    window."""
    watch = subprocess.Popen(["wine", os.path.join(d.folder, "kvmsg.exe"), "shown", d.name,
                              "TOrganicShapeForm", "Kestrova", "120"],
                             env=d.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                             stdin=subprocess.DEVNULL)
    # The watcher's own Wine start is over before the desktop's begins.
    time.sleep(0.5)
    t0 = time.time()
    d.start(exe)
    out, _ = watch.communicate(timeout=150)
    seconds = time.time() - t0
    if watch.returncode != 0:
        raise RuntimeError(f"{exe}: no visible browser window ({watch.returncode})")
    browser = d.wait_window("TOrganicShapeForm", "Kestrova", timeout=60)
    return float(out.decode().strip()), seconds, browser

def stop(d, browser):
    d.post(browser.hwnd, 0x0010)  # WM_CLOSE: the program's Exit
    kve2e.wait_until(lambda: not d.find_window("TOrganicShapeForm", "Kestrova"), timeout=60)
    d.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--tools", help="folder of kvmsg.exe and bare_window.exe (default: --bin)")
    parser.add_argument("--compare", metavar="DIR",
                        help="also start the Kestrova.exe of DIR, in turns with this one")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--startup-only", action="store_true",
                        help="measure start-up and memory only (section 2 and 3)")
    args = parser.parse_args()
    args.tools = args.tools or args.bin
    folder = os.path.join(TOP, "build", "bench-program")
    os.makedirs(folder, exist_ok=True)
    env = kve2e.wine_environment()

    if not args.startup_only:
        switch_section(args, folder, env)
    startup_section(args, env)
    return 0


def process_start(folder, env, rounds):
    """Median seconds of a Wine process that starts and ends at once."""
    times = []
    for _ in range(rounds):
        t0 = time.time()
        run(["wine", "kvuninst.exe"], cwd=folder, env=env)
        times.append(time.time() - t0)
    return statistics.median(times)


def switch_section(args, folder, env):
    # -- 1. one switch and its parts ---------------------------------------
    big = os.path.join(folder, "big.jpg")
    if not os.path.exists(big):
        run(["convert", "-size", "4000x3000", "gradient:#2050a0-#f0c080", "(", "-size", "4000x3000",
             "xc:", "-seed", "3", "+noise", "Random", "-blur", "0x1.5", ")", "-compose", "overlay",
             "-composite", "-quality", "90", big])
    copies = [big] + [os.path.join(folder, f"big{i}.jpg") for i in (1, 2)]
    for c in copies[1:]:
        shutil.copyfile(big, c)
    for exe in ("switch_timing.exe", "kvtool.exe"):
        shutil.copy2(os.path.join(args.bin, exe), folder)
    shutil.rmtree(os.path.join(folder, "Cache"), ignore_errors=True)
    out = run(["wine", "explorer", "/desktop=benchswitch,1024x768", "switch_timing.exe", "lanczos3",
               str(args.rounds), *[os.path.basename(c) for c in copies]], cwd=folder, env=env)
    print(out.stdout.decode(errors="replace").strip())
    times = []
    for _ in range(args.rounds):
        t0 = time.time()
        run(["wine", "kvtool.exe", "render", "big.jpg", "rendered.bmp", "--style", "lanczos3",
             "--screen", "1024x768"], cwd=folder, env=env)
        times.append(time.time() - t0)
    print(f"  kvtool render of the same job, whole process under Wine: "
          f"{statistics.median(times) * 1000:.0f} ms (median of {args.rounds})")


def startup_section(args, env):
    # -- 2. start-up with 10,000 entries ------------------------------------
    # The measuring tools and the floor come from this build, whichever
    # program is measured: both sides of a comparison are timed alike.
    d = kve2e.Desktop("benchstart", args.tools)
    d.prepare("bare_window.exe")
    shutil.copy2(os.path.join(args.bin, "Kestrova.exe"), d.folder)
    programs = [("Kestrova", "Kestrova.exe")]
    if args.compare:
        shutil.copy2(os.path.join(args.compare, "Kestrova.exe"),
                     os.path.join(d.folder, "Kestrova-compared.exe"))
        programs.append((f"Kestrova of {args.compare}", "Kestrova-compared.exe"))
    pictures = os.path.join(d.folder, "Pictures")
    os.makedirs(pictures)
    for i in range(20):
        run(["convert", "-size", "640x480", f"gradient:#{(i * 40) % 256:02x}3070-#f0{(i * 90) % 256:02x}80",
             "-quality", "85", os.path.join(pictures, f"p{i:02}.jpg")])
    windows = "Z:" + pictures.replace("/", "\\") + "\\"
    shutil.copy2(os.path.join(args.bin, "kvuninst.exe"), d.folder)
    bare = process_start(d.folder, env, 5) * 1000
    print(f"a Wine process that starts and ends (kvuninst.exe): {bare:.0f} ms (median of 5)")
    print(f"until the window shows, medians of {args.rounds} starts taken in turns: from the "
          "process start | from starting `wine explorer /desktop` | private memory after start-up")
    for label, entries in (("empty list", 0), ("10,000 entries", 10000)):
        with open(os.path.join(d.folder, "wallpaper.lst"), "wb") as f:
            f.write(b"".join(kve2e.list_record(f"p{i % 20:02}.jpg", windows, 9) for i in range(entries)))
        d.kvmsg("regdelete", ROOT, desktop=False)
        # A first start of each makes the thumbnails of the entries the strip shows.
        for _, exe in programs:
            _, _, browser = timed_start(d, exe)
            stop(d, browser)
        # The programs take turns, so that a busy moment of the machine falls
        # on all of them alike.
        runs = [("one plain window (bare_window.exe)", "bare_window.exe")] + programs
        samples = {exe: ([], [], []) for _, exe in runs}
        for _ in range(args.rounds):
            for _, exe in runs:
                for sample, value in zip(samples[exe], measure_start(d, exe)):
                    if value is not None:
                        sample.append(value)
        print(f"{label}:")
        floor = statistics.median(samples["bare_window.exe"][0])
        for name, exe in runs:
            inside, outside, memory = (statistics.median(v) if v else 0 for v in samples[exe])
            print(f"  {name}: {inside:.0f} ms ({inside / floor:.1f}x the plain window, "
                  f"{inside / bare:.1f}x the Wine process) | {outside:.0f} ms "
                  f"({outside / bare:.1f}x) | {memory / 1024:.1f} MB")


def measure_start(d, exe):
    """One start: milliseconds from the process start and from starting Wine's
    desktop until the window shows, and the private KB after start-up (None
    when the process was not found)."""
    ms, seconds, browser = timed_start(d, exe)
    time.sleep(1)
    pid = program_pid(d, exe)
    kb = private_kb(pid) if pid else None
    stop(d, browser)
    return ms, seconds * 1000, kb


if __name__ == "__main__":
    sys.exit(main())
