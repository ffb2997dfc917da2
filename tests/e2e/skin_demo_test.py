#!/usr/bin/env python3
"""The skinned glass window as a user sees it: the demo program on Wine's virtual
desktop takes the shape of its picture (magenta cut out), its face and its skin
controls are composed with the window's colour intensities, and the desktop
shows through where the picture is magenta. The screenshot stays in build/."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import kve2e  # noqa: E402
from kve2e import Desktop, write_bmp  # noqa: E402

MAGENTA = (255, 0, 255)
FACE = (200, 120, 40)
STRIPE = (30, 90, 200)


def test_picture(x, y):
    """A 340 x 230 ellipse with a blue stripe, on magenta."""
    dx, dy = (x - 170) / 170.0, (y - 115) / 115.0
    if dx * dx + dy * dy >= 1.0:
        return MAGENTA
    return STRIPE if 190 <= y < 200 else FACE


def halved_red(c):
    """The demo shows its face with the red channel at 50 percent (truncated)."""
    return (int(c[0] * 0.5), c[1], c[2])


def shot_showing(d, label, x, y, colour, same=(), timeout=10.0):
    """A screenshot taken once (x, y) shows `colour` (the window may be found
    before it has painted) and the two points of each pair in `same` show one
    colour (a fresh desktop paints its background after the window), or the
    last one taken when that never happens."""
    deadline = time.time() + timeout
    while True:
        png = d.screenshot(label)
        d._images.pop(png, None)  # a new file under the same name
        shown = d.pixel(png, x, y) == colour and all(d.pixel(png, *a) == d.pixel(png, *b) for a, b in same)
        if shown or time.time() > deadline:
            return png
        time.sleep(0.2)


class SkinnedGlassWindow(unittest.TestCase):
    def test_shape_face_and_controls_in_a_screenshot(self):
        d = Desktop("kvskindemo", kve2e.BIN)
        try:
            folder = d.prepare("skin_demo.exe")
            write_bmp(os.path.join(folder, "demo_face.bmp"), 340, 230, test_picture)
            d.plain_desktop()  # the cut-out corners are compared with the bare desktop
            d.start("skin_demo.exe", "demo_face.bmp")
            d.wait_window("TOrganicShapeForm")

            # The window exists before its skin gives it its size.
            def sized():
                w = d.find_window("TOrganicShapeForm")
                return w if w and (w.right - w.left, w.bottom - w.top) == (340, 230) else None

            w = kve2e.wait_until(sized, timeout=10)
            self.assertIsNotNone(w, d.find_window("TOrganicShapeForm"))
            png = shot_showing(d, "skin_demo", w.left + 170, w.top + 100, halved_red(FACE),
                               same=[((5, 5), (w.left + 2, w.top + 2))])
            desktop = d.pixel(png, 5, 5)

            # Inside the shape: the face, red halved; the stripe likewise.
            self.assertEqual(d.pixel(png, w.left + 170, w.top + 100), halved_red(FACE))
            self.assertEqual(d.pixel(png, w.left + 170, w.top + 195), halved_red(STRIPE))
            # Outside the ellipse but inside the window's rectangle: the desktop.
            for x, y in ((2, 2), (337, 2), (2, 227), (337, 227)):
                p = d.pixel(png, w.left + x, w.top + y)
                self.assertNotEqual(p, MAGENTA)
                self.assertNotEqual(p, halved_red(FACE))
                self.assertEqual(p, desktop, (x, y))
            # The first button's disc (left of its caption) and its cut-out corner.
            self.assertEqual(d.pixel(png, w.left + 70 + 6, w.top + 120 + 20), (110, 40, 40))
            self.assertEqual(d.pixel(png, w.left + 70 + 1, w.top + 120 + 1), halved_red(FACE))
            # The label's picture, away from its caption.
            self.assertEqual(d.pixel(png, w.left + 80 + 3, w.top + 50 + 3), (125, 240, 200))

            # Under the mouse the second button shows its (white) over picture.
            xw = d.xwindow()
            d._xdotool("mousemove", "--window", xw, w.left + 140 + 20, w.top + 120 + 20)
            hover = shot_showing(d, "skin_demo_hover", w.left + 140 + 6, w.top + 120 + 20,
                                 (127, 255, 255))
            self.assertEqual(d.pixel(hover, w.left + 140 + 6, w.top + 120 + 20), (127, 255, 255))

            # Dragged by its body to 10 pixels from the left edge, it snaps onto it.
            d._xdotool("mousemove", "--window", xw, w.left + 170, w.top + 100)
            d._xdotool("mousedown", 1)
            for x in range(w.left + 150, 170 + 10 - 1, -20):
                d._xdotool("mousemove", "--window", xw, x, w.top + 100)
                time.sleep(0.05)
            d._xdotool("mousemove", "--window", xw, 170 + 10, w.top + 100)
            time.sleep(0.2)
            d._xdotool("mouseup", 1)
            time.sleep(0.5)
            moved = d.find_window("TOrganicShapeForm")
            self.assertEqual((moved.left, moved.top), (0, w.top))

            # The first button ends the program.
            d.click(moved.left + 70 + 6, moved.top + 120 + 20)
            kve2e.wait_until(lambda: not d.find_window("TOrganicShapeForm"), timeout=10)
            self.assertIsNone(d.find_window("TOrganicShapeForm"))
        finally:
            d.stop()


if __name__ == "__main__":
    kve2e.run_tests()
