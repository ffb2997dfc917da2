#!/usr/bin/env python3
"""The manager of Kestrova.exe on Wine's virtual desktop, driven as a user
drives it: folders dropped on its list (a real WM_DROPFILES built from the
shell's DROPFILES structure) with and without Shift held on the X keyboard, the
"Add Wallpaper(s)" dialog opened from the manager's button and left, a
search typed into the search window and its result picked with the keyboard,
the full-screen preview opened from the list's own menu and applied from the
preview's menu. Screenshots of the manager, the browser and the preview are
kept in the program folder under build/e2e/."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import kve2e  # noqa: E402
from kve2e import Desktop, list_record, read_bmp, wait_until, write_bmp  # noqa: E402

ROOT = "Software\\Tollvard\\Kestrova"
WM_KEYDOWN = 0x0100
VK_F3 = 0x72
LVM_GETITEMCOUNT = 0x1004
LVM_GETSELECTEDCOUNT = 0x1032
STRETCH, TILE = 1, 2
ENTRIES = [("Sunset.bmp", (220, 120, 40), STRETCH), ("beach.bmp", (40, 160, 210), STRETCH),
           ("SUNRISE.bmp", (200, 60, 140), TILE)]


def framed(x, y, colour):
    """A picture of one colour with a white frame and a darker square, so that
    tiles and placements show on a screenshot."""
    if x < 3 or y < 3 or x >= 157 or y >= 117:
        return (255, 255, 255)
    if 60 <= x < 100 and 40 <= y < 80:
        return tuple(v // 2 for v in colour)
    return colour


class Manager(unittest.TestCase):
    def setUp(self):
        self.d = Desktop("kvmanager", kve2e.BIN)
        self.folder = self.d.prepare("Kestrova.exe")
        self.win = "Z:" + self.folder.replace("/", "\\") + "\\"
        records = b""
        for name, colour, style in ENTRIES:
            write_bmp(os.path.join(self.folder, name), 160, 120, lambda x, y, c=colour: framed(x, y, c))
            records += list_record(name, self.win, style)
        with open(os.path.join(self.folder, "wallpaper.lst"), "wb") as f:
            f.write(records)
        # Pictures to drop: a folder with a subfolder, a loose picture and a text.
        tree = os.path.join(self.folder, "drops", "top")
        os.makedirs(os.path.join(tree, "sub", "deeper"))
        for rel, colour in (("top1.bmp", (10, 200, 10)), ("top2.bmp", (200, 200, 10)),
                            ("sub/sub1.bmp", (10, 10, 200)), ("sub/deeper/deep1.bmp", (90, 90, 90))):
            write_bmp(os.path.join(tree, rel), 64, 48, lambda x, y, c=colour: c)
        with open(os.path.join(tree, "notes.txt"), "w") as f:
            f.write("not a picture")
        self.d.kvmsg("regdelete", ROOT, desktop=False)
        # The manager was left open at the last exit.
        self.d.kvmsg("regdword", ROOT + "\\Forms\\ManagerForm", "Visible", 1, desktop=False)

    def tearDown(self):
        self.d.stop()

    def reg(self, key, value):
        return self.d.reg(f"{ROOT}\\{key}" if key else ROOT, value)

    def rows(self):
        return self.d.send(self.listview.hwnd, LVM_GETITEMCOUNT)

    def drop(self, *names, shift=False):
        before = self.rows()
        if shift:
            self.d._xdotool("keydown", "shift")
        try:
            self.d.kvmsg("drop", self.listview.hwnd, *[self.win + n.replace("/", "\\") for n in names])
            wait_until(lambda: self.rows() != before, timeout=20)
            time.sleep(0.5)  # the end of the add
        finally:
            if shift:
                self.d._xdotool("keyup", "shift")
        return self.rows()

    def wallpaper_written(self, before):
        path = os.path.join(self.folder, "Wallpaper.bmp")
        return wait_until(lambda: os.path.exists(path) and os.path.getmtime(path) > before, timeout=20)

    def mtime(self):
        path = os.path.join(self.folder, "Wallpaper.bmp")
        before = os.path.getmtime(path) if os.path.exists(path) else 0
        time.sleep(1.1)  # whole seconds of file times
        return before

    def test_drops_search_and_preview(self):
        d = self.d
        d.start("Kestrova.exe")
        browser = d.wait_window("TOrganicShapeForm", "Kestrova", timeout=60)
        manager = d.wait_window("TOrganicShapeForm", "Kestrova Manager", timeout=30)
        d.xwindow()
        self.listview = None
        self.listview = wait_until(lambda: d.find_child(manager.hwnd, "SysListView32"), timeout=20)
        self.assertIsNotNone(self.listview)
        self.assertTrue(wait_until(lambda: self.rows() == 3, timeout=20))
        # Both windows start at the screen's corner; the manager is dragged
        # off the browser by its face, as a user moves it.
        time.sleep(1)
        d._xdotool("mousemove", "--window", d.xwindow(), manager.left + 140, manager.top + 9)
        d._xdotool("mousedown", 1)
        for x in range(160, 480, 40):
            d._xdotool("mousemove", "--window", d.xwindow(), x, 20)
            time.sleep(0.05)
        d._xdotool("mouseup", 1)
        time.sleep(0.5)
        manager = d.find_window("TOrganicShapeForm", "Kestrova Manager")
        self.assertGreater(manager.left, 200)
        d.screenshot("browser-and-manager-at-start")

        # A folder dropped without Shift: its own pictures only, not the text.
        self.assertEqual(self.drop("drops/top"), 5)
        # With Shift held: the folder's whole tree, its subfolder's picture too.
        time.sleep(0.5)
        self.assertEqual(self.drop("drops/top/sub", shift=True), 7)
        time.sleep(1)
        d.screenshot("manager-after-drops")

        # "Add Wallpaper(s)" from the manager's "Add" button: the open dialog
        # with its picture preview lies whole inside the work area, above the
        # task bar, and Escape leaves it without adding anything.
        d.click(manager.left + 170, manager.top + 163)
        dialog = d.wait_window("#32770", timeout=20)
        time.sleep(1)
        dialog = d.find_window("#32770")
        taskbar = d.find_window("Shell_TrayWnd")
        bottom = taskbar.top if taskbar and taskbar.top > 384 else 768
        d.screenshot("add-wallpapers-dialog")
        self.assertGreaterEqual(min(dialog.left, dialog.top), 0, dialog)
        self.assertLessEqual(dialog.right, 1024, dialog)
        self.assertLessEqual(dialog.bottom, bottom, dialog)
        d._xdotool("key", "Escape")
        self.assertTrue(wait_until(lambda: d.find_window("#32770") is None, timeout=10))
        self.assertEqual(self.rows(), 7)

        # The search window from the browser's F3, the search typed, the second
        # result picked with Down and Enter: "SUNRISE.bmp", the third entry.
        before = self.mtime()
        d.post(browser.hwnd, WM_KEYDOWN, VK_F3)
        search = d.wait_window("KvForm", "Search", timeout=20)
        self.assertTrue(wait_until(lambda: d.kvmsg("visible", search.hwnd)[0] == "1", timeout=10))
        # Typed as the X keyboard types, into the text the click gave the focus.
        d.click(search.left + 60, search.top + 52)
        d._xdotool("type", "--delay", 60, "sun")
        time.sleep(0.5)
        d.screenshot("search-typed")
        d._xdotool("key", "Down")
        time.sleep(0.2)
        d._xdotool("key", "Return")
        self.assertTrue(self.wallpaper_written(before), "the pick applied nothing")
        time.sleep(0.5)
        self.assertEqual(self.reg("", "Current Wall Number"), "2")
        self.assertEqual(d.kvmsg("visible", search.hwnd)[0], "0")
        _, _, _, pixel = read_bmp(os.path.join(self.folder, "Wallpaper.bmp"))
        self.assertEqual(pixel(5, 5), ENTRIES[2][1])
        self.assertEqual(d.send(self.listview.hwnd, LVM_GETSELECTEDCOUNT), 1)
        d.screenshot("browser-and-manager")

        # The search window opens at its kept place, the screen's corner, over
        # the browser: the pointer left there would keep a preview's tip up
        # over the list. It moves to the empty desktop first.
        d._xdotool("mousemove", "--window", d.xwindow(), 900, 600)
        time.sleep(1)
        # The list's own menu on the selected row: "Preview Image" is its eighth
        # command; the preview shows the tiled entry over the whole screen.
        lv = d.find_child(manager.hwnd, "SysListView32")
        d.click(lv.left + 40, lv.top + 28 + 2 * 14, button=3)
        menu = d.wait_window("#32768", timeout=10)
        for _ in range(8):
            d._xdotool("key", "Down")
            time.sleep(0.1)
        d._xdotool("key", "Return")
        preview = d.wait_window("KvPreviewForm", "Preview", timeout=20)
        self.assertTrue(wait_until(lambda: d.kvmsg("visible", preview.hwnd)[0] == "1", timeout=10))
        time.sleep(1)
        png = d.screenshot("preview-tiled")
        # Tiles of 160 x 120 from the top-left corner, all the entry's colour.
        for x, y in ((5, 5), (165, 125), (900, 700)):
            self.assertEqual(d.pixel(png, x, y), ENTRIES[2][1], (x, y))

        # "Apply Image" from the preview's own menu: the shown picture becomes
        # the wallpaper, screen-sized, and the preview goes.
        before = self.mtime()
        d.click(500, 400, button=3)
        menu = d.wait_window("#32768", timeout=10)
        d.click((menu.left + menu.right) // 2, menu.top + 10)
        self.assertTrue(self.wallpaper_written(before), "Apply Image wrote no wallpaper")
        self.assertTrue(wait_until(lambda: d.kvmsg("visible", preview.hwnd)[0] == "0", timeout=10))
        width, height, _, pixel = read_bmp(os.path.join(self.folder, "Wallpaper.bmp"))
        self.assertEqual((width, height), (1024, 768))
        self.assertEqual(pixel(1000, 700), ENTRIES[2][1])
        time.sleep(1)
        d.screenshot("desktop-after-preview-apply")


if __name__ == "__main__":
    kve2e.run_tests()
