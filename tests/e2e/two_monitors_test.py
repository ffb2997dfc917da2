#!/usr/bin/env python3
"""Kestrova.exe with "Each Monitor Own Wallpaper" on two monitors that Wine
itself reports, in an X server and a Wine prefix of this test's own (the shared
session and its virtual desktop are left alone).

How Wine 8 gets two monitors here
- Wine's X11 driver asks the X server for monitors through XRandR 1.4 (outputs
  and their CRTCs) or, with XRandR off or not loadable, through Xinerama. Xvfb
  has one output and one CRTC per screen, so the XRandR way always gives one
  monitor; Xvfb's own Xinerama (+xinerama with two -screen) puts every screen
  at 0,0, so Wine reports overlapping monitors, which no desktop can show.
- What works: one Xvfb screen as large as the layout, started with -noreset
  (else the server forgets the monitors when its last client leaves); the
  monitors defined on it with RandR 1.5 (`xrandr --setmonitor`; the first takes
  the output "screen", so no automatic monitor covers the whole screen, and a
  name marked `*` is the primary), which the server also reports as Xinerama
  screens; Wine told to leave XRandR alone ("UseXRandR"="N" under
  HKCU\\Software\\Wine\\X11 Driver) so it uses that Xinerama list; the 32-bit
  Wine also needs the 32-bit libXinerama (libxinerama1:i386), which it loads
  at run time. No virtual desktop: Wine's virtual desktop is one monitor.
- Wine reads the Xinerama list when a process starts and never watches it. A
  layout changed later (`xrandr --delmonitor/--setmonitor`) reaches running
  programs when some process applies the display settings anew
  (ChangeDisplaySettingsEx without a mode, as a display control panel does:
  `kvmsg displayreset`): Wine then takes the X server's new list as the
  system's layout and sends WM_DISPLAYCHANGE to every top-level window.
- What Wine cannot show: with no virtual desktop Wine paints no desktop, so
  the X screen stays black behind the program's windows and no screenshot can
  show the wallpaper. The wallpaper is checked where the system takes it from:
  Wallpaper.bmp and the desktop's registry values. The screenshots stay in
  build/e2e/two_monitors/ for a look at the windows.

The run: a landscape primary beside a portrait monitor; four solid-coloured
pictures in "Stretch". Wine must report the layout; after Next, Wallpaper.bmp
is the virtual screen's size with every pixel of each monitor's region in that
monitor's picture (tiled from the primary's corner) and the rest in the desktop
colour, and the desktop's values are the tiled ones. Next moves both monitors,
"next --monitor 2" only the second, and the program refuses a third monitor.
Then the layout changes while the program runs (the second monitor turned
landscape, left of and above the primary, the virtual screen smaller) and the
same entries are composed for the new layout.
"""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import kve2e  # noqa: E402
from kve2e import Desktop, list_record, wait_until, write_bmp  # noqa: E402

ROOT = "Software\\Tollvard\\Kestrova"
COLOURS = [(200, 40, 40), (40, 170, 60), (40, 60, 210), (220, 200, 40)]
STRETCH = 1  # the style's number in a list record
# The X screen holds every layout; monitors are (name, width, height, x, y) in
# X coordinates, the first one the primary.
SCREEN = (1600, 1024)
SIDE_BY_SIDE = [("Main", 1024, 768, 0, 0), ("Side", 576, 1024, 1024, 0)]
LEFT_ABOVE = [("Main", 1024, 768, 480, 200), ("Side", 480, 360, 0, 0)]


class MonitorSession:
    """An Xvfb with RandR monitors and a Wine prefix beside the shared one
    (build/wineprefix-monitors, prepared once), each ended by stop()."""

    def __init__(self):
        self.prefix = os.path.join(kve2e.TOP, "build", "wineprefix-monitors")
        self.pidfile = self.prefix + ".xvfb.pid"
        self.xvfb = None
        self.env = None
        self.names = []

    def start(self, layout):
        """Starts the X server with `layout` and Wine's session on it (Wine
        takes the monitors when its session starts); False when the X server
        keeps no RandR 1.5 monitors."""
        self._end_leftover_xvfb()
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-noreset", "-nolisten", "tcp",
             "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        with open(self.pidfile, "w") as f:
            f.write(str(self.xvfb.pid))
        self.env = kve2e.wine_environment({"DISPLAY": ":" + number, "KV_WINEPREFIX": self.prefix})
        self._run("wineserver", "-k", check=False)  # what an interrupted run left
        if not self.set_layout(layout):
            return False
        ready = os.path.join(self.env["WINEPREFIX"], ".kv-ready")
        if not os.path.exists(ready):
            self._run("rm", "-rf", self.env["WINEPREFIX"])
            self._run("wine", "wineboot", "-i")
            self._run("wine", "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "UseXRandR",
                      "/d", "N", "/f")
            self._run("wineserver", "-w")
            open(ready, "w").close()
        # A persistent server, and Wine's own services started away from the
        # output pipes of the commands that follow (which would wait for them).
        self._run("wineserver", "-p")
        self._run("wine", "cmd", "/c", "exit")
        return True

    def stop(self):
        if self.env:
            self._run("wineserver", "-k", check=False)
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait(timeout=10)
            os.remove(self.pidfile)

    def _end_leftover_xvfb(self):
        try:
            with open(self.pidfile) as f:
                pid = int(f.read())
            with open(f"/proc/{pid}/comm") as f:
                if f.read().strip() == "Xvfb":
                    os.kill(pid, 15)
        except (OSError, ValueError):
            pass

    def _run(self, *cmd, check=True, output=False):
        return subprocess.run(cmd, env=self.env, check=check, stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE if output else subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=120)

    def set_layout(self, monitors):
        """Replaces the X server's monitors; the first is the primary and takes
        the screen's output."""
        for name in self.names:
            self._run("xrandr", "--delmonitor", name)
        for i, (name, w, h, x, y) in enumerate(monitors):
            # Physical sizes at about 96 pixels per inch.
            geometry = f"{w}/{w * 254 // 960}x{h}/{h * 254 // 960}+{x}+{y}"
            self._run("xrandr", "--setmonitor", ("*" if i == 0 else "") + name, geometry,
                      "screen" if i == 0 else "none")
        self.names = [m[0] for m in monitors]
        listed = self._run("xrandr", "--listmonitors", output=True).stdout.decode()
        return listed.splitlines()[0].strip() == f"Monitors: {len(monitors)}"


