#!/usr/bin/env python3
"""The window as the operator first sees it: title, size, frame, icon, panel grey and its controls."""

import os
import re
import shutil
import subprocess
import unittest

import xsession
from panel_layout import SELECTORS, WINDOW_BUTTONS
from xsession import PANEL_GREY, MachineTest, wait_for

ACTION_BUTTONS = ("Command1", "Command9", "Command10")


class WindowTest(MachineTest):
    def test_title_size_and_fixed_frame(self):
        name = self.machine.property("_NET_WM_NAME")
        self.assertEqual(re.search(r'= "(.*)"', name).group(1), self.model.title)
        width, height = self.model.client_pixels()
        self.assertEqual(self.machine.geometry()[2:], (width, height))
        hints = self.machine.property("WM_NORMAL_HINTS")
        self.assertIn(f"program specified minimum size: {width} by {height}", hints)
        self.assertIn(f"program specified maximum size: {width} by {height}", hints)

    def test_icon_at_every_size_the_window_can_carry(self):
        # The 256-pixel icon is too big for one X request; desktops take it from the installed theme.
        icons = self.machine.property("_NET_WM_ICON")
        for size in (16, 22, 24, 32, 48, 64, 128):
            self.assertIn(f"({size} x {size})", icons)

    def test_buttons_and_background_are_flat_panel_grey(self):
        shot = wait_for("the panel to be painted", self._painted)
        self.assertEqual(shot.pixel(2, 2), PANEL_GREY, "window background")
        for name in WINDOW_BUTTONS:
            with self.subTest(button=name):
                self.assertEqual(shot.colours(self.model.rect(name).inner(3)), {PANEL_GREY})
        for name in SELECTORS + ACTION_BUTTONS:
            x0, y0, x1, y1 = self.model.rect(name).inner(3)
            # A strip down the left edge crosses any gradient and misses the centred caption; the
            # clipboard button's long caption is clipped at its sides, so it is read along its top.
            strip = (x0, y0, x1, y0 + 2) if name == "Command10" else (x0, y0, x0 + 3, y1)
            with self.subTest(button=name):
                self.assertEqual(shot.colours(strip), {PANEL_GREY})

    def _painted(self):
        shot = self.machine.screenshot()
        return shot if shot.pixel(2, 2) == PANEL_GREY else None


# Motif hint bits, as window managers read them from _MOTIF_WM_HINTS.
MWM_FUNCTIONS, MWM_FUNC_MINIMIZE, MWM_FUNC_MAXIMIZE, MWM_FUNC_CLOSE = 1, 8, 16, 32


@unittest.skipUnless(shutil.which("openbox"), "openbox window manager not installed")
class WindowUnderWindowManagerTest(MachineTest):
    window_manager = True

    def test_title_bar_offers_close_and_minimise_but_no_maximise(self):
        flags, functions = (int(value, 16) for value in re.findall(
            r"0x[0-9a-f]+", self.machine.property("_MOTIF_WM_HINTS"))[:2])
        self.assertTrue(flags & MWM_FUNCTIONS, "the window names the functions it offers")
        self.assertEqual(functions & (MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE | MWM_FUNC_CLOSE),
                         MWM_FUNC_MINIMIZE | MWM_FUNC_CLOSE)
        # What the window manager concluded from all the hints, size hints included.
        allowed = set(wait_for("the window manager's allowed actions", lambda: re.findall(
            r"_NET_WM_ACTION_(\w+)", self.machine.property("_NET_WM_ALLOWED_ACTIONS"))))
        self.assertLessEqual({"CLOSE", "MINIMIZE"}, allowed)
        self.assertFalse(allowed & {"MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE"}, allowed)


class NoDisplayTest(unittest.TestCase):
    """Started where no display can be opened: one clear line and status 1, never the toolkit's abort."""

    def test_no_display_ends_with_a_message_and_status_one(self):
        number = next(n for n in range(4000, 5000) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
        env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "WAYLAND_"))}
        env["DISPLAY"] = f":{number}"
        for platform in (None, "xcb"):
            if platform:
                env["QT_QPA_PLATFORM"] = platform
            with self.subTest(platform=platform or "the toolkit's choice"):
                ended = subprocess.run([MachineTest.program], env=env, capture_output=True, text=True,
                                       timeout=20)
                lines = ended.stderr.splitlines()
                self.assertEqual(ended.returncode, 1, ended.stderr)
                self.assertEqual(len(lines), 1, ended.stderr)
                self.assertRegex(lines[0], rf"^rovanta-v[45]: cannot open its window: .*:{number}$")


if __name__ == "__main__":
    xsession.main()
