#!/usr/bin/env python3
"""Plots the samples of a soak (a CSV file) as one PNG: a panel per measure
(GDI objects, USER objects, handles, private memory) over the switches, and
prints the growth of each. Where ImageMagick is there, the panels get their
names, value scales and the switch counts written on them. The skin goes round three skins, one
per sample, so the counts step with it; the growth compares the last sample
with the first after the warm-up that was taken with the same skin.

    soak-program.py SAMPLES.csv OUT.png
"""

import csv
import os
import shutil
import struct
import subprocess
import sys
import zlib

W, H = 900, 620
PANELS = [("gdi", "GDI objects"), ("user", "USER objects"), ("handles", "handles"),
          ("private_kb", "private memory (KB)")]
COLOURS = [(200, 60, 40), (40, 120, 200), (60, 160, 70), (150, 70, 170)]


def png(path, pixels):
    raw = b"".join(b"\0" + bytes(row) for row in pixels)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    rows = list(csv.DictReader(open(sys.argv[1])))
    samples = [{k: int(v) for k, v in r.items()} for r in rows]
    pixels = [bytearray(b"\xff" * (W * 3)) for _ in range(H)]

    def put(x, y, c):
        if 0 <= x < W and 0 <= y < H:
            pixels[y][3 * x:3 * x + 3] = bytes(c)

    panel_h = H // len(PANELS)
    xs = [s["switches"] for s in samples]
    x_max = max(xs) or 1
    last = len(samples) - 1
    first = next((i for i in range(1, last + 1) if (last - i) % 3 == 0), last)
    warm = samples[first]
    texts = []  # (x, y, text) written on the plot afterwards
    for p, ((key, label), colour) in enumerate(zip(PANELS, COLOURS)):
        top, left, right = p * panel_h + 8, 70, W - 20
        bottom = top + panel_h - 24
        values = [s[key] for s in samples]
        lo, hi = min(values), max(values)
        span = max(hi - lo, max(1, hi // 20))  # a flat line stays flat, not magnified
        lo -= span // 2
        for x in range(left, right + 1):
            put(x, bottom, (0, 0, 0))
        for y in range(top, bottom + 1):
            put(left, y, (0, 0, 0))
        prev = None
        for s in samples:
            x = left + (right - left) * s["switches"] // x_max
            y = bottom - (bottom - top) * (s[key] - lo) // (span * 2)
            if prev:
                steps = max(abs(x - prev[0]), abs(y - prev[1]), 1)
                for t in range(steps + 1):
                    put(prev[0] + (x - prev[0]) * t // steps, prev[1] + (y - prev[1]) * t // steps, colour)
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    put(x + dx, y + dy, colour)
            prev = (x, y)
        growth = samples[-1][key] - warm[key]
        texts.append((left + 8, top + 12, f"{label}: {min(values)} to {max(values)}; growth "
                      f"{growth:+d} from {warm['switches']} to {samples[-1]['switches']} switches"))
        texts.append((4, top + 10, str(lo + 2 * span)))
        texts.append((4, bottom, str(lo)))
        texts.append((left - 3, bottom + 13, "0"))
        texts.append((right - 70, bottom + 13, f"{x_max} switches"))
        print(f"{label}: {warm[key]} after {warm['switches']} switches, {samples[-1][key]} after "
              f"{samples[-1]['switches']} (growth {growth:+d}); range {hi - lo - span // 2 if hi > lo else 0}")
    png(sys.argv[2], pixels)
    write_labels(sys.argv[2], texts)
    return 0


def write_labels(path, texts):
    """Writes the texts on the plot with ImageMagick; without it (or a font)
    the plot stays as it is."""
    font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
    if not shutil.which("convert") or not os.path.exists(font):
        return
    draw = " ".join(f"text {x},{y} '{t}'" for x, y, t in texts)
    subprocess.run(["convert", path, "-font", font, "-fill", "black", "-pointsize", "11", "-draw",
                    draw, path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


if __name__ == "__main__":
    sys.exit(main())
