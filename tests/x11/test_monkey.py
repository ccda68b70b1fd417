#!/usr/bin/env python3
"""Thousands of random operator events on the real window: keys, chords, clicks anywhere on the panel, drags,
wheel turns and pastes of odd or long texts. The warning box is answered whenever it is up. Afterwards the
program must still run and still work as a machine, and its memory must have stopped growing.

The run is seeded: ROVANTA_MONKEY_SEED repeats one (the seed is printed), ROVANTA_MONKEY_EVENTS sets the
number of events. It never asks the window to close (no Alt+F4, no click outside the client area): closing
starts the closing movement and ends the program, which the closing tests cover.
"""

import os
import random
import shutil
import time
import unittest

import xsession
from panel_layout import CELLS, cell
from xsession import MachineTest, wait_for

EVENTS = int(os.environ.get("ROVANTA_MONKEY_EVENTS", "3000"))
# The events stop at this bound even when fewer were sent, so a slow machine does not time the test out.
EVENT_SECONDS = 40
BATCH = 50
# What the second half of the run may add to the resident memory the first half left.
GROWTH_BOUND_KIB = 32 * 1024

PLAIN_KEYS = ([*"abcdefghijklmnopqrstuvwxyz0123456789"]
              + "A Z space BackSpace Delete Return KP_Enter Tab ISO_Left_Tab Escape Left Right Up Down Home End "
                "Page_Up Page_Down Insert Menu F1 F2 F5 F10 F12 minus period comma slash apostrophe".split())
KEYS = PLAIN_KEYS + "udiaeresis ssharp eacute dead_acute Cyrillic_a Greek_alpha".split()
# Chords an operator might press by accident; none of them closes the window, under openbox either.
CHORDS = ("ctrl+a ctrl+c ctrl+v ctrl+x ctrl+z ctrl+y ctrl+shift+z ctrl+Insert shift+Insert shift+Delete "
          "shift+Home shift+End shift+Left shift+Right ctrl+Left ctrl+Right ctrl+BackSpace ctrl+Delete "
          "alt+a alt+e alt+Down alt+Up ctrl+Return shift+Return shift+space ctrl+space".split())
WORDS = ("hello", "ATTACK AT DAWN", "ı ſ ß", "é\u0301", "Ａｂｃ", "12", "07", "2026", "x y", "\u05d0\u05d1",
         "😀a", "\u200b", "")
PASTES = ("attack at dawn", "AB1", "a" * 5000, "ÄÖÜ äöü", "line one\nline two\r\nthree", "\t tab \t",
          "😀🙃 emoji", "e\u0301\u0302\u0303", "\u202eRTL\u202c", "\ufeffBOM", " ", "Z" * 32000,
          "0123456789", "🚀" * 300)


