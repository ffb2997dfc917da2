#!/usr/bin/env python3
"""Starts Kestrova from the demo folder on Wine's virtual desktop (see run.sh).

With a display of the user's the program runs until the user exits it. On a
display of our own (Xvfb), the wallpaper is switched once with Shift and the
left button on the tray icon ("Set Next" by default), as a user switches it, a
screenshot is saved and its path printed, and the program is ended through its
"Exit" command. The run fails, saying so, when the wallpaper did not change.
What the program stores at exit about its windows ("Visible") is put back as
it was before the run: the demo's clicks are not the user's choice.
"""

import argparse
import hashlib
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import kve2e  # noqa: E402

WM_CLOSE = 0x0010
ROOT = "Software\\Tollvard\\Kestrova"
# The windows whose "Visible" the program stores at exit, with the value an
# absent one stands for.
WINDOWS = (("Forms\\Mainform", 1), ("Forms\\ManagerForm", 0), ("Forms\\OptionsForm", 0))


def stored_visible(d):
    values = {}
    for key, absent in WINDOWS:
        value = d.reg(f"{ROOT}\\{key}", "Visible")
        values[key] = int(value) if value is not None and value.isdigit() else absent
    return values


def put_back_visible(d, before):
    for key, value in stored_visible(d).items():
        if value != before[key]:
            print(f"run: {key.split(chr(92))[-1]} \"Visible\" put back to {before[key]} "
                  f"(the demo left {value})", file=sys.stderr)
            d.kvmsg("regdword", f"{ROOT}\\{key}", "Visible", before[key], desktop=False)


def picture_digest(path):
    try:
        with open(path, "rb") as f:
            return hashlib.sha256(f.read()).hexdigest()
    except FileNotFoundError:
        return None


def settled_digest(path, quiet=1.5, timeout=30):
    """The wallpaper file's digest once it has stopped changing (the program
    may still be writing the wallpaper of its start)."""
    deadline = time.time() + timeout
    last, since = picture_digest(path), time.time()
    while time.time() < deadline:
        time.sleep(0.3)
        now = picture_digest(path)
        if now != last:
            last, since = now, time.time()
        elif time.time() - since >= quiet:
            break
    return last


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--bin", required=True)
    args = parser.parse_args()

    d = kve2e.Desktop("Kestrova", args.bin)
    d.folder = os.path.abspath(args.folder)  # kept between runs: settings and list stay
    if os.environ.get("DISPLAY") is not None:
        try:
            d.start("Kestrova.exe")
            d.wait_window("TOrganicShapeForm", "Kestrova", timeout=60)
            print("Kestrova runs on the virtual desktop; exit it from its tray menu.")
            d.process.wait()
            return 0
        finally:
            d.stop()

    wallpaper = os.path.join(d.folder, "Wallpaper.bmp")
    visible_before = stored_visible(d)
    changed = ended = False
    png = None
    try:
        d.start("Kestrova.exe")
        browser = d.wait_window("TOrganicShapeForm", "Kestrova", timeout=60)
        before = settled_digest(wallpaper)
        d.tray_click(button=1, shift=True)
        changed = kve2e.wait_until(lambda: picture_digest(wallpaper) not in (None, before), timeout=30)
        time.sleep(2)  # the desktop repaints
        png = d.screenshot("kestrova")
        d.post(browser.hwnd, WM_CLOSE)  # runs the "Exit" command
        ended = kve2e.wait_until(lambda: not d.find_window("TOrganicShapeForm", "Kestrova"), timeout=20)
    finally:
        d.stop()
        put_back_visible(d, visible_before)
    if changed:
        desktop = d.reg("Control Panel\\Desktop", "Wallpaper") or ""
        changed = desktop.lower() == ("Z:" + wallpaper.replace("/", "\\")).lower()
    if not changed:
        print(f"run: FAILED: Shift and a click on the tray icon did not change the wallpaper "
              f"({wallpaper}); the screen is in {png}", file=sys.stderr)
        return 1
    if not ended:
        print("run: FAILED: Kestrova did not end after its Exit command", file=sys.stderr)
        return 1
    print(png)
    return 0


if __name__ == "__main__":
    sys.exit(main())
