#!/usr/bin/env python3
"""Starts Kestrova from the demo folder on Wine's virtual desktop (see run.sh).

With a display of the user's the program runs until the user exits it. On a
display of our own (Xvfb), the wallpaper is switched once with Shift and the
left button on the tray icon ("Set Next" by default), a screenshot is saved and
its path printed, and the program is ended through its tray menu command.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import kve2e  # noqa: E402

WM_CLOSE = 0x0010


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--bin", required=True)
    args = parser.parse_args()

    d = kve2e.Desktop("Kestrova", args.bin)
    d.folder = os.path.abspath(args.folder)  # kept between runs: settings and list stay
    own_display = os.environ.get("DISPLAY") is None
    try:
        d.start("Kestrova.exe")
        browser = d.wait_window("TOrganicShapeForm", "Kestrova", timeout=60)
        if not own_display:
            print("Kestrova runs on the virtual desktop; exit it from its tray menu.")
            d.process.wait()
            return 0
        wallpaper = os.path.join(d.folder, "Wallpaper.bmp")
        before = os.path.getmtime(wallpaper) if os.path.exists(wallpaper) else 0
        d.xwindow()
        d._xdotool("keydown", "shift")
        d.tray_click(button=1)
        d._xdotool("keyup", "shift")
        kve2e.wait_until(lambda: os.path.exists(wallpaper) and os.path.getmtime(wallpaper) > before,
                         timeout=30)
        time.sleep(2)  # the desktop repaints
        png = d.screenshot("kestrova")
        d.post(browser.hwnd, WM_CLOSE)  # runs the "Exit" command
        kve2e.wait_until(lambda: not d.find_window("TOrganicShapeForm", "Kestrova"), timeout=20)
        print(png)
        return 0
    finally:
        d.stop()


if __name__ == "__main__":
    sys.exit(main())
