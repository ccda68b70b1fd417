#!/usr/bin/python3
"""The machine as a screen reader meets it: through the assistive-technology bus (AT-SPI), read with
pyatspi as Orca reads it. The message and output boxes are texts with their letters, every button has a
name, every row reads as one line of its cells with the columns lit in it, and each cipher letter is
announced as it is appended to the output box.

Runs with the system's own Python, where Debian installs pyatspi."""

import os
import re

import xsession
from xsession import MachineTest, wait_for

pyatspi = None  # imported once the buses are up, since it reads their addresses when first used

# A row's line: its name, its 26 cells' texts, then where it is lit ("; red at 5; yellow at 9").
ROW_NAME = re.compile(r"^(.+): ((?:\S+ ){25}\S+)((?:; (?:red|yellow) at \d+)*)$")
LIT = re.compile(r"; (red|yellow) at (\d+)")


def descendants(accessible):
    for child in accessible:
        if child is not None:
            yield child
            yield from descendants(child)


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


class ScreenReaderTest(MachineTest):
    reader = True

    @classmethod
    def setUpClass(cls):
        global pyatspi
        super().setUpClass()
        os.environ.update(DISPLAY=cls.x.display, DBUS_SESSION_BUS_ADDRESS=cls.x.bus)
        import pyatspi as reader
        pyatspi = reader

    def setUp(self):
        # Listening before the program starts, so that it knows from its first letter that the reader
        # wants to hear insertions.
        self.inserted = []
        pyatspi.Registry.registerEventListener(self.hear, "object:text-changed:insert")
        self.addCleanup(pyatspi.Registry.deregisterEventListener, self.hear, "object:text-changed:insert")
        super().setUp()

    def hear(self, event):
        self.inserted.append((event.source.name, event.detail1, event.any_data))

    def application(self):
        """The running program as the accessibility registry lists it, once its window is there."""
        def listed():
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.get_process_id() == self.machine.process.pid and app.childCount:
                    return app
            return None
        return wait_for("the program on the accessibility bus", listed)

    def element(self, app, role, name):
        found = [a for a in descendants(app) if a.getRole() == role and a.name == name]
        self.assertEqual(len(found), 1, f"one {name!r}")
        return found[0]

    def test_boxes_buttons_and_lit_cells_read_as_a_screen_reader_reads_them(self):
        self.machine.type("hello")
        app = self.application()
        message = self.element(app, pyatspi.ROLE_TEXT, "Message")
        output = self.element(app, pyatspi.ROLE_TEXT, "Output")
        wait_for("Text2 to read HELLO", lambda: text_of(message) == "HELLO")
        cipher = self.machine.output()
        self.assertRegex(cipher, r"^[A-Z]{5}$")
        self.assertEqual(text_of(output), cipher, "the reader hears what Copy To ClipBoard copies")
        self.assertIn(pyatspi.STATE_EDITABLE, message.getState().getStates())

        app.clearCache()  # names and descriptions as they are now, not as first seen
        buttons = [b.name for b in descendants(app) if b.getRole() == pyatspi.ROLE_PUSH_BUTTON]
        self.assertEqual(len(buttons), 14 if self.model.has_date_controls else 13)
        self.assertEqual(len(set(buttons)), len(buttons), "every button a name of its own")
        self.assertNotIn("", buttons)

        rows = {}
        for label in descendants(app):
            named = ROW_NAME.match(label.name) if label.getRole() == pyatspi.ROLE_LABEL else None
            if named and pyatspi.STATE_SHOWING in label.getState().getStates():
                rows[named.group(1)] = named.group(3)
        self.assertEqual(len(rows), 10, "ten rows, each read as one line of its 26 cells")
        for row, lit in rows.items():
            self.assertEqual(sorted(colour for colour, _ in LIT.findall(lit)), ["red", "yellow"], row)
        cells = [label for label in descendants(app) if re.search(r", column \d+$", label.name)]
        self.assertEqual(len(cells), 260)
        self.assertFalse([c.name for c in cells if pyatspi.STATE_SHOWING in c.getState().getStates()],
                         "a reader meets the cells in their rows' lines, not one by one")

    def test_each_cipher_letter_is_announced_as_it_is_appended(self):
        from gi.repository import GLib
        self.application()  # the program joins the bus only after its window is up
        self.machine.type("abc")

        def heard_in_output():
            while GLib.MainContext.default().iteration(False):
                pass
            heard = [(at, text) for box, at, text in self.inserted if box == "Output"]
            return heard if len(heard) >= 3 else None
        heard = wait_for("three letters announced in Text3", heard_in_output)
        cipher = self.machine.output()
        self.assertEqual(heard, [(i, letter) for i, letter in enumerate(cipher)], "one insertion per letter")
        typed = [(at, text) for box, at, text in self.inserted if box == "Message"]
        self.assertEqual(typed, [(0, "A"), (1, "B"), (2, "C")], "and each capital as it is typed")


if __name__ == "__main__":
    xsession.main()
