#!/usr/bin/env python3
"""Measures the manager of Kestrova.exe on Wine's virtual desktop (a benchmark,
not a test; it prints numbers and passes no judgement):

1. A list of 100,000 entries: the time from the program's start until its list
   view holds every row (beside the same start with an empty list), and the
   time to scroll the view page by page, each page painted.
2. A directory tree of 2,000 generated JPEG pictures (800 x 600) dropped on the
   list with Shift held, thumbnail cache on: pictures per second, and the
   longest time the window left a message unanswered meanwhile (the window is
   asked with WM_NULL every 5 ms while the add runs).

Needs the Wine session (scripts/wine-session.sh start) and the win32 build:
    scripts/bench-manager.py [--bin build/win32/bin] [--pictures 2000] [--rows 100000]
"""

import argparse
import os
import subprocess
import sys
import time

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(TOP, "tests", "e2e"))
from kve2e import Desktop, list_record, wait_until  # noqa: E402

ROOT = "Software\\Tollvard\\Kestrova"
LVM_GETITEMCOUNT = 0x1004


def start(d, *args):
    d.kvmsg("regdelete", ROOT, desktop=False)
    d.kvmsg("regdword", ROOT + "\\Forms\\ManagerForm", "Visible", 1, desktop=False)
    began = time.time()
    d.start("Kestrova.exe", *args)
    manager = d.wait_window("TOrganicShapeForm", "Kestrova Manager", timeout=120)
    view = wait_until(lambda: d.find_child(manager.hwnd, "SysListView32"), timeout=60)
    return began, view


def rows_after_start(d, rows, *args):
    began, view = start(d, *args)
    wait_until(lambda: d.send(view.hwnd, LVM_GETITEMCOUNT) >= rows, timeout=300, step=0.05)
    return time.time() - began, view


def make_pictures(d, count):
    """`count` pictures in a tree of 10 folders with 4 subfolders each: 20 distinct
    JPEGs made by ImageMagick, linked under as many names."""
    sources = os.path.join(TOP, "build", "bench", "manager-sources")
    os.makedirs(sources, exist_ok=True)
    for i in range(20):
        path = os.path.join(sources, f"p{i}.jpg")
        if not os.path.exists(path):
            subprocess.run(["convert", "-size", "800x600", "-seed", str(i), "plasma:fractal",
                            "-quality", "85", path], check=True)
    tree = os.path.join(d.folder, "tree")
    for i in range(count):
        folder = os.path.join(tree, f"d{i % 10}", f"s{(i // 10) % 4}")
        os.makedirs(folder, exist_ok=True)
        os.link(os.path.join(sources, f"p{i % 20}.jpg"), os.path.join(folder, f"picture{i:05d}.jpg"))
    return "Z:" + tree.replace("/", "\\")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", default=os.path.join(TOP, "build", "win32", "bin"))
    parser.add_argument("--pictures", type=int, default=2000)
    parser.add_argument("--rows", type=int, default=100000)
    parser.add_argument("--pages", type=int, default=300)
    args = parser.parse_args()

    with Desktop("kvbench", args.bin) as d:
        folder = d.prepare("Kestrova.exe")
        windows = "Z:" + folder.replace("/", "\\") + "\\"
        with open(os.path.join(folder, "big.lst"), "wb") as f:
            f.write(b"".join(list_record(f"wallpaper{i:06d}.jpg", windows + f"pictures{i % 97}\\", 1)
                             for i in range(args.rows)))
        open(os.path.join(folder, "empty.lst"), "wb").close()

        empty, _ = rows_after_start(d, 0, "empty.lst")
        d.stop()
        loaded, view = rows_after_start(d, args.rows, "big.lst")
        out, _ = d.kvmsg("scroll", view.hwnd, args.pages)
        total, per_page = out.split()
        print(f"list of {args.rows} entries: shown {loaded:.2f} s after the start "
              f"(empty list: {empty:.2f} s); {args.pages} pages scrolled in {total} ms, "
              f"{per_page} ms a page")
        d.stop()

        tree = make_pictures(d, args.pictures)
        _, view = start(d, "empty.lst")
        time.sleep(2)
        d._xdotool("keydown", "shift")
        try:
            proc = subprocess.Popen(
                ["wine", os.path.join(folder, "kvmsg.exe"), "--desktop", d.name, "droptime",
                 str(view.hwnd), str(args.pictures), tree],
                env=d.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            time.sleep(3)
        finally:
            d._xdotool("keyup", "shift")
        out = proc.communicate(timeout=1800)[0].decode().split()
        elapsed, longest, asks = float(out[0]), float(out[1]), int(out[2])
        thumbs = len(os.listdir(os.path.join(folder, "Cache")))
        print(f"tree of {args.pictures} pictures (800 x 600 JPEG), cache on: {elapsed / 1000:.1f} s, "
              f"{args.pictures / (elapsed / 1000):.0f} pictures/s, {thumbs} thumbnails; longest "
              f"unanswered message {longest:.0f} ms over {asks} asks")


if __name__ == "__main__":
    sys.exit(main())
