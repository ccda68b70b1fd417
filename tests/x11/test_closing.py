#!/usr/bin/env python3
"""Closing the window: the closing movement runs and the program ends by itself with exit code 0,
asked by a bare close request, by a window manager's close keystroke and by a close request while the
warning box is up, and its normal exit hands the copied output to a clipboard manager. A window destroyed
from outside ends the program at once."""

import shutil
import time
import unittest

import xsession
import xwire
from xsession import SCREEN_PIXELS, MachineTest, wait_for

# The movement makes about a thousand passes on this 1920-pixel screen; far below this bound.
EXIT_BOUND_SECONDS = 20
# A window destroyed from outside leaves nothing to move: the program ends at once.
WINDOW_GONE_BOUND_SECONDS = 1


class Closing:
    """What closing the window looks like from outside, with or without a window manager."""

    def close_and_wait(self, watched):
        """Closes the window, waits for the program's end and returns the geometries `watched` took."""
        self.machine.type("abc")
        self.assertRegex(self.machine.output(), r"^[A-Z]{3}$")
        recorder = xwire.GeometryRecorder(self.x.number, watched, EXIT_BOUND_SECONDS)
        started = time.monotonic()
        self.machine.close()
        code = self.machine.wait_exit(EXIT_BOUND_SECONDS)
        took = time.monotonic() - started
        self.assertIsNotNone(code, f"still running {EXIT_BOUND_SECONDS} s after the close request")
        self.assertEqual(code, 0, self.x.log_text("program"))
        self.assertTrue(recorder.wait(EXIT_BOUND_SECONDS), "the window is gone with the program")
        print(f"\n  closed in {took:.2f} s after {len(recorder.geometries)} geometry changes", end=" ")
        return recorder.geometries

    def assert_ended(self, bound, after):
        """Waits up to `bound` seconds for the program to end with status 0, `after` naming the cause."""
        started = time.monotonic()
        code = self.machine.wait_exit(bound)
        took = time.monotonic() - started
        self.assertEqual(code, 0, f"status {code} {took:.2f} s after {after}; warning boxes up: "
                         f"{self.machine.windows_titled('Twit')}\n" + self.x.log_text("program"))
        print(f"\n  ended {took:.2f} s after {after}", end=" ")

    def test_window_destroyed_from_outside_ends_the_program(self):
        self.x.run(["xdotool", "windowclose", str(self.machine.window)])
        self.assert_ended(WINDOW_GONE_BOUND_SECONDS, "the window was destroyed")

    def test_close_request_while_the_warning_box_is_up_is_kept(self):
        self.machine.paste("AB1")
        self.machine.click("Command9")
        wait_for("the warning box", lambda: self.machine.windows_titled("Twit"))
        # Sent to the panel, as a window manager's close box sends it, not to the box that has the focus.
        frame = self.machine.frame()
        top = self.machine.geometry(frame)[1]
        recorder = xwire.GeometryRecorder(self.x.number, frame, EXIT_BOUND_SECONDS)
        xwire.send_delete_window(self.x.number, self.machine.window)
        self.assert_ended(EXIT_BOUND_SECONDS, "a close request to the panel behind the warning box")
        self.assertTrue(recorder.wait(EXIT_BOUND_SECONDS), "the window is gone with the program")
        self.assertGreater(max((y for _, y, _, _ in recorder.geometries), default=top), top,
                           "the closing movement slid the window down")


class ClosingTest(Closing, MachineTest):
    def test_close_request_ends_the_program_after_the_closing_movement(self):
        moves = self.close_and_wait(self.machine.window)
        # With no window manager every move takes effect: the window steps down until it has passed the
        # screen's width, and is never smaller than a pixel.
        tops = [top for _, top, _, _ in moves]
        self.assertEqual(tops, sorted(tops))
        self.assertGreater(tops[-1], SCREEN_PIXELS[0])
        self.assertGreaterEqual(min(min(width, height) for _, _, width, height in moves), 1)

    def test_clipboard_manager_takes_over_the_copied_output(self):
        manager = xwire.ClipboardManager(self.x.number, EXIT_BOUND_SECONDS)
        self.addCleanup(manager.stop)
        self.machine.type("xyz")
        copied = self.machine.output()
        self.machine.close()
        self.assertEqual(self.machine.wait_exit(EXIT_BOUND_SECONDS), 0)
        # The program hands the clipboard over before it ends, so the manager holds it by now.
        self.assertEqual(manager.wait(2), copied, "the program ends through its normal exit")
        self.assertEqual(self.machine.read_selection(), copied, "the clipboard outlives the program")


@unittest.skipUnless(shutil.which("openbox"), "openbox window manager not installed")
class ClosingUnderWindowManagerTest(Closing, MachineTest):
    window_manager = True

    def test_close_keystroke_ends_the_program_after_the_closing_movement(self):
        left, top, width, height = self.machine.geometry()
        self.assertEqual((width, height), self.model.client_pixels())
        self.assertGreater(top, 0, "a title bar above the client area")
        frame = self.machine.frame()
        start = self.machine.geometry(frame)
        moves = self.close_and_wait(frame)
        # The window manager keeps part of the window on the screen, so the movement ends by itself
        # once the window stops going down; it must have slid right and down and shrunk on the way.
        self.assertTrue(moves)
        x, y, width, height = moves[-1]
        self.assertGreater(x, start[0])
        self.assertGreater(y, start[1])
        self.assertLess(width, start[2])
        self.assertLess(height, start[3])


if __name__ == "__main__":
    xsession.main()
