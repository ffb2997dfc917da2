#!/usr/bin/env python3
"""Kestrova.exe itself on Wine's virtual desktop, driven as a user drives it:
real clicks on its tray icon (with and without Shift held on the X keyboard),
its tray menu, its browser's previews, and two starts in a row that share the
registry and the program folder.

The list holds four pictures: three flat-coloured ones in the "Stretch" style,
so the wallpaper's pixels tell which entry was applied, and a gradient in
"Lanczos3", whose wallpaper must be exactly what `kvtool render` makes of it."""

import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import kve2e  # noqa: E402
from kve2e import Desktop, list_record, read_bmp, wait_until, write_bmp  # noqa: E402

ROOT = "Software\\Tollvard\\Kestrova"
COLOURS = [(200, 40, 40), (40, 170, 60), None, (220, 200, 40)]
GRADIENT = 2  # the entry in Lanczos3
STYLES = {"Stretch": 1, "Lanczos3": 9}  # the styles' numbers in a list record
SCREEN = (1024, 768)
WM_CLOSE = 0x0010


class Kestrova(unittest.TestCase):
    def setUp(self):
        self.d = Desktop("kestrova", kve2e.BIN)
        self.folder = self.d.prepare("Kestrova.exe")
        windows_folder = "Z:" + self.folder.replace("/", "\\") + "\\"
        records = b""
        for i, colour in enumerate(COLOURS):
            name = f"picture{i}.bmp"
            if colour:
                write_bmp(os.path.join(self.folder, name), 64, 48, lambda x, y, c=colour: c)
            else:
                write_bmp(os.path.join(self.folder, name), 97, 61, lambda x, y: (x * 2, y * 4, 255 - x))
            records += list_record(name, windows_folder, STYLES["Lanczos3" if i == GRADIENT else "Stretch"])
        with open(os.path.join(self.folder, "wallpaper.lst"), "wb") as f:
            f.write(records)
        shutil.copy2(os.path.join(kve2e.BIN, "kvtool.exe"), self.folder)
        # A clean registry: the program's first run.
        self.d.kvmsg("regdelete", ROOT, desktop=False)

    def tearDown(self):
        self.d.stop()

    # -- helpers -------------------------------------------------------------

    def reg(self, key, value):
        return self.d.reg(f"{ROOT}\\{key}" if key else ROOT, value)

    def index(self):
        return int(self.reg("", "Current Wall Number"))

    def wallpaper_colour(self):
        _, _, _, pixel = read_bmp(os.path.join(self.folder, "Wallpaper.bmp"))
        return pixel(20, 20)

    def assert_wallpaper_is(self, entry):
        """Wallpaper.bmp is that entry's, and the desktop points at it."""
        if COLOURS[entry]:
            self.assertEqual(self.wallpaper_colour(), COLOURS[entry])
        else:
            rendered = os.path.join(self.folder, "rendered.bmp")
            subprocess.run(["wine", os.path.join(kve2e.BIN, "kvtool.exe"), "render",
                            f"picture{entry}.bmp", "rendered.bmp", "--style", "Lanczos3",
                            "--screen", f"{SCREEN[0]}x{SCREEN[1]}"], cwd=self.folder, env=self.d.env,
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            with open(rendered, "rb") as a, open(os.path.join(self.folder, "Wallpaper.bmp"), "rb") as b:
                self.assertTrue(a.read() == b.read(), "Wallpaper.bmp differs from kvtool render")
        desktop = self.d.kvmsg("reg", "Control Panel\\Desktop", "Wallpaper", desktop=False)[0]
        self.assertEqual(desktop.lower(), ("Z:" + self.folder.replace("/", "\\") + "\\Wallpaper.bmp").lower())
        self.assertEqual(self.d.kvmsg("reg", "Control Panel\\Desktop", "WallpaperStyle", desktop=False)[0],
                         "2" if COLOURS[entry] else "0")

    def switched(self, action, shift=False):
        """Runs a tray click and waits for the wallpaper it writes; gives the
        index the program stored."""
        path = os.path.join(self.folder, "Wallpaper.bmp")
        before = os.path.getmtime(path) if os.path.exists(path) else 0
        time.sleep(0.05 if before == 0 else 1.1)  # the file times have whole seconds here
        if shift:
            self.d._xdotool("keydown", "shift")
        try:
            action()
        finally:
            if shift:
                self.d._xdotool("keyup", "shift")
        self.assertTrue(wait_until(lambda: os.path.exists(path) and os.path.getmtime(path) > before,
                                   timeout=20), "no wallpaper was written")
        time.sleep(0.3)  # the index is stored right after the file
        return self.index()

    def send(self, *words, desktop=True):
        """kvtool send WORDS to the program; (exit code, error text)."""
        where = ["--desktop", self.d.name] if desktop else []
        r = subprocess.run(["wine", "kvtool.exe", "send", *words, *where], cwd=self.folder,
                           env=self.d.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                           stdin=subprocess.DEVNULL, timeout=60)
        return r.returncode, r.stderr.decode(errors="replace")

    def sent(self, *words):
        """Sends a command that writes a wallpaper; the index stored after it."""
        return self.switched(lambda: self.assertEqual(self.send(*words)[0], 0))

    def visible(self, window):
        out, _ = self.d.kvmsg("visible", window.hwnd)
        return out == "1"

    def start(self):
        self.d.start("Kestrova.exe")
        return self.d.wait_window("TOrganicShapeForm", "Kestrova", timeout=60)

    def tray(self, button):
        """One click on the tray icon, apart enough from the last one that the
        system does not take the two for a double click."""
        time.sleep(0.6)
        self.d.tray_click(button=button)

    def tray_menu(self):
        self.tray(3)
        return self.d.wait_window("#32768", timeout=10)

    # -- the run ---------------------------------------------------------------

    def test_a_session_of_tray_clicks_menus_and_a_restart(self):
        d = self.d
        browser = self.start()
        d.xwindow()
        self.assertTrue(wait_until(lambda: self.visible(browser), timeout=20))
        # Nothing stored yet: four rows start at (4 - 1) div 2.
        self.assertIsNone(self.reg("", "Current Wall Number"))
        first = 1

        # Shift and the left button: "Next", which steps back through the list
        # and wraps round; the wallpaper is that entry's picture.
        nxt = self.switched(lambda: self.tray(1), shift=True)
        self.assertEqual(nxt, (first - 1) % 4)
        self.assert_wallpaper_is(nxt)
        # Shift and the right button: "Previous" goes forward again.
        prev = self.switched(lambda: self.tray(3), shift=True)
        self.assertEqual(prev, first)
        self.assert_wallpaper_is(first)
        self.assertIsNone(d.find_window("#32768"), "Shift+right ran its action, not the menu")

        # The wheel turned down over the strip scrolls it on by one entry (the
        # index is not stored); the middle preview then applies that entry.
        middle = browser.left + 56, browser.top + 135
        d._xdotool("mousemove", "--window", d.xwindow(), *middle)
        d._xdotool("click", 5)
        time.sleep(0.5)
        shown = self.switched(lambda: d.click(*middle))
        self.assertEqual(shown, (first + 1) % 4)
        self.assertEqual(shown, GRADIENT)
        self.assert_wallpaper_is(shown)
        # A side preview applies the entry it shows, one away from the middle.
        side = self.switched(lambda: d.click(browser.left + 56, browser.top + 54))
        self.assertIn(side, ((shown - 1) % 4, (shown + 1) % 4))
        self.assert_wallpaper_is(side)

        # "Wallpapers" (the seventh item) and its first item "Next Wallpaper"
        # picked from the tray menu with the keyboard.
        self.tray_menu()
        keys = ["Down"] * 7 + ["Right", "Return"]
        picked = self.switched(lambda: d._xdotool("key", "--delay", 120, *keys))
        self.assertEqual(picked, (side - 1) % 4)
        self.assert_wallpaper_is(picked)
        shown = picked

        # The right button alone opens the tray menu; a screenshot records it with
        # its pictures. Escape closes it.
        menu = self.tray_menu()
        self.assertGreater(menu.bottom - menu.top, 200)  # the whole menu, every item
        d.screenshot("kestrova-menu")
        d._xdotool("key", "Escape")  # to the focused menu, as typed
        self.assertTrue(wait_until(lambda: not d.find_window("#32768"), timeout=10))

        # The left button alone: "Restore KV" toggles the browser: hidden, shown.
        self.tray(1)
        self.assertTrue(wait_until(lambda: not self.visible(browser), timeout=10))
        self.tray(1)
        self.assertTrue(wait_until(lambda: self.visible(browser), timeout=10))
        d.screenshot("kestrova-browser")
        # Hidden again, so that the next start shows what the exit stored.
        self.tray(1)
        self.assertTrue(wait_until(lambda: not self.visible(browser), timeout=10))

        # With the browser hidden (as auto-minimise leaves it) the keyboard still
        # reaches the tray menu: "Next Wallpaper" picked by keys once more.
        self.tray_menu()
        picked = self.switched(lambda: d._xdotool("key", "--delay", 120, *keys))
        self.assertEqual(picked, (shown - 1) % 4)
        shown = picked
        self.assertFalse(self.visible(browser))

        # "Exit", the menu's last item: the program ends and stores the windows'
        # visibility, the index and the list.
        menu = self.tray_menu()
        d.click((menu.left + menu.right) // 2, menu.bottom - 10)
        self.assertTrue(wait_until(lambda: not d.find_window("TOrganicShapeForm", "Kestrova"),
                                   timeout=20))
        self.assertEqual(self.reg("Forms\\Mainform", "Visible"), "0")
        self.assertEqual(self.reg("Forms\\ManagerForm", "Visible"), "0")
        self.assertEqual(self.reg("Forms\\OptionsForm", "Visible"), "0")
        self.assertEqual(self.index(), shown)
        self.assertEqual(os.path.getsize(os.path.join(self.folder, "wallpaper.lst")), 4 * 253)
        d.stop()

        # The second start keeps the browser hidden, as it was left, and starts
        # from the stored entry: "Next" steps back from it.
        browser = self.start()
        time.sleep(2)
        self.assertFalse(self.visible(browser))
        again = self.switched(lambda: self.tray(1), shift=True)
        self.assertEqual(again, (shown - 1) % 4)
        d.post(browser.hwnd, WM_CLOSE)  # closing the browser is "Exit" too
        self.assertTrue(wait_until(lambda: not d.find_window("TOrganicShapeForm", "Kestrova"),
                                   timeout=20))

    def test_kvtool_send_runs_what_the_tray_commands_run(self):
        d = self.d
        code, error = self.send("next", desktop=False)
        self.assertEqual(code, 1)
        self.assertIn("Kestrova is not running", error)
        self.assertEqual(self.send("sideways")[0], 2)
        self.assertEqual(self.send("apply")[0], 2)

        shutil.copytree(os.path.join(kve2e.BIN, "Skins"), os.path.join(self.folder, "Skins"))
        browser = self.start()
        self.assertTrue(wait_until(lambda: self.visible(browser), timeout=20))
        self.assertEqual(self.sent("next"), 0)  # from (4 - 1) div 2, back one
        self.assert_wallpaper_is(0)
        self.assertEqual(self.sent("previous"), 1)
        self.assert_wallpaper_is(1)
        at = self.sent("random")
        self.assertIn(at, range(4))
        self.assert_wallpaper_is(at)

        paused = self.reg("Wallpaper Changing", "Paused")
        self.assertEqual(self.send("pause")[0], 0)
        self.assertNotEqual(self.reg("Wallpaper Changing", "Paused"), paused)
        self.assertEqual(self.send("pause")[0], 0)
        self.assertEqual(self.reg("Wallpaper Changing", "Paused"), paused)

        self.tray(1)  # hidden, then "show" brings it back
        self.assertTrue(wait_until(lambda: not self.visible(browser), timeout=10))
        self.assertEqual(self.send("show")[0], 0)
        self.assertTrue(wait_until(lambda: self.visible(browser), timeout=10))

        # A picture of the list becomes the current entry; another one is only
        # applied, in the style asked for; a missing one is refused.
        self.assertEqual(self.sent("apply", "picture3.bmp"), 3)
        self.assert_wallpaper_is(3)
        write_bmp(os.path.join(self.folder, "other.bmp"), 64, 48, lambda x, y: (10, 220, 230))
        self.assertEqual(self.sent("apply", "other.bmp", "--style", "stretch"), 3)
        self.assertEqual(self.wallpaper_colour(), (10, 220, 230))
        self.assertEqual(self.send("apply", "missing.bmp")[0], 1)

        # A skin of the Skins menu by its name, a skin file, the built-in one;
        # an unknown name is refused and the skin stays.
        skin = lambda: self.reg("", "CurrentSkinFile")  # noqa: E731
        self.assertEqual(self.send("skin", "steel")[0], 0)
        self.assertTrue(skin().lower().endswith("\\skins\\steel\\steel.ini"), skin())
        self.assertEqual(self.send("skin", os.path.join("Skins", "Lagoon", "Lagoon.ini"))[0], 0)
        self.assertTrue(skin().lower().endswith("\\skins\\lagoon\\lagoon.ini"), skin())
        self.assertEqual(self.send("skin", "default")[0], 0)
        self.assertEqual(skin(), "%default%")
        code, error = self.send("skin", "Nowhere")
        self.assertEqual((code, skin()), (1, "%default%"))
        self.assertIn('no skin "Nowhere"', error)

        # "manager" and "options" open and close those windows as the tray does.
        for cls, title, verb in (("TOrganicShapeForm", "Kestrova Manager", "manager"),
                                 ("KvForm", "Configuration", "options")):
            window = d.wait_window(cls, title)
            shown = self.visible(window)
            for _ in range(2):
                self.assertEqual(self.send(verb)[0], 0)
                shown = not shown
                self.assertTrue(wait_until(lambda: self.visible(window) == shown, timeout=10), verb)

        # "stats" answers with the program's own counts.
        r = subprocess.run(["wine", "kvtool.exe", "send", "stats", "--desktop", d.name],
                           cwd=self.folder, env=d.env, stdout=subprocess.PIPE, check=True)
        counts = dict(line.split() for line in r.stdout.decode().splitlines())
        self.assertEqual(sorted(counts), ["gdi", "handles", "private_kb", "user"])
        self.assertGreater(int(counts["gdi"]), 10)  # the skin's bitmaps and regions at least
        self.assertGreater(int(counts["user"]), 5)  # the windows and the tray menu
        self.assertGreater(int(counts["handles"]), 0)
        self.assertGreater(int(counts["private_kb"]), 1024)
        d.post(browser.hwnd, WM_CLOSE)
        self.assertTrue(wait_until(lambda: not d.find_window("TOrganicShapeForm", "Kestrova"),
                                   timeout=20))


if __name__ == "__main__":
    kve2e.run_tests()
