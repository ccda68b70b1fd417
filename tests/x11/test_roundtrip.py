#!/usr/bin/env python3
"""Enciphering and deciphering through the clipboard of the display: the output copied out as plain text,
the cipher text pasted back through the message box's menu, and Encrypt gives the message again after
Reset."""

import xsession
from xsession import MachineTest


class RoundTripTest(MachineTest):
    def test_typed_message_comes_back_from_its_copied_cipher(self):
        self.machine.type("attackatdawn")
        cipher = self.machine.output()
        self.assertRegex(cipher, r"^[A-Z]{12}$")
        self.assertEqual(self.machine.read_selection(), cipher, "copied as plain text")

        self.machine.click("Command1")
        self.assertEqual((self.machine.message(), self.machine.output()), ("", ""))
        self.machine.paste(cipher, keys=("shift+F10", "p"))  # through the box's menu
        self.assertEqual(self.machine.output(), "", "pasting enciphers nothing")
        self.assertEqual(self.machine.message(), cipher)
        self.machine.click("Command9")
        self.assertEqual(self.machine.output(), "ATTACKATDAWN")


if __name__ == "__main__":
    xsession.main()
