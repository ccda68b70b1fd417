#!/usr/bin/env python3
"""Closing the window: the closing movement runs and the program ends by itself with exit code 0,
asked by a bare close request and by a window manager's close keystroke."""

import shutil
import time
import unittest

import xsession
from xsession import MachineTest

# The movement makes at most about a thousand passes on this 1920-pixel screen; far below this bound.
EXIT_BOUND_SECONDS = 20


class ClosingTest(MachineTest):
    def close_and_wait(self):
        self.machine.type("abc")
        self.assertRegex(self.machine.output(), r"^[A-Z]{3}$")
        started = time.monotonic()
        self.machine.close()
        code = self.machine.wait_exit(EXIT_BOUND_SECONDS)
        took = time.monotonic() - started
        self.assertIsNotNone(code, f"still running {EXIT_BOUND_SECONDS} s after the close request")
        self.assertEqual(code, 0, self.x.log_text("program"))
        print(f"\n  closed in {took:.2f} s", end=" ", flush=True)

    def test_close_request_ends_the_program(self):
        self.close_and_wait()


@unittest.skipUnless(shutil.which("openbox"), "openbox window manager not installed")
class ClosingUnderWindowManagerTest(ClosingTest):
    window_manager = True

    def test_window_stands_inside_its_frame(self):
        left, top, width, height = self.machine.geometry()
        self.assertEqual((width, height), self.model.client_pixels())
        self.assertGreater(top, 0, "a title bar above the client area")


if __name__ == "__main__":
    xsession.main()
