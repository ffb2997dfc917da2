#!/usr/bin/env python3
"""The options window's program-wide work, seen from outside the real Kestrova.exe
on Wine's virtual desktop: a global hotkey pressed as an X key chord switches the
wallpaper, and the Run value follows "Run On Startup" and the executable's place.
The settings are prepared with Wine's own registry tool and read back with it."""

import os
import re
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import kve2e  # noqa: E402
from kve2e import Desktop, write_bmp  # noqa: E402

ROOT = r"HKCU\Software\Tollvard\Kestrova"
RUN = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Registry:
    def __init__(self, env):
        self.env = env

    def run(self, *args):
        return subprocess.run(["wine", "reg", *args], env=self.env, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=60)

    def clear(self):
        self.run("delete", ROOT, "/f")
        self.run("delete", RUN, "/v", "Kestrova", "/f")

    def put(self, key, name, value):
        kind, data = ("REG_DWORD", str(value)) if isinstance(value, int) else ("REG_SZ", value)
        self.run("add", key, "/v", name, "/t", kind, "/d", data, "/f")

    def get(self, key, name):
        """The value's data as text (a DWORD as its decimal number), None when absent."""
        r = self.run("query", key, "/v", name)
        # Lines read "    <name>    <type>    <data>"; names may hold spaces.
        for line in r.stdout.decode(errors="replace").splitlines():
            m = re.match(r"^\s+(.*?)\s{4}(REG_\w+)\s{4}(.*?)\s*$", line)
            if m and m.group(1).lower() == name.lower():
                return str(int(m.group(3), 16)) if m.group(2) == "REG_DWORD" else m.group(3)
        return None


class OptionsOnTheDesktop(unittest.TestCase):
    def setUp(self):
        self.desktops = []

    def tearDown(self):
        for d in self.desktops:
            d.stop()
        if self.desktops:
            Registry(self.desktops[0].env).clear()

    def start(self, name, settings, pictures=0):
        d = Desktop(name, kve2e.BIN)
        self.desktops.append(d)
        reg = Registry(d.env)
        folder = d.prepare("Kestrova.exe")
        for i in range(pictures):
            write_bmp(os.path.join(folder, f"pic{i}.bmp"), 8, 8, lambda x, y, i=i: (40 * i, 90, 30))
        for key, name_, value in settings(folder):
            reg.put(key, name_, value)
        d.start("Kestrova.exe")
        d.wait_window("KvForm", "Configuration", timeout=60)
        return d, reg, folder

    def test_a_hotkey_chord_switches_the_wallpaper(self):
        reg = Registry(kve2e.wine_environment())
        reg.clear()
        d, reg, folder = self.start("kvhotkey", lambda folder: [
            (ROOT + r"\Buttons", "Enable Next Hotkey", 1),
            (ROOT + r"\Buttons", "NextHotkey", "Ctrl+Alt+N"),
            # The watched folder puts its three pictures into the list at load.
            (ROOT + r"\Directories", "WallPaperDir", windows_path(folder)),
        ], pictures=3)
        # Registered by the settings load, which follows the window's creation.
        kve2e.wait_until(lambda: reg.get(ROOT, "CurrentSkinFile"), timeout=20)
        before = reg.get(ROOT, "Current Wall Number")
        d.key("ctrl+alt+n")
        moved = kve2e.wait_until(lambda: reg.get(ROOT, "Current Wall Number") not in (None, before),
                                 timeout=20)
        self.assertTrue(moved, "the hotkey did not switch the wallpaper")
        # "Next" steps backwards through the list, from 0 to the last entry.
        self.assertEqual(reg.get(ROOT, "Current Wall Number"), "2")
        self.assertTrue(os.path.exists(os.path.join(folder, "Wallpaper.bmp")))

    def test_the_run_value_follows_the_option_and_the_executable(self):
        reg = Registry(kve2e.wine_environment())
        reg.clear()
        reg.run("add", RUN, "/v", "Kestrova", "/t", "REG_SZ", "/d", r"C:\old\Kestrova.exe", "/f")
        settings = lambda folder: [(ROOT + r"\Kv Options", "Run On Startup", 1)]  # noqa: E731
        d, reg, folder = self.start("kvrun1", settings)
        exe = windows_path(os.path.join(folder, "Kestrova.exe"))
        # The window appears before its settings load: wait for the value.
        kve2e.wait_until(lambda: reg.get(RUN, "Kestrova") == exe, timeout=20)
        self.assertEqual(reg.get(RUN, "Kestrova"), exe)
        d.stop()
        # Moved and started from its new place: the value follows it.
        d2, reg, folder2 = self.start("kvrun2", settings)
        self.assertNotEqual(folder2, folder)
        moved = windows_path(os.path.join(folder2, "Kestrova.exe"))
        kve2e.wait_until(lambda: reg.get(RUN, "Kestrova") == moved, timeout=20)
        self.assertEqual(reg.get(RUN, "Kestrova"), moved)
        d2.stop()
        # "Run On Startup" 0: whatever was there is gone after start-up.
        settings = lambda folder: [(ROOT + r"\Kv Options", "Run On Startup", 0)]  # noqa: E731
        d3, reg, _ = self.start("kvrun3", settings)
        kve2e.wait_until(lambda: reg.get(ROOT, "CurrentSkinFile"), timeout=20)  # loaded
        self.assertIsNone(reg.get(RUN, "Kestrova"))


if __name__ == "__main__":
    kve2e.run_tests()
