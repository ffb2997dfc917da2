#!/usr/bin/env python3
"""A wallpaper applied as the program applies it, seen on Wine's virtual desktop:
the demo program renders a four-colour test picture with the lanczos3 style to
the desktop's size, writes "Wallpaper.bmp" into its folder, sets the desktop's
registry values and tells the system. The screenshot (kept in build/) must show
that bitmap pixel for pixel above the task bar, and the picture's flat colours
inside each quarter."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import kve2e  # noqa: E402
from kve2e import Desktop, read_bmp, write_bmp  # noqa: E402

SIZE = (1024, 768)
QUARTERS = {(0, 0): (200, 30, 40), (1, 0): (40, 180, 60), (0, 1): (30, 60, 210), (1, 1): (230, 210, 50)}


def quarter_picture(x, y):
    return QUARTERS[(x // 80, y // 60)]


class AppliedWallpaper(unittest.TestCase):
    def test_lanczos3_wallpaper_fills_the_virtual_desktop(self):
        d = Desktop("kvwallpaper", kve2e.BIN, size=SIZE)
        try:
            folder = d.prepare("wallpaper_demo.exe")
            write_bmp(os.path.join(folder, "quarters.bmp"), 160, 120, quarter_picture)
            d.start("wallpaper_demo.exe", "quarters.bmp", "lanczos3")
            demo = d.wait_window("KvWallpaperDemo")

            width, height, bits, wallpaper = read_bmp(os.path.join(folder, "Wallpaper.bmp"))
            self.assertEqual((width, height, bits), (SIZE[0], SIZE[1], 24))

            # The desktop may repaint a moment after the window appears.
            deadline = time.time() + 15
            while True:
                png = d.screenshot("wallpaper_lanczos3")
                d._images.pop(png, None)
                if d.pixel(png, 100, 100) == QUARTERS[(0, 0)] or time.time() > deadline:
                    break
                time.sleep(0.3)

            # Inside each quarter, away from the edges the kernel reaches across,
            # the flat colour itself.
            for (qx, qy), colour in QUARTERS.items():
                x, y = 256 + 512 * qx, 150 + 384 * qy
                self.assertEqual(d.pixel(png, x, y), colour, (x, y))
            # Everywhere above the task bar, the rendered bitmap exactly; that
            # includes the ringing of the Lanczos kernel at the colour edges.
            mismatches = []
            for y in range(0, SIZE[1] - 40, 7):
                for x in range(0, SIZE[0], 5):
                    if d.pixel(png, x, y) != wallpaper(x, y):
                        mismatches.append((x, y, d.pixel(png, x, y), wallpaper(x, y)))
            self.assertEqual(mismatches[:5], [])
            edge = [wallpaper(x, 200) for x in range(500, 524)]
            self.assertGreater(len(set(edge)), 4)  # a real transition was compared

            d.post(demo.hwnd, 0x0010)  # WM_CLOSE: the demo restores the desktop's values
            kve2e.wait_until(lambda: not d.find_window("KvWallpaperDemo"), timeout=15)
            self.assertIsNone(d.find_window("KvWallpaperDemo"))
        finally:
            d.stop()


if __name__ == "__main__":
    kve2e.run_tests()
