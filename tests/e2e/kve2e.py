#!/usr/bin/env python3
"""End-to-end runner: drives a Windows program on Wine's virtual desktop as a user would.

A Desktop prepares a program folder under build/e2e/<name>/, starts the program
inside `wine explorer /desktop=<name>,WxH`, waits for its windows, clicks and
types on the X screen with xdotool (a click on the task bar's right end reaches
the program's tray icon; a key chord reaches a global hotkey), sends window
messages through the helper kvmsg.exe, takes screenshots (PNG) and reads their
pixels, and finally stops the processes it started (its own process group only).

It needs the Wine session of scripts/wine-session.sh (the prefix is
$KV_WINEPREFIX, default build/wineprefix), which supplies the X display.

    with Desktop("probe", bin_dir="build/win32/bin") as d:
        d.prepare("e2e_probe.exe", files=["data/picture.bmp"])
        d.start("e2e_probe.exe")
        w = d.wait_window("KvE2EProbe")
        d.tray_click(button=3)
        d.key("ctrl+alt+k")
        png = d.screenshot("after-keys")
        assert d.pixel(png, w.left + 5, w.top + 5) == (20, 160, 90)

Command line (for looking by hand):
    kve2e.py shot --bin build/win32/bin --exe e2e_probe.exe --wait KvE2EProbe [--file F]...
"""

import argparse
import contextlib
import os
import shutil
import signal
import struct
import subprocess
import sys
import time
import unittest
import zlib
from dataclasses import dataclass

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

# Wine's task bar lays its tray icons out from the right end, each a small icon
# plus a border of 2 pixels on either side.
TRAY_ICON_PITCH = 20


def wine_environment(extra=None):
    """The environment of scripts/wine-env.sh (prefix, display, quiet Wine);
    `extra` sets variables first (KV_WINEPREFIX and DISPLAY for a session of
    a test's own)."""
    script = os.path.join(TOP, "scripts", "wine-env.sh")
    out = subprocess.run(["bash", "-c", f'. "{script}" && env -0'], check=True,
                         env={**os.environ, **(extra or {})}, stdout=subprocess.PIPE).stdout
    env = {}
    for entry in out.split(b"\0"):
        if b"=" in entry:
            k, v = entry.split(b"=", 1)
            env[k.decode()] = v.decode()
    if not env.get("DISPLAY"):
        raise RuntimeError("no X display: start the Wine session first (scripts/wine-session.sh start)")
    return env


