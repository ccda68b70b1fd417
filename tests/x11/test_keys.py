#!/usr/bin/env python3
"""Key selectors, window buttons and Reset, seen through what the machine enciphers."""

import xsession
from panel_layout import WINDOW_DOWN, WINDOW_UP
from xsession import MachineTest

MESSAGE = "aaaaaaaaaa"


class KeysTest(MachineTest):
    def encipher(self, text=MESSAGE):
        self.machine.click("Command1")
        self.machine.type(text)
        return self.machine.output()

    def test_reset_after_choosing_another_key(self):
        start = self.encipher()
        self.machine.click("Command11")  # Key 1 becomes Key 2
        other = self.encipher()
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
                self.machine.click("Command1")
                self.machine.click(WINDOW_UP[window])
                self.machine.click(WINDOW_DOWN[window])
                self.machine.type("aaa")
                self.assertEqual(self.machine.output(), start, "up then down is no change")
        # Window 1 one step up: the first letter meets the setting the second letter met from the start.
        self.machine.click("Command1")
        self.machine.click(WINDOW_UP[1])
        self.machine.type("aa")
        self.assertEqual(self.machine.output(), start[1:])


if __name__ == "__main__":
    xsession.main()