def windows_monitors(monitors):
    """The layout in the system's coordinates: the primary's corner at 0,0.
    Each monitor as (left, top, right, bottom)."""
    _, _, _, px, py = monitors[0]
    return [(x - px, y - py, x - px + w, y - py + h) for _, w, h, x, y in monitors]


def bmp_rows(path):
    """(width, height, rows top-down as BGR bytes) of a 24-bit bottom-up BMP."""
    with open(path, "rb") as f:
        data = f.read()
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little", signed=True)
    height = int.from_bytes(data[22:26], "little", signed=True)
    assert data[28] == 24 and height > 0, "not a 24-bit bottom-up bitmap"
    stride = (width * 3 + 3) & ~3
    rows = [data[offset + r * stride:offset + r * stride + width * 3] for r in range(height)]
    return width, height, rows[::-1]


def expected_rows(rects, colours, background, size):
    """Each row of the bitmap that shows monitor i's colour in rects[i] when
    the desktop tiles it from the primary's corner (a monitor left of or above
    the primary wraps round to the right or bottom), the background elsewhere."""
    width, height = size
    rows = [bytearray(bytes(background[::-1]) * width) for _ in range(height)]
    for (left, top, right, bottom), colour in zip(rects, colours):
        bgr = bytes(colour[::-1])
        x0 = left % width
        spans = [(x0, min(width, x0 + right - left)), (0, max(0, x0 + right - left - width))]
        for y in range(top, bottom):
            row = rows[y % height]
            for a, b in spans:
                row[3 * a:3 * b] = bgr * (b - a)
    return rows


