#!/usr/bin/env python3
"""Pasting from a program that holds the clipboard and the primary selection and never answers: by
Shift+Insert, by the box's menu (Shift+F10, then P) and by a middle click. The window goes on answering (a letter typed
right after the gesture is enciphered at once) and the paste gives up within about a second, leaving the
message box as it was.

Usage: test_silent_clipboard.py PROGRAM v5|v4 PASTE_OWNER [unittest options]"""

import sys
import time

import xsession
from xsession import MachineTest, wait_for

# The paste gives up after a second of silence; the letter typed meanwhile is read back well within this.
ANSWER_BOUND_SECONDS = 4


class SilentClipboardTest(MachineTest):
    paste_owner = None

    def hold_selections_silently(self, times):
        self.owners.append(self.x.spawn([self.paste_owner, "silent", "never sent"], log="silent_owner"))
        wait_for("the silent owner to hold the selections",
                 lambda: self.x.log_text("silent_owner").count("owning") >= times)

    def test_a_silent_holder_never_freezes_the_window(self):
        self.owners = []
        _, y0, x1, y1 = self.model.rect("Text2").inner(0)
        inside = (x1 - 4, (y0 + y1) // 2)
        gestures = {
            "Shift+Insert": lambda: self.machine.key("shift+Insert"),
            "the menu's Paste": lambda: self.machine.key("shift+F10", "p"),
            "middle click": lambda: self.machine.click_at(*inside, button=2),
        }
        for round_number, (name, gesture) in enumerate(gestures.items(), start=1):
            with self.subTest(gesture=name):
                self.hold_selections_silently(round_number)
                self.machine.focus_message()
                started = time.monotonic()
                gesture()
                self.machine.type("a")
                output = self.machine.output()
                took = time.monotonic() - started
                print(f"\n  {name}: the letter after it read back in {took:.2f} s", end=" ")
                self.assertEqual(len(output), round_number, f"Text3 holds {output!r}")
                self.assertLess(took, ANSWER_BOUND_SECONDS, "the window waited on the silent holder")
        # Reading the message back goes through the primary selection, which a silent holder would keep.
        for owner in self.owners:
            owner.kill()
            owner.wait()
        self.assertEqual(self.machine.message(), "A" * len(gestures), "the pastes left the message as it was")


if __name__ == "__main__":
    SilentClipboardTest.paste_owner = sys.argv.pop(3)
    xsession.main()
