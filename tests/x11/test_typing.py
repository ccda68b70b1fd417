#!/usr/bin/env python3
"""Live typing into the message box from a real keyboard: the control characters an X keyboard sends act
as Backspace, and a middle click pastes the primary selection without enciphering it."""

import xsession
from xsession import MachineTest

# Keys for which an X keyboard gives the box a control character, with the character it gives.
NOT_LETTERS = (
    ("ctrl+a", "control character 1"),
    ("ctrl+v", "control character 22"),
    ("Return", "carriage return, 13"),
    ("Escape", "escape, 27"),
    ("BackSpace", "backspace, 8"),
)


class TypingTest(MachineTest):
    def test_keys_that_are_not_letters_act_as_backspace(self):
        typed = "abcdefghijkl"
        self.machine.type(typed)
        cipher = self.machine.output()
        self.assertEqual(len(cipher), len(typed))
        # The clipboard now holds the cipher text, which Ctrl+V would paste were it not a Backspace.
        expected = typed.upper()
        for key, meaning in NOT_LETTERS:
            with self.subTest(key=key, meaning=meaning):
                self.machine.focus_message()
                self.machine.key(key)
                expected = expected[:-1]
                self.assertEqual(self.machine.message(), expected)
                self.assertEqual(self.machine.output(), cipher, "nothing is enciphered")
                self.assertEqual(self.machine.windows_titled(self.model.title), [self.machine.window])

    def test_selected_output_is_the_primary_selection_and_a_middle_click_pastes_it(self):
        self.machine.type("abc")
        cipher = self.machine.output()
        x0, y0, _, y1 = self.model.rect("Text3").inner(0)
        self.machine.click_at(x0 + 12, (y0 + y1) // 2, double=True)
        _, y0, x1, y1 = self.model.rect("Text2").inner(0)
        self.machine.click_at(x1 - 4, (y0 + y1) // 2, button=2)
        # A paste is no typing: the machine enciphers nothing for it.
        self.assertEqual(self.machine.message(), "ABC" + cipher)
        self.assertEqual(self.machine.output(), cipher)


if __name__ == "__main__":
    xsession.main()
