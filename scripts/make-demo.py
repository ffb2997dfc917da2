#!/usr/bin/env python3
"""Fills a demo program folder: OUTDIR/Wallpapers/ with a dozen pictures that the
project draws itself (skies, hills, bands, patterns) in several of the formats
Kestrova reads, landscape and portrait, and OUTDIR/wallpaper.lst, a list of them
in Kestrova's list file format with a mix of styles. Pictures already there are
kept, and so is a list that is already there (it is the user's now).

    make-demo.py OUTDIR [--windows-dir WINPATH]
"""

import argparse
import math
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from kve2e import list_record  # noqa: E402

STYLES = ["Center", "Stretch", "Tile", "Scaled", "Box", "Triangle", "Hermite", "Bell",
          "Spline", "Lanczos3", "Mitchell"]


def lerp(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def sky(top, bottom, hills, sun=None):
    """A vertical gradient with layered hills and an optional sun."""
    def pixel(x, y, w, h):
        c = lerp(top, bottom, y / h)
        if sun:
            sx, sy, r, colour = sun
            d = math.hypot(x - sx * w, y - sy * h) / (r * h)
            if d < 1:
                c = colour
            elif d < 2.5:
                c = lerp(colour, c, (d - 1) / 1.5)
        for k, (level, amp, freq, colour) in enumerate(hills):
            ridge = h * (level + amp * math.sin(freq * x / w * 6.283 + k * 1.7)
                         + amp * 0.4 * math.sin(freq * 3.1 * x / w * 6.283 + k))
            if y > ridge:
                c = lerp(colour, (0, 0, 0), min(0.5, (y - ridge) / h))
        return c
    return pixel


def bands(colours):
    def pixel(x, y, w, h):
        t = (y / h + 0.15 * math.sin(x / w * 9.0 + y / h * 3.0)) * (len(colours) - 1)
        i = max(0, min(len(colours) - 2, int(t)))
        return lerp(colours[i], colours[i + 1], min(1.0, max(0.0, t - i)))
    return pixel


def rings(a, b):
    def pixel(x, y, w, h):
        d = math.hypot(x - w / 2, y - h / 2) / min(w, h)
        return lerp(a, b, 0.5 + 0.5 * math.sin(d * 40))
    return pixel


def checks(a, b):
    def pixel(x, y, w, h):
        return a if ((x // 16) + (y // 16)) % 2 else b
    return pixel


PICTURES = [
    ("Alpine Dusk.jpg", 1920, 1080, "Lanczos3",
     sky((40, 60, 120), (250, 160, 110), [(0.55, 0.06, 1.3, (60, 70, 110)),
                                          (0.7, 0.05, 2.1, (30, 45, 70))], (0.7, 0.45, 0.06, (255, 230, 170)))),
    ("Green Valley.png", 1280, 800, "Scaled",
     sky((110, 170, 230), (220, 235, 250), [(0.6, 0.05, 1.0, (80, 150, 80)),
                                           (0.75, 0.04, 1.8, (50, 110, 50))])),
    ("Northern Lights.bmp", 1024, 768, "Stretch",
     bands([(5, 10, 30), (20, 120, 90), (80, 220, 150), (30, 40, 110), (5, 5, 20)])),
    ("Desert Noon.tif", 1600, 900, "Mitchell",
     sky((70, 140, 220), (240, 220, 170), [(0.65, 0.03, 0.8, (220, 170, 100)),
                                          (0.8, 0.02, 1.5, (190, 130, 70))], (0.25, 0.2, 0.05, (255, 255, 230)))),
    ("Harbour Night.gif", 800, 600, "Center",
     sky((10, 15, 40), (40, 50, 90), [(0.7, 0.02, 3.0, (20, 25, 45))], (0.8, 0.2, 0.04, (240, 240, 210)))),
    ("Portrait Forest.jpg", 800, 1200, "Scaled",
     sky((150, 200, 230), (200, 230, 210), [(0.45, 0.07, 1.2, (40, 110, 70)),
                                           (0.65, 0.06, 2.4, (20, 80, 50)), (0.85, 0.04, 3.0, (10, 50, 30))])),
    ("Coral Bands.tga", 1366, 768, "Lanczos3",
     bands([(250, 120, 100), (250, 200, 150), (90, 180, 200), (30, 80, 140)])),
    ("Ripples.pcx", 1024, 768, "Bell", rings((30, 60, 120), (120, 190, 230))),
    ("Tile Checks.bmp", 64, 64, "Tile", checks((70, 90, 120), (90, 115, 150))),
    ("Sunset Sea.png", 2560, 1440, "Lanczos3",
     sky((60, 30, 90), (255, 140, 60), [(0.7, 0.005, 4.0, (40, 40, 100))], (0.5, 0.62, 0.07, (255, 210, 120)))),
    ("Misty Hills.jpg", 1920, 1200, "Spline",
     sky((190, 200, 210), (235, 235, 240), [(0.5, 0.05, 1.1, (150, 160, 175)),
                                           (0.62, 0.05, 1.7, (115, 125, 145)), (0.75, 0.05, 2.5, (80, 90, 110))])),
    ("Portrait Aurora.tif", 900, 1600, "Scaled",
     bands([(5, 5, 25), (40, 160, 120), (120, 60, 160), (5, 5, 25)])),
]


def write_ppm(path, w, h, pixel):
    """Drawn at a fifth of the size and enlarged by ImageMagick, to stay fast."""
    sw, sh = max(1, w // 5) if w > 200 else w, max(1, h // 5) if h > 200 else h
    rows = bytearray()
    for y in range(sh):
        for x in range(sw):
            rows += bytes(pixel(x, y, sw, sh))
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (sw, sh) + bytes(rows))


def make_picture(folder, name, w, h, pixel):
    target = os.path.join(folder, name)
    if os.path.exists(target):
        return
    ppm = target + ".ppm"
    write_ppm(ppm, w, h, pixel)
    options = ["-resize", f"{w}x{h}!"]
    if name.endswith(".gif"):
        options += ["-colors", "256"]
    if name.endswith(".bmp"):
        target = "BMP3:" + target
    if name.endswith(".tga"):
        options += ["-compress", "RLE"]
    subprocess.run(["convert", ppm, *options, target], check=True)
    os.remove(ppm)


def record(name, path, style):
    return list_record(name, path, STYLES.index(style))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("outdir")
    parser.add_argument("--windows-dir", help="the Wallpapers folder as Windows sees it")
    args = parser.parse_args()
    folder = os.path.join(os.path.abspath(args.outdir), "Wallpapers")
    os.makedirs(folder, exist_ok=True)
    for name, w, h, _, pixel in PICTURES:
        make_picture(folder, name, w, h, pixel)
    windows = args.windows_dir or "Z:" + folder.replace("/", "\\")
    if not windows.endswith("\\"):
        windows += "\\"
    listfile = os.path.join(os.path.abspath(args.outdir), "wallpaper.lst")
    if not os.path.exists(listfile):
        with open(listfile, "wb") as f:
            f.write(b"".join(record(name, windows, style) for name, _, _, style, _ in PICTURES))
    return 0


if __name__ == "__main__":
    sys.exit(main())
