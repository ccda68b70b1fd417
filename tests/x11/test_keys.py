#!/usr/bin/env python3
"""Key selectors, window buttons and Reset, seen through what the machine enciphers."""

import xsession
from panel_layout import WINDOW_DOWN, WINDOW_UP
from xsession import MachineTest

MESSAGE = "aaaaaaaaaa"


class KeysTest(MachineTest):
    def encipher(self, text=MESSAGE, *presses):
        """Resets, presses the buttons, clicks back into the message box and types the text."""
        self.machine.click("Command1")
        for button in presses:
            self.machine.click(button)
        if presses:
            self.machine.focus_message()
        self.machine.type(text)
        return self.machine.output()

    def test_reset_after_choosing_another_key(self):
        start = self.encipher()
        other = self.encipher(MESSAGE, "Command11")  # Key 1 becomes Key 2
        self.assertNotEqual(other, start, "the selector changes the key")
        after_reset = self.encipher()
        if self.model.reset_keeps_keys:
            self.assertEqual(after_reset, other, "Reset keeps the chosen keys")
        else:
            self.assertEqual(after_reset, start, "Reset brings back keys 1 to 4")

    def test_window_buttons_step_their_window(self):
        start = self.encipher("aaa")
        for window in (1, 2, 3):
            with self.subTest(window=window):
                up_and_down = self.encipher("aaa", WINDOW_UP[window], WINDOW_DOWN[window])
                self.assertEqual(up_and_down, start, "up then down is no change")
        # Window 1 one step up: the first letter meets the setting the second letter met from the start.
        self.assertEqual(self.encipher("aa", WINDOW_UP[1]), start[1:])
        # Window 1 one step down wraps to 26, so the first letter carries window 2 along.
        self.assertNotEqual(self.encipher("aaa", WINDOW_DOWN[1]), start)

if __name__ == "__main__":
    xsession.main()
