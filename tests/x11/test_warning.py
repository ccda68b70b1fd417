#!/usr/bin/env python3
"""Encrypt's warning box for a message that is not all capital letters, answered with OK or taken away from
outside."""

import xsession
from xsession import MachineTest, wait_for

class WarningTest(MachineTest):
    def test_bad_character_warns_and_empties_the_message(self):
        self.machine.paste("AB1")
        self.assertEqual(self.machine.message(), "AB1")
        self.machine.click("Command9")
        box = wait_for("the warning box", lambda: self.machine.windows_titled("Twit"))
        self.assertEqual(len(box), 1)

        state = self.x.run(["xprop", "-id", str(box[0]), "_NET_WM_STATE", "WM_TRANSIENT_FOR"]).stdout
        self.assertIn("_NET_WM_STATE_MODAL", state)
        self.assertIn(f"window id # {self.machine.window:#x}", state, "the box belongs to the panel")

        self.machine.focus(box[0])
        self.machine.key("Return")
        wait_for("the warning box to close", lambda: not self.machine.windows_titled("Twit"))
        self.assertEqual(self.machine.message(), "")
        self.assertEqual(self.machine.output(), "", "nothing enciphered, not even the capitals")

    def test_box_destroyed_from_outside_counts_as_answered(self):
        self.machine.paste("AB1")
        self.machine.click("Command9")
        box = wait_for("the warning box", lambda: self.machine.windows_titled("Twit"))
        self.x.run(["xdotool", "windowclose", str(box[0])])
        # The panel takes keys and clicks again, as after OK.
        self.assertEqual(self.machine.message(), "")
        self.machine.focus_message()
        self.machine.type("ab")
        self.assertRegex(self.machine.output(), r"^[A-Z]{2}$")


if __name__ == "__main__":
    xsession.main()