class Monkey:
    """Random events for one panel, as xdotool command chains run a batch at a time."""

    def __init__(self, test, seed):
        self.test = test
        self.machine = test.machine
        self.random = random.Random(seed)
        self.elements = [self.machine.model.rect(name) for name in self.machine.model.elements]
        self.cells = [cell(row, index) for row in range(1, 11) for index in CELLS]
        self.counts = {}
        self.boxes = 0
        # xdotool types a character the keyboard map lacks by remapping a spare key for a moment; under a
        # window manager that grabs keys, the remapping itself upsets the window manager's bindings, so
        # there only characters of the map are typed (pastes still bring in every other character).
        ascii_only = test.machine.x.window_manager
        self.keys = [key for key in KEYS if not ascii_only or key in PLAIN_KEYS]
        self.words = [word for word in WORDS if not ascii_only or word.isascii()]

    def _count(self, kind):
        self.counts[kind] = self.counts.get(kind, 0) + 1

    def _point(self, origin):
        """A point inside an element, or anywhere on the client area."""
        width, height = self.machine.model.client_pixels()
        r = self.random.random()
        if r < 0.85:
            x0, y0, x1, y1 = self.random.choice(self.elements if r < 0.6 else self.cells).inner(1)
        else:
            x0, y0, x1, y1 = 0, 0, width, height
        x = min(max(self.random.randrange(x0, max(x0 + 1, x1)), 0), width - 1)
        y = min(max(self.random.randrange(y0, max(y0 + 1, y1)), 0), height - 1)
        return ["mousemove", str(origin[0] + x), str(origin[1] + y)]

    def _event(self, origin):
        r = self.random.random()
        if r < 0.35:
            self._count("keys")
            return ["key", "--delay", "1", self.random.choice(self.keys)]
        if r < 0.45:
            self._count("chords")
            return ["key", "--delay", "1", self.random.choice(CHORDS)]
        if r < 0.55:
            self._count("typed words")
            return ["type", "--delay", "1", self.random.choice(self.words)]
        if r < 0.88:
            self._count("clicks")
            button = self.random.choices(("1", "2", "3"), (90, 5, 5))[0]
            repeat = self.random.choices(("1", "2", "3"), (85, 12, 3))[0]
            # A double or triple click needs its clicks close together; single ones need no pause at all.
            return [*self._point(origin), "click", "--repeat", repeat, "--delay", "30" if repeat != "1" else "1",
                    button]
        if r < 0.94:
            self._count("wheel turns")
            return [*self._point(origin), "click", "--delay", "1", self.random.choice(("4", "5"))]
        self._count("drags")
        return [*self._point(origin), "mousedown", "1", *self._point(origin), "mouseup", "1"]

    def _paste(self):
        """A paste into any element; half of them into the message box, followed by Encrypt."""
        self._count("pastes")
        self.machine.set_clipboard(self.random.choice(PASTES))
        encrypt = self.random.random() < 0.5
        target = self.machine.model.rect("Text2") if encrypt else self.random.choice(self.elements)
        left, top, _, _ = self.machine.geometry()
        chain = ["mousemove", *self._centre(target, left, top), "click", "1",
                 "key", self.random.choice(("ctrl+v", "shift+Insert"))]
        if encrypt:
            self._count("pastes encrypted")
            chain += ["mousemove", *self._centre(self.machine.model.rect("Command9"), left, top), "click", "1"]
        self.machine.x.run(["xdotool", *chain], timeout=30)

    @staticmethod
    def _centre(rect, left, top):
        x, y = rect.centre()
        return str(left + x), str(top + y)

    def run(self, events, deadline):
        sent = 0
        while sent < events and time.monotonic() < deadline:
            self.test.assertIsNone(self.machine.process.poll(),
                                   "the program ended under the monkey:\n" + self.machine.x.log_text("program"))
            left, top, _, _ = self.machine.geometry()
            chains = [[]]
            for _ in range(min(BATCH, events - sent)):
                event = self._event((left, top))
                chains[-1] += event
                # xdotool types every argument after `type`, so a typed word ends its chain.
                if event[0] == "type":
                    chains.append([])
            sent += min(BATCH, events - sent)
            for chain in filter(None, chains):
                self.machine.x.run(["xdotool", *chain], timeout=60)
            if self.random.random() < 0.5:
                self._paste()
                sent += 1
            self.boxes += answer_warning(self.machine)
        return sent


def answer_warning(machine):
    """Answers every warning box the events sent so far have raised (Return presses its one button); how
    many were up. The boxes are listed only once the program has handled all those events, so a box that
    Encrypt raises late, on a slow build or a busy machine, is up by then and not left behind."""
    answered = 0
    while True:
        machine.handled_so_far()
        boxes = machine.windows_titled("Twit")
        if not boxes:
            return answered
        for box in boxes:
            machine.focus(box)
            machine.key("Return")
        answered += len(boxes)
        wait_for("the warning box to close", lambda: not set(boxes) & set(machine.windows_titled("Twit")))


