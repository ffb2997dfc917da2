#!/usr/bin/env python3
"""Screenshots of Kestrova wearing each sample skin, as a user would see it.

For every skin in src/resources/skins/<Name>/<Name>.ini: a program folder under
build/e2e/skin-shots/ gets Kestrova.exe, its Skins folder, the demo wallpapers
and list (make-demo.py); "CurrentSkinFile" names the skin, so Kestrova starts in
it. On Wine's virtual desktop the skin's own manager button opens the manager,
the mouse rests on a browser button (its hover picture and label show) and then
holds a manager button down (its pressed picture shows). The two screenshots are
written as build/skins-<name>.png and build/skins-<name>-pressed.png.

    scripts/wine-session.sh start
    scripts/skin-shots.py [--bin build/win32/bin] [--only NAME]
    scripts/wine-session.sh stop
"""

import argparse
import configparser
import os
import shutil
import struct
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(TOP, "tests", "e2e"))
import kve2e  # noqa: E402

SKINS = os.path.join(TOP, "src", "resources", "skins")
ROOT_KEY = r"HKCU\Software\Tollvard\Kestrova"
WM_CLOSE = 0x0010


def read_skin(path):
    """The skin file as {section: {key: value}}, sections and keys lower-cased."""
    ini = configparser.ConfigParser(interpolation=None, comment_prefixes=(";",))
    ini.optionxform = str.lower
    with open(path, encoding="ascii") as f:
        ini.read_string(f.read())
    return {s.lower(): dict(ini[s]) for s in ini.sections()}


def buttons(skin, section):
    """The buttons of a section: [(name, x, y, command)] in file order."""
    keys = skin[section.lower()]
    out, i = [], 0
    while "button%d" % i in keys:
        n = keys["button%d" % i].lower()
        out.append((n, int(keys[n + "x"]), int(keys[n + "y"]), keys[n + "click"].lower()))
        i += 1
    return out


def centre_of(button, window):
    """Desktop coordinates of a button's centre (buttons here are at most 36
    pixels, so 8 in from their corner is well inside)."""
    name, x, y, _ = button
    return window.left + x + 9, window.top + y + 9


def bmp_size(path):
    with open(path, "rb") as f:
        width, height = struct.unpack("<ii", f.read(26)[18:26])
    return width, abs(height)


def place_windows(d, skin, folder):
    """The browser near the top left, the manager beside a tall browser or
    under a wide one, 24 pixels apart, so that neither hides the other."""
    w, h = bmp_size(os.path.join(folder, skin["misc"]["browserimage"].lstrip("\\")))
    left, top = 40, 40
    manager = (left + w + 24, top) if h > w else (left, top + h + 24)
    for form, (x, y) in (("MainForm", (left, top)), ("ManagerForm", manager)):
        for name, value in (("Left", x), ("Top", y)):
            reg_add(d, ROOT_KEY + "\\Forms\\" + form, name, "REG_DWORD", str(value))


def reg_add(d, key, name, kind, value):
    subprocess.run(["wine", "reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f"],
                   env=d.env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def windows_path(env, path):
    return subprocess.run(["winepath", "-w", path], env=env, check=True, stdout=subprocess.PIPE).stdout.decode().strip()


def shoot(name, bin_dir):
    ini = os.path.join(SKINS, name, name + ".ini")
    skin = read_skin(ini)
    d = kve2e.Desktop("skin-shots", bin_dir)
    folder = d.prepare("Kestrova.exe")
    shutil.copytree(SKINS, os.path.join(folder, "Skins"))
    subprocess.run([sys.executable, os.path.join(HERE, "make-demo.py"), folder], check=True, stdout=subprocess.DEVNULL)
    skin_file = windows_path(d.env, os.path.join(folder, "Skins", name, name + ".ini"))
    reg_add(d, ROOT_KEY, "CurrentSkinFile", "REG_SZ", skin_file)
    # the browser shown and the manager hidden at start, whatever the last run left
    reg_add(d, ROOT_KEY + "\\Forms\\MainForm", "Visible", "REG_DWORD", "1")
    reg_add(d, ROOT_KEY + "\\Forms\\ManagerForm", "Visible", "REG_DWORD", "0")
    place_windows(d, skin, os.path.join(folder, "Skins", name))
    try:
        d.start("Kestrova.exe")
        browser = d.wait_window("TOrganicShapeForm", "Kestrova", timeout=60)
        time.sleep(3)  # the previews fill
        browser = d.find_window("TOrganicShapeForm", "Kestrova")
        browser_buttons = buttons(skin, "Browserbuttons")
        manager_button = next(b for b in browser_buttons if b[3] == "toggle_manager()")
        d.click(*centre_of(manager_button, browser))
        manager = d.wait_window("TOrganicShapeForm", "Kestrova Manager", timeout=20)
        time.sleep(1.5)
        manager = d.find_window("TOrganicShapeForm", "Kestrova Manager")
        # a row of the list selected, so the manager's preview shows a picture
        lx, ly = manager.left + int(skin["misc"]["wallpaperlistx"]), manager.top + int(skin["misc"]["wallpaperlisty"])
        d.click(lx + 40, ly + 40)
        time.sleep(1.0)

        hover = next(b for b in browser_buttons if b[3] == "scroll_fwd()")
        d._xdotool("mousemove", "--window", d.xwindow(), *centre_of(hover, browser))
        time.sleep(1.0)
        shots = [d.screenshot("hover")]

        press = next(b for b in buttons(skin, "Managerbuttons") if b[3] == "apply_image()")
        d._xdotool("mousemove", "--window", d.xwindow(), *centre_of(press, manager))
        time.sleep(0.6)
        d._xdotool("mousedown", 1)
        time.sleep(0.8)
        shots.append(d.screenshot("pressed"))
        d._xdotool("mousemove", "--window", d.xwindow(), 1000, 400)  # released away: no click
        d._xdotool("mouseup", 1)

        d.post(browser.hwnd, WM_CLOSE)
        kve2e.wait_until(lambda: not d.find_window("TOrganicShapeForm", "Kestrova"), timeout=20)
    finally:
        d.stop()
    out = []
    for shot, suffix in zip(shots, ("", "-pressed")):
        target = os.path.join(TOP, "build", "skins-%s%s.png" % (name.lower(), suffix))
        shutil.copy(shot, target)
        out.append(target)
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", default=os.path.join(TOP, "build", "win32", "bin"))
    parser.add_argument("--only", metavar="NAME")
    args = parser.parse_args()
    for name in sorted(os.listdir(SKINS)):
        if args.only and args.only.lower() != name.lower():
            continue
        for path in shoot(name, args.bin):
            print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