class TwoMonitors(unittest.TestCase):
    def setUp(self):
        self.d = None
        self.session = MonitorSession()
        if not self.session.start(SIDE_BY_SIDE):
            self.session.stop()
            self.skipTest("the X server keeps no RandR 1.5 monitors (xrandr --setmonitor)")

    def tearDown(self):
        if self.d:
            self.d.stop()
        self.session.stop()

    def kvmsg(self, *args):
        return self.d.kvmsg(*args)

    def send(self, *words):
        r = subprocess.run(["wine", "kvtool.exe", "send", *words], cwd=self.folder, env=self.d.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                           timeout=60)
        return r.returncode

    def wallpaper(self):
        path = os.path.join(self.folder, "Wallpaper.bmp")
        if not os.path.exists(path):
            return b""
        with open(path, "rb") as f:
            return f.read()

    def rewritten(self, action):
        """Runs action and waits until Wallpaper.bmp is a new one (the program
        replaces it whole)."""
        before = self.wallpaper()
        action()
        self.assertTrue(wait_until(lambda: self.wallpaper() not in (b"", before), timeout=30),
                        "the program wrote no new Wallpaper.bmp")
        time.sleep(0.3)  # the index is stored right after the file

    def current(self):
        return int(self.d.reg(ROOT, "Current Wall Number"))

    def assert_system_sees(self, monitors):
        lines = self.kvmsg("monitors")[0].splitlines()
        rects = windows_monitors(monitors)
        xs, ys = [r[0] for r in rects] + [r[2] for r in rects], [r[1] for r in rects] + [r[3] for r in rects]
        expected = [f"virtual {min(xs)} {min(ys)} {max(xs) - min(xs)} {max(ys) - min(ys)}"]
        expected += [f"{l} {t} {r} {b} {int(i == 0)}" for i, (l, t, r, b) in enumerate(rects)]
        expected += [f"at {int((l + r) / 2)} {int((t + b) / 2)} {i}" for i, (l, t, r, b) in enumerate(rects)]
        self.assertEqual(lines, expected, "Wine reports another layout than the X server's")
        return (max(xs) - min(xs), max(ys) - min(ys))

    def assert_wallpaper_shows(self, monitors, entries, label):
        """Wallpaper.bmp is the virtual screen's size and shows entries[i] on
        monitor i, the desktop colour elsewhere; the desktop takes it tiled."""
        size = self.assert_system_sees(monitors)
        width, height, rows = bmp_rows(os.path.join(self.folder, "Wallpaper.bmp"))
        self.assertEqual((width, height), size)
        background = tuple(int(v) for v in self.d.reg("Control Panel\\Colors", "Background").split())
        want = expected_rows(windows_monitors(monitors), [COLOURS[e] for e in entries], background, size)
        wrong = [y for y in range(height) if rows[y] != want[y]]
        if wrong:
            y = wrong[0]
            x = next(i // 3 for i in range(0, 3 * width, 3) if rows[y][i:i + 3] != want[y][i:i + 3])
            self.fail(f"{label}: {len(wrong)} rows differ; first at {x},{y}: "
                      f"{tuple(rows[y][3 * x:3 * x + 3][::-1])}, not {tuple(want[y][3 * x:3 * x + 3][::-1])}")
        desktop = "Control Panel\\Desktop"
        self.assertEqual(self.d.reg(desktop, "Wallpaper").lower(),
                         ("Z:" + self.folder.replace("/", "\\") + "\\Wallpaper.bmp").lower())
        self.assertEqual((self.d.reg(desktop, "TileWallpaper"), self.d.reg(desktop, "WallpaperStyle")),
                         ("1", "0"))
        self.d.screenshot(label)

    def test_each_monitor_shows_its_own_picture_before_and_after_a_layout_change(self):
        self.d = RootDesktop("two_monitors", kve2e.BIN, self.session.env)
        self.folder = self.d.prepare("Kestrova.exe", files=[os.path.join(kve2e.BIN, "kvtool.exe")])
        lines = self.kvmsg("monitors")[0].splitlines()
        self.assertEqual(len(lines), 5, "Wine sees one monitor: is the 32-bit libXinerama "
                         f"(libxinerama1:i386) installed? It reports: {lines}")
        self.assert_system_sees(SIDE_BY_SIDE)

        folder = "Z:" + self.folder.replace("/", "\\") + "\\"
        records = b""
        for i, colour in enumerate(COLOURS):
            write_bmp(os.path.join(self.folder, f"picture{i}.bmp"), 64, 48, lambda x, y, c=colour: c)
            records += list_record(f"picture{i}.bmp", folder, STRETCH)
        with open(os.path.join(self.folder, "wallpaper.lst"), "wb") as f:
            f.write(records)
        self.kvmsg("regdelete", ROOT)
        self.kvmsg("regdword", ROOT + "\\Monitors", "Each Monitor Own Wallpaper", 1)

        self.d.start("Kestrova.exe")
        self.d.wait_window("TOrganicShapeForm", "Kestrova", timeout=60)
        n = len(COLOURS)

        # Next: the primary shows the current entry, the other monitor the next
        # one in list order; a second Next moves both.
        self.rewritten(lambda: self.assertEqual(self.send("next"), 0))
        first = self.current()
        self.assert_wallpaper_shows(SIDE_BY_SIDE, [first, (first + 1) % n], "first-next")
        self.rewritten(lambda: self.assertEqual(self.send("next"), 0))
        now = self.current()
        self.assertNotEqual(now, first)
        self.assert_wallpaper_shows(SIDE_BY_SIDE, [now, (now + 1) % n], "second-next")

        # Only the second monitor moves on; the program knows of no third.
        self.rewritten(lambda: self.assertEqual(self.send("next", "--monitor", "2"), 0))
        entries = [now, (now + 2) % n]
        self.assert_wallpaper_shows(SIDE_BY_SIDE, entries, "next-on-monitor-2")
        self.assertNotEqual(self.send("next", "--monitor", "3"), 0)

        # The layout changes under the running program; once the system
        # announces it, the same entries are composed for the new layout.
        self.assertTrue(self.session.set_layout(LEFT_ABOVE))
        self.rewritten(lambda: self.assertEqual(self.kvmsg("displayreset")[0], "0"))
        self.assertEqual(self.current(), now)
        self.assert_wallpaper_shows(LEFT_ABOVE, entries, "left-above")
        self.assertNotEqual(self.send("next", "--monitor", "3"), 0)


class RootDesktop(Desktop):
    """Programs on Wine's default desktop, straight on the X screen (no
    virtual desktop: every window is an X window of its own)."""

    def __init__(self, name, bin_dir, env):
        super().__init__(name, bin_dir, size=SCREEN, env=env)

    def start(self, exe, *args):
        log = open(os.path.join(self.folder, "wine-output.txt"), "wb")
        self.process = subprocess.Popen(["wine", exe, *args], cwd=self.folder, env=self.env,
                                        stdout=log, stderr=subprocess.STDOUT,
                                        stdin=subprocess.DEVNULL, start_new_session=True)
        log.close()

    def kvmsg(self, *args, check=True, desktop=True):
        return super().kvmsg(*args, check=check, desktop=False)

    def xwindow(self, timeout=0):
        return "root"


if __name__ == "__main__":
    kve2e.run_tests()