def growth_bound_kib(pid):
    """GROWTH_BOUND_KIB, or for a program built with AddressSanitizer that bound and the quarantine where
    the sanitizer holds freed memory back before reusing it (quarantine_size_mb of ASAN_OPTIONS, 256 MiB
    unless set), both an eighth again for the shadow that describes them."""
    with open(f"/proc/{pid}/maps") as maps:
        if "libasan" not in maps.read():
            return GROWTH_BOUND_KIB
    options = dict(option.split("=", 1) for option in os.environ.get("ASAN_OPTIONS", "").split(":")
                   if "=" in option)
    quarantine_kib = int(options.get("quarantine_size_mb", 256)) * 1024
    return (GROWTH_BOUND_KIB + quarantine_kib) * 9 // 8


def memory_kib(pid):
    """Resident memory now and at its peak, from the kernel's account of the process."""
    with open(f"/proc/{pid}/status") as status:
        fields = dict(line.split(":", 1) for line in status)
    return int(fields["VmRSS"].split()[0]), int(fields["VmHWM"].split()[0])


class MonkeyTest(MachineTest):
    def test_random_events_leave_a_working_machine(self):
        seed = int(os.environ.get("ROVANTA_MONKEY_SEED", random.randrange(1 << 32)))
        print(f"\n  seed {seed} (ROVANTA_MONKEY_SEED={seed} repeats this run)", flush=True)
        monkey = Monkey(self, seed)
        pid = self.machine.process.pid
        at_start, _ = memory_kib(pid)
        deadline = time.monotonic() + EVENT_SECONDS
        sent = monkey.run(EVENTS // 2, deadline)
        after_half, _ = memory_kib(pid)
        sent += monkey.run(EVENTS - EVENTS // 2, deadline)
        rss, peak = memory_kib(pid)
        print(f"  {sent} events: " + ", ".join(f"{n} {kind}" for kind, n in sorted(monkey.counts.items()))
              + f"; {monkey.boxes} warning boxes raised and answered")
        bound = growth_bound_kib(pid)
        print(f"  resident memory {at_start} KiB at the start, {after_half} KiB after half the events, "
              f"{rss} KiB at the end, peak {peak} KiB; growth bound {bound} KiB")
        self.assertGreaterEqual(sent, min(EVENTS, 500), "too few events reached the window in the time")
        self.assertLess(rss - after_half, bound, "memory keeps growing with events")
        self.assert_still_a_machine()

    def assert_still_a_machine(self):
        """Menus, lists and boxes closed, then a message through and back: the machine still works."""
        self.assertIsNone(self.machine.process.poll(), "the program ended under the monkey")
        # Whatever the events left open is closed first: a list or menu (a click on the bare caption line
        # only closes it), and the warning box, which comes up late when Encrypt was among the last events
        # and then holds up every click. Reset is seen to empty the output before the machine is tried.
        for _ in range(3):
            answer_warning(self.machine)
            self.machine.focus()
            self.machine.key("Escape", "Escape")
            self.machine.click("Label12")
            self.machine.click("Command1")
            try:
                if self.machine.output() == "":
                    break
            except TimeoutError:
                continue
        else:
            self.fail("Reset never emptied the output: a list, menu or box stayed open")
        message = "STILLAMACHINE"
        self.machine.focus_message()
        self.machine.type(message.lower())
        cipher = self.machine.output()
        self.assertRegex(cipher, rf"^[A-Z]{{{len(message)}}}$")
        self.machine.click("Command1")
        self.machine.focus_message()
        self.machine.type(cipher)
        self.assertEqual(self.machine.output(), message, "the cipher typed back from Reset gives the message")


@unittest.skipUnless(shutil.which("openbox"), "openbox window manager not installed")
class MonkeyUnderWindowManagerTest(MonkeyTest):
    window_manager = True


if __name__ == "__main__":
    xsession.main()
