#!/usr/bin/env python3
"""The end-to-end runner's self-test: its probe program on Wine's virtual desktop
sees the runner's tray clicks (Shift held or not), hotkey, clicks and messages, and the screenshot
shows the probe's window where Windows says it is."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import kve2e  # noqa: E402
from kve2e import Desktop  # noqa: E402

PROBE_COLOUR = (20, 160, 90)
WM_APP = 0x8000


def events(desktop):
    try:
        with open(os.path.join(desktop.folder, "events.txt")) as f:
            return f.read().split("\n")
    except FileNotFoundError:
        return []


def wait_event(desktop, line, timeout=10.0):
    return kve2e.wait_until(lambda: line in events(desktop), timeout, step=0.1)


def wait_until_count(desktop, line, count, timeout=10.0):
    return kve2e.wait_until(lambda: events(desktop).count(line) >= count, timeout, step=0.1)


class RunnerDrivesAProgram(unittest.TestCase):
    def test_tray_hotkey_click_message_and_screenshot(self):
        d = Desktop("kvrunner", kve2e.BIN)
        try:
            d.prepare("e2e_probe.exe")
            d.start("e2e_probe.exe")
            w = d.wait_window("KvE2EProbe")
            self.assertTrue(wait_event(d, "ready 1"))

            # Shift with the very first click on a new desktop, before any click
            # gave it the keyboard: the program sees the key down, and up again
            # for the next click.
            d.tray_click(button=1, shift=True)
            self.assertTrue(wait_event(d, "tray 513 shift"), events(d))  # WM_LBUTTONDOWN
            d.tray_click(button=3)
            self.assertTrue(wait_event(d, "tray 516"), events(d))  # WM_RBUTTONDOWN
            self.assertNotIn("tray 516 shift", events(d))
            d.tray_click(button=1)
            self.assertTrue(wait_until_count(d, "tray 513", 2), events(d))
            self.assertEqual(events(d).count("tray 513 shift"), 1, events(d))
            d.tray_click(button=1, repeat=2)
            self.assertTrue(wait_event(d, "tray 515"), events(d))  # WM_LBUTTONDBLCLK

            d.key("ctrl+alt+k")
            self.assertTrue(wait_event(d, "hotkey 42"), events(d))

            d.click(w.left + 30, w.top + 40)
            self.assertTrue(wait_event(d, "click 30 40"), events(d))

            d.send(w.hwnd, WM_APP + 1, 5, 6)
            self.assertIn("app 5 6", events(d))

            png = d.screenshot("probe")
            self.assertTrue(os.path.getsize(png) > 0)
            self.assertEqual(d.pixel(png, *w.centre), PROBE_COLOUR)
            self.assertEqual(d.pixel(png, w.left + 1, w.top + 1), PROBE_COLOUR)
            self.assertNotEqual(d.pixel(png, w.right + 5, w.bottom + 5), PROBE_COLOUR)
            self.assertNotEqual(d.pixel(png, w.left - 2, w.top - 2), PROBE_COLOUR)
            started = d.group_pids()
            self.assertTrue(started)
        finally:
            d.stop()
        for pid in started:
            self.assertFalse(os.path.exists(f"/proc/{pid}/cmdline") and
                             open(f"/proc/{pid}/stat").read().split(")")[1].split()[0] != "Z",
                             f"process {pid} still runs")


if __name__ == "__main__":
    kve2e.run_tests()