@dataclass
class Window:
    hwnd: int
    left: int
    top: int
    right: int
    bottom: int

    @property
    def centre(self):
        return ((self.left + self.right) // 2, (self.top + self.bottom) // 2)


class Desktop:
    def __init__(self, name, bin_dir, size=(1024, 768), env=None):
        self.name = name
        self.bin_dir = os.path.abspath(bin_dir)
        self.size = size
        self.folder = os.path.join(TOP, "build", "e2e", name)
        self.env = env or wine_environment()
        self.process = None
        self._xwindow = None
        self._images = {}

    # -- program folder and process ---------------------------------------

    def prepare(self, exe, files=()):
        """A fresh program folder with the program, kvmsg.exe and the given files."""
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        for f in [os.path.join(self.bin_dir, exe), os.path.join(self.bin_dir, "kvmsg.exe"), *files]:
            shutil.copy2(f, self.folder)
        return self.folder

    def plain_desktop(self):
        """Takes the wallpaper picture off the desktops started from now on: a
        test that set one (they share the prefix) leaves it in the registry,
        and Wine keeps a wallpaper set without updating the user's profile in
        a volatile key of its own that wins over the profile's value."""
        for key in (r"HKCU\Control Panel\Desktop", r"HKCU\Software\Wine\Temporary System Parameters\Control Panel\Desktop"):
            subprocess.run(["wine", "reg", "add", key, "/v", "Wallpaper", "/d", "", "/f"], env=self.env,
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start(self, exe, *args):
        """Starts exe (in the program folder) on a new virtual desktop."""
        w, h = self.size
        cmd = ["wine", "explorer", f"/desktop={self.name},{w}x{h}", exe, *args]
        log = open(os.path.join(self.folder, "wine-output.txt"), "wb")
        # A session of its own: everything Wine starts for this desktop shares the
        # process group, and stop() ends exactly that group.
        self.process = subprocess.Popen(cmd, cwd=self.folder, env=self.env, stdout=log,
                                        stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                        start_new_session=True)
        log.close()

    def stop(self, grace=3.0):
        """Ends the processes this desktop started: first politely, then by force."""
        if not self.process:
            return
        pgid = self.process.pid
        for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, 5.0)):
            try:
                os.killpg(pgid, sig)
            except ProcessLookupError:
                break
            deadline = time.time() + wait
            while time.time() < deadline and self._group_alive(pgid):
                time.sleep(0.1)
            if not self._group_alive(pgid):
                break
        try:
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            pass
        self.process = None

    @staticmethod
    def _group_alive(pgid):
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open(f"/proc/{pid}/stat") as f:
                    fields = f.read().rsplit(")", 1)[1].split()
                if int(fields[2]) == pgid and fields[0] != "Z":
                    return True
            except (OSError, IndexError, ValueError):
                pass
        return False

    def group_pids(self):
        """The ids of the live processes this desktop started."""
        if not self.process:
            return []
        pids = []
        for pid in os.listdir("/proc"):
            if pid.isdigit():
                try:
                    with open(f"/proc/{pid}/stat") as f:
                        fields = f.read().rsplit(")", 1)[1].split()
                    if int(fields[2]) == self.process.pid and fields[0] != "Z":
                        pids.append(int(pid))
                except (OSError, IndexError, ValueError):
                    pass
        return pids

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    # -- windows and messages (inside Wine) --------------------------------

    def kvmsg(self, *args, check=True, desktop=True):
        """Runs kvmsg.exe; desktop False for commands that need no window (the
        registry ones), which then also work before the desktop exists."""
        where = ["--desktop", self.name] if desktop else []
        cmd = ["wine", os.path.join(self.folder, "kvmsg.exe"), *where, *[str(a) for a in args]]
        r = subprocess.run(cmd, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                           stdin=subprocess.DEVNULL, timeout=60)
        if check and r.returncode != 0:
            raise RuntimeError(f"kvmsg {' '.join(map(str, args))} failed ({r.returncode})")
        return r.stdout.decode().strip(), r.returncode

    def find_window(self, cls, title=None):
        args = ["find", cls] + ([title] if title else [])
        out, rc = self.kvmsg(*args, check=False)
        if rc != 0 or not out:
            return None
        return Window(*[int(v) for v in out.split()])

    def wait_window(self, cls, title=None, timeout=30.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            w = self.find_window(cls, title)
            if w:
                return w
            if self.process and self.process.poll() is not None:
                raise RuntimeError(f"the desktop ended before a window of class {cls} appeared")
            time.sleep(0.2)
        raise TimeoutError(f"no window of class {cls} within {timeout} s")

    def reg(self, key, value):
        """A value under HKEY_CURRENT_USER\\key as text (a number in decimal), or
        None when it is absent."""
        out, rc = self.kvmsg("reg", key, value, check=False, desktop=False)
        return out if rc == 0 else None

    def find_child(self, parent, cls):
        """The first descendant window of `parent` with class `cls`, or None."""
        out, rc = self.kvmsg("child", parent, cls, check=False)
        if rc != 0 or not out:
            return None
        return Window(*[int(v) for v in out.split()])

    def send(self, hwnd, msg, wparam=0, lparam=0):
        out, _ = self.kvmsg("send", hwnd, msg, wparam, lparam)
        return int(out)

    def post(self, hwnd, msg, wparam=0, lparam=0):
        self.kvmsg("post", hwnd, msg, wparam, lparam)

    # -- the X screen ------------------------------------------------------

    def xwindow(self, timeout=20.0):
        """The X window that shows the virtual desktop."""
        if self._xwindow:
            return self._xwindow
        deadline = time.time() + timeout
        while time.time() < deadline:
            r = subprocess.run(["xdotool", "search", "--name", f"^{self.name} - Wine desktop$"],
                               env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            ids = r.stdout.split()
            if ids:
                self._xwindow = ids[0].decode()
                return self._xwindow
            time.sleep(0.2)
        raise TimeoutError(f"the virtual desktop {self.name} did not appear")

    def _xdotool(self, *args):
        subprocess.run(["xdotool", *[str(a) for a in args]], env=self.env, check=True)

    def click(self, x, y, button=1, repeat=1, shift=False):
        """Clicks at desktop coordinates (x, y), with Shift held when asked."""
        w = self.xwindow()
        self._xdotool("mousemove", "--window", w, x, y)
        time.sleep(0.05)
        with self.held("shift") if shift else contextlib.nullcontext():
            self._xdotool("click", "--repeat", repeat, "--delay", 80, button)
        time.sleep(0.1)

    @contextlib.contextmanager
    def held(self, key):
        """Holds a key such as "shift" down for the clicks made inside the block.
        The pointer is already on the click's target (see click), the virtual
        desktop takes the X keyboard focus, and a pause lets Wine take in the
        press before the click: a press sent before the pointer moved, with the
        program just started, was seen to miss the click that followed."""
        self._xdotool("windowfocus", "--sync", self.xwindow())
        self._xdotool("keydown", key)
        time.sleep(0.3)
        try:
            yield
        finally:
            time.sleep(0.3)
            self._xdotool("keyup", key)

    def tray_click(self, button=1, index=0, repeat=1, shift=False):
        """Clicks the tray icon `index` counted from the right end of the task bar."""
        bar = self.wait_window("Shell_TrayWnd", timeout=10)
        x = bar.right - index * TRAY_ICON_PITCH - TRAY_ICON_PITCH // 2
        y = (bar.top + bar.bottom) // 2
        self.click(x, y, button, repeat, shift)

    def key(self, chord):
        """Presses a key chord such as "ctrl+alt+k" on the desktop."""
        self._xdotool("key", "--window", self.xwindow(), chord)
        time.sleep(0.1)

    def type(self, text):
        self._xdotool("type", "--window", self.xwindow(), "--delay", 20, text)

    def screenshot(self, label):
        """A PNG of the virtual desktop in the program folder; returns its path."""
        path = os.path.join(self.folder, f"{label}.png")
        # Unfiltered rows keep read_png fast; the file stays an ordinary PNG.
        subprocess.run(["import", "-window", self.xwindow(), "-define", "png:compression-filter=0",
                        "PNG24:" + path], env=self.env, check=True)
        return path

    def pixel(self, png_path, x, y):
        if png_path not in self._images:
            self._images[png_path] = read_png(png_path)
        return self._images[png_path].pixel(x, y)


class Image:
    def __init__(self, width, height, channels, rows):
        self.width, self.height, self.channels, self.rows = width, height, channels, rows

    def pixel(self, x, y):
        row = self.rows[y]
        i = x * self.channels
        return tuple(row[i:i + 3])


def write_bmp(path, width, height, pixel):
    """A 24-bit bottom-up Windows bitmap; pixel(x, y) gives (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def list_record(name, folder, style):
    """One 253-byte record of a list file: name, folder (with its trailing
    backslash), style number."""
    n, p = name.encode("cp1252"), folder.encode("cp1252")
    return bytes([len(n)]) + n.ljust(50, b"\0") + bytes([len(p)]) + p.ljust(200, b"\0") + bytes([style])


def read_bmp(path):
    """(width, height, bits per pixel, pixel(x, y) -> (r, g, b)) of a 24-bit BMP."""
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    stride = (width * 3 + 3) & ~3

    def pixel(x, y):
        row = height - 1 - y if height > 0 else y
        i = offset + row * stride + 3 * x
        return (data[i + 2], data[i + 1], data[i])

    return width, abs(height), bits, pixel


def read_png(path):
    """Reads an 8-bit, non-interlaced RGB or RGBA PNG (what `import` writes)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise ValueError(f"{path}: unsupported PNG layout")
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride if kind else 0):
            a = line[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return Image(width, height, channels, rows)


def wait_until(condition, timeout=10.0, step=0.2):
    """Polls condition() until it is true or `timeout` seconds pass; its last value."""
    deadline = time.time() + timeout
    while True:
        value = condition()
        if value or time.time() > deadline:
            return value
        time.sleep(step)


# The win32 bin folder given to an end-to-end test on its command line.
BIN = None


def run_tests():
    """Runs the calling test module's tests; --bin DIR (the win32 bin folder) becomes BIN."""
    global BIN
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    args, rest = parser.parse_known_args()
    BIN = args.bin
    unittest.main(module="__main__", argv=[sys.argv[0], *rest], verbosity=2)


def main():
    parser = argparse.ArgumentParser(description="Start a program on Wine's virtual desktop and take a screenshot.")
    sub = parser.add_subparsers(dest="command", required=True)
    shot = sub.add_parser("shot")
    shot.add_argument("--bin", required=True, help="folder with the program and kvmsg.exe")
    shot.add_argument("--exe", required=True)
    shot.add_argument("--wait", required=True, help="window class to wait for")
    shot.add_argument("--file", action="append", default=[], help="file to copy beside the program")
    shot.add_argument("--name", default="kvshot")
    shot.add_argument("--seconds", type=float, default=1.0, help="wait before the screenshot")
    args = parser.parse_args()
    with Desktop(args.name, args.bin) as d:
        d.prepare(args.exe, args.file)
        d.start(args.exe)
        d.wait_window(args.wait)
        time.sleep(args.seconds)
        print(d.screenshot("shot"))


if __name__ == "__main__":
    sys.exit(main())
