#!/usr/bin/env python3
"""Enciphering and deciphering through the clipboard: the machine is its own inverse from the same
setting, and Reset brings that setting back."""

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
        self.machine.paste(cipher)
        self.assertEqual(self.machine.output(), "", "pasting enciphers nothing")
        self.assertEqual(self.machine.message(), cipher)
        self.machine.click("Command9")
        self.assertEqual(self.machine.output(), "ATTACKATDAWN")

    def test_encrypt_cleans_a_pasted_message_and_appends_each_run(self):
        self.machine.paste("hello world")
        self.machine.click("Command9")
        first = self.machine.output()
        self.assertEqual(self.machine.message(), "HELLOWORLD")
        self.assertRegex(first, r"^[A-Z]{10}$")

        self.machine.click("Command9")
        both = self.machine.output()
        self.assertEqual(len(both), 20)
        self.assertEqual(both[:10], first, "the second run is appended")
        self.assertNotEqual(both[10:], first, "from the windows the first run left")

        self.machine.click("Command1")
        self.machine.paste(both)
        self.machine.click("Command9")
        self.assertEqual(self.machine.output(), "HELLOWORLD" * 2)


if __name__ == "__main__":
    xsession.main()
