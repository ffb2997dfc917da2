#!/usr/bin/env python3
"""Soak of the real Kestrova.exe under Wine, driven from outside by kvtool send
(not part of make test; scripts/soak-program.sh runs it).

Kestrova starts on a virtual desktop of its own with a list of pictures in
every format it reads, each entry in another style. Then SWITCHES switches go
to it as `kvtool send next|random|previous`, one kvtool process each; every
CHANGE switches the skin moves on (built-in, Steel, Lagoon in turn) and the
manager and the options window are opened and closed, and `kvtool send stats`
asks the program for its GDI and USER objects, handles and private memory.
The samples go to OUT.csv ("switches,gdi,user,handles,private_kb").

    soak-kestrova.py BIN_DIR OUT.csv [--switches N] [--change N]
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(TOP, "tests", "e2e"))
from kve2e import Desktop, list_record  # noqa: E402

ROOT = "Software\\Tollvard\\Kestrova"
FIXTURES = os.path.join(TOP, "tests", "data", "codecs")
# A picture of every format, of sizes around a screen's, each in another style
# (the style numbers of a list record: Center 0, Stretch 1, Tile 2, Scaled 3,
# Box 4, Triangle 5, Hermite 6, Bell 7, Spline 8, Lanczos3 9, Mitchell 10).
# ImageMagick draws them; the Paint Shop Pro picture is a test fixture (it
# cannot write that format).
PICTURES = [
    ("photo.jpg", "1600x1200", "plasma:fractal", 9),
    ("desk.bmp", "1024x768", "gradient:navy-orange", 1),
    ("wide.png", "1280x720", "plasma:green-blue", 3),
    ("tile.gif", "96x96", "pattern:checkerboard", 2),
    ("small.tif", "640x480", "plasma:red-yellow", 0),
    ("large.tga", "1200x900", "gradient:teal-white", 4),
    ("scan.pcx", "800x600", "plasma:grey-purple", 5),
    ("layer.psd", "900x700", "plasma:brown-cyan", 6),
    ("v10_rgb_rle_raster_extension.psp", None, None, 7),
    ("camera.jpg", "2048x1536", "plasma:fractal", 8),
    ("alpha.png", "700x500", "gradient:#ff000080-#0000ffff", 10),
]
SKINS = ["Steel", "Lagoon", "default"]
VERBS = ["next", "random", "previous"]


class Soak:
    def __init__(self, bin_dir):
        self.d = Desktop("soak", bin_dir)
        self.folder = self.d.prepare("Kestrova.exe", files=[os.path.join(bin_dir, "kvtool.exe")])
        shutil.copytree(os.path.join(bin_dir, "Skins"), os.path.join(self.folder, "Skins"))
        windows_folder = "Z:" + self.folder.replace("/", "\\") + "\\"
        records = b""
        for name, size, drawing, style in PICTURES:
            if size:
                subprocess.run(["convert", "-seed", "7", "-size", size, drawing,
                                os.path.join(self.folder, name)], check=True)
            else:
                shutil.copy2(os.path.join(FIXTURES, "psp", name), self.folder)
            records += list_record(name, windows_folder, style)
        with open(os.path.join(self.folder, "wallpaper.lst"), "wb") as f:
            f.write(records)
        self.d.kvmsg("regdelete", ROOT, desktop=False)

    def send(self, *words):
        r = subprocess.run(["wine", "kvtool.exe", "send", *words, "--desktop", self.d.name],
                           cwd=self.folder, env=self.d.env, stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, timeout=120)
        if r.returncode != 0:
            raise RuntimeError(f"kvtool send {' '.join(words)}: {r.stderr.decode(errors='replace')}")
        return r.stdout.decode()

    def sample(self, switches):
        counts = dict(line.split() for line in self.send("stats").splitlines() if line.strip())
        return [switches] + [int(counts[k]) for k in ("gdi", "user", "handles", "private_kb")]

    def change(self, n):
        self.send("skin", SKINS[n % len(SKINS)])
        for _ in range(2):  # opened, then closed
            self.send("manager")
            self.send("options")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bin_dir")
    parser.add_argument("out")
    parser.add_argument("--switches", type=int, default=10000)
    parser.add_argument("--change", type=int, default=500)
    args = parser.parse_args()

    soak = Soak(args.bin_dir)
    with soak.d, open(args.out, "w") as out:
        soak.d.start("Kestrova.exe")
        soak.d.wait_window("TOrganicShapeForm", "Kestrova", timeout=60)
        out.write("switches,gdi,user,handles,private_kb\n")

        def record(switches):
            row = soak.sample(switches)
            out.write(",".join(map(str, row)) + "\n")
            out.flush()
            print(f"{time.strftime('%H:%M:%S')} " + " ".join(map(str, row)), flush=True)

        record(0)
        began = time.time()
        for i in range(1, args.switches + 1):
            soak.send(VERBS[i % len(VERBS)])
            if i % args.change == 0:
                soak.change(i // args.change - 1)
                record(i)
        print(f"{args.switches} switches in {time.time() - began:.0f} s", flush=True)
        if not os.path.exists(os.path.join(soak.folder, "Wallpaper.bmp")):
            raise RuntimeError("no Wallpaper.bmp was written")
    return 0


if __name__ == "__main__":
    sys.exit(main())
