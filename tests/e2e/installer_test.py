#!/usr/bin/env python3
"""The Windows installer in a fresh Wine prefix: a silent install with the
log-on choice, the files, the shortcut and the uninstall entry; Kestrova
started from the installed place; then a silent uninstall while it runs,
after which no settings, no Run value, no file type of Kestrova's, no
shortcut and no program folder are left (a file type another program holds
stays)."""

import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import kve2e  # noqa: E402

ROOT = "Software\\Tollvard\\Kestrova"
UNINSTALL = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrova"
RUN = "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
CLASSES = "Software\\Classes\\"


class Installer(unittest.TestCase):
    def setUp(self):
        self.setup = os.path.join(kve2e.BIN, "..", "dist", "KestrovaSetup.exe")
        self.env = dict(kve2e.wine_environment())
        self.prefix = os.path.join(kve2e.TOP, "build", "installer-prefix")
        if self.env.get("WINEARCH") == "win64":
            self.prefix += "64"
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.env["WINEPREFIX"] = self.prefix
        self.kvmsg = os.path.join(kve2e.BIN, "kvmsg.exe")
        self.desktop = None

    def tearDown(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        if self.desktop:
            self.desktop.kill()
        shutil.rmtree(self.prefix, ignore_errors=True)

    def wine(self, *args, timeout=180):
        return subprocess.run(["wine", *args], env=self.env, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=timeout)

    def reg(self, key, value=None):
        """A value (None: the key's default) under HKEY_CURRENT_USER; None when absent."""
        r = self.wine(self.kvmsg, "reg", key, "" if value is None else value)
        return r.stdout.decode().strip() if r.returncode == 0 else None

    def key_exists(self, key):
        return self.wine("reg", "query", "HKCU\\" + key).returncode == 0

    def user_folder(self, *parts):
        users = os.path.join(self.prefix, "drive_c", "users")
        user = next(u for u in os.listdir(users) if u not in ("Public", "public"))
        return os.path.join(users, user, *parts)

    def test_silent_install_start_and_uninstall(self):
        self.assertTrue(os.path.exists(self.setup), "the build made no installer")
        self.wine("wineboot", "-i", timeout=300)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=300)

        self.assertEqual(self.wine(os.path.abspath(self.setup), "/S", "/LOGON=1").returncode, 0)
        folder = self.user_folder("AppData", "Local", "Programs", "Kestrova")
        for name in ("Kestrova.exe", "kvuninst.exe", "kvtool.exe", "Uninstall.exe",
                     os.path.join("Skins", "Steel", "Steel.ini"),
                     os.path.join("Skins", "Lagoon", "Lagoon.ini")):
            self.assertTrue(os.path.exists(os.path.join(folder, name)), name)
        # The libraries' licences, one section for each library linked in.
        with open(os.path.join(folder, "Licences.txt"), encoding="utf-8-sig") as f:
            titles = [line for line in f.read().splitlines() if ", for " in line]
        for library in ("libjpeg62-turbo ", "libpng ", "libgif ", "libtiff ", "libwebp ", "libheif ",
                        "libde265 ", "libdav1d ", "libz-mingw-w64 ", "g++-mingw-w64-"):
            self.assertTrue(any(t.startswith(library) for t in titles), (library, titles))
        shortcut = self.user_folder("AppData", "Roaming", "Microsoft", "Windows", "Start Menu",
                                    "Programs", "Kestrova.lnk")
        self.assertTrue(os.path.exists(shortcut))
        self.assertEqual(self.reg(UNINSTALL, "DisplayName"), "Kestrova")
        self.assertEqual(self.reg(UNINSTALL, "Publisher"), "Tollvard")
        self.assertTrue(self.reg(UNINSTALL, "DisplayVersion"))
        self.assertTrue(self.reg(UNINSTALL, "DisplayIcon").endswith("Kestrova.exe,0"))
        self.assertGreater(int(self.reg(UNINSTALL, "EstimatedSize")), 1000)  # KB
        self.assertIn("Uninstall.exe", self.reg(UNINSTALL, "QuietUninstallString"))
        self.assertEqual(self.reg(ROOT + "\\Kv Options", "Run On Startup"), "1")
        self.assertTrue(self.reg(RUN, "Kestrova").lower().endswith("kestrova.exe"))

        # Started from where it was installed, it shows its browser and writes
        # its settings into the new prefix.
        exe = "C:" + folder.split("drive_c", 1)[1].replace("/", "\\")
        exe += "\\Kestrova.exe"
        self.desktop = subprocess.Popen(["wine", "explorer", "/desktop=installed,1024x768", exe],
                                        env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        found = kve2e.wait_until(lambda: self.wine(self.kvmsg, "--desktop", "installed", "find",
                                                   "TOrganicShapeForm", "Kestrova").returncode == 0,
                                 timeout=60)
        self.assertTrue(found, "Kestrova did not start from its installed place")
        self.assertTrue(kve2e.wait_until(lambda: self.reg(ROOT, "CurrentSkinFile"), timeout=20))
        # File types as Kestrova registers them, and one another program took.
        for key, value in ((CLASSES + ".lst", "Kestrova.WallpaperList"),
                           (CLASSES + "Kestrova.WallpaperList", "Kestrova Wallpaper List"),
                           (CLASSES + ".kvs", "Other.Skins"),
                           (CLASSES + "Kestrova.Skin", "Kestrova Skin File")):
            self.wine("reg", "add", "HKCU\\" + key, "/ve", "/d", value, "/f")

        # The silent uninstall closes the running program and removes it all. It
        # runs on the program's desktop, where it can see the program's window.
        self.wine("explorer", "/desktop=installed,1024x768", os.path.join(folder, "Uninstall.exe"),
                  "/S")
        self.assertTrue(kve2e.wait_until(lambda: not os.path.exists(folder), timeout=60),
                        "the program folder is still there")
        self.assertTrue(kve2e.wait_until(
            lambda: self.wine(self.kvmsg, "--desktop", "installed", "find", "TOrganicShapeForm",
                              "Kestrova").returncode != 0, timeout=30), "Kestrova still runs")
        self.assertFalse(os.path.exists(shortcut))
        self.assertFalse(self.key_exists(ROOT))
        self.assertFalse(self.key_exists(UNINSTALL))
        self.assertIsNone(self.reg(RUN, "Kestrova"))
        self.assertFalse(self.key_exists(CLASSES + ".lst"))
        self.assertFalse(self.key_exists(CLASSES + "Kestrova.WallpaperList"))
        self.assertFalse(self.key_exists(CLASSES + "Kestrova.Skin"))
        self.assertEqual(self.reg(CLASSES + ".kvs"), "Other.Skins")  # not Kestrova's


if __name__ == "__main__":
    kve2e.run_tests()
