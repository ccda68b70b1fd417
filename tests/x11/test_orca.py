#!/usr/bin/python3
"""The machine worked by ear, as a blind operator works it: Orca, the desktop's screen reader, runs on the
program's own X server and accessibility bus, the program is driven by keyboard alone, and what Orca says
is read as its debug log words it (its "SPEECH OUTPUT" lines). Each action must be answered by the words an
operator needs: the cipher letter of every typed letter, Encrypt's count and cipher text, a window's new
position, a selector's new key, the copy, Reset, the date boxes' names and the lit path on F2: each said
once, as plain words, with no element's role read out with it. Orca must keep up with sixteen keys typed
60 ms apart, and a paste must reach the message box the way an Orca user pastes, through the box's menu.
It works on Orca 43 (Debian 12) and Orca 48 (Debian 13), whose words differ a little ("push button" and
"button").

Runs with the system's own Python, as Orca does. When a check fails, it prints every action with what Orca
said after it."""

import os
import re
import time

import xsession
from xsession import MachineTest, wait_for

SPOKEN = re.compile(r"(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*?)' ?\{")
# Orca itself, at its own pace: not in its debug mode, which reads every element it hears of again to log
# it and falls behind the keys, but with what it says, and any deluge of events, logged line by line as
# its debug log words them, with the time of day.
SPEECH_LOG = """
import sys, time
import orca.debug as debug
log = open(sys.argv[1], "w", buffering=1)
def logged(plain, words):
    def wrapper(level, said="", *args, **kwargs):
        text = words(said)
        if "SPEECH OUTPUT" in text or "DELUGE" in text or "due to flood" in text:
            now = time.time()
            stamp = time.strftime("%H:%M:%S", time.localtime(now)) + ("%.6f" % (now % 1))[1:]
            log.write(stamp + " - " + text + "\\n")
        return plain(level, said, *args, **kwargs)
    return wrapper
# Orca 43 logs a line through println; Orca 48 through print_message, and a typed character's echo
# through print_tokens, the line its first token.
for name, words in (("println", str), ("print_message", str),
                    ("print_tokens", lambda tokens: " ".join(map(str, tokens)))):
    if hasattr(debug, name):
        setattr(debug, name, logged(getattr(debug, name), words))
sys.argv = ["orca", *sys.argv[2:]]
# Orca refuses to start beside another Orca of the same user, even one on another display and bus.
program = {"__name__": "orca_program"}
exec(compile(open("/usr/bin/orca").read(), "/usr/bin/orca", "exec"), program)
program["otherOrcas"] = lambda: []
sys.exit(program["main"]())
"""
# Typing as an operator types: a key every 60 ms, sixteen of them.
KEY_DELAY_MS = "60"
TYPED = "wheelsturninthel"
# The roles a stand-in element that carries a result might be read out with. The warning box is a window
# of its own, which Orca names as it opens by its role and title (BOX_OPENS); its words come after.
ROLE_WORDS = re.compile(r"\b(notification|status bar|alert|label)\b", re.IGNORECASE)
BOX_OPENS = r"alert Twit|Twit alert"


def time_of_day():
    """Seconds since midnight, local time, as Orca's log stamps its lines."""
    now = time.time()
    local = time.localtime(now)
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + now % 1


class Orca:
    """Orca on the test's buses, with its preferences in the test's home, so it starts with its own
    defaults and no setup dialogue."""

    def __init__(self, x):
        self.x = x
        self.log = os.path.join(x.home, "orca-speech.out")
        prefs = os.path.join(x.home, "orca-prefs")
        os.makedirs(prefs, exist_ok=True)
        self.process = x.spawn(["/usr/bin/python3", "-c", SPEECH_LOG, self.log, "-u", prefs], log="orca")

    def text(self):
        try:
            with open(self.log, errors="replace") as log:
                return log.read()
        except FileNotFoundError:
            if self.process.poll() is not None:
                raise RuntimeError("orca ended:\n" + self.x.log_text("orca"))
            return ""

    def spoken(self):
        """Everything Orca has said, in order, without the full stop it ends a sentence with."""
        return [said for _, said in self.spoken_at()]

    def spoken_at(self):
        """What Orca said with the time of day it said it, in seconds."""
        return [(int(m.group(1)) * 3600 + int(m.group(2)) * 60 + float(m.group(3)),
                 m.group(4).strip().rstrip(".").strip()) for m in SPOKEN.finditer(self.text())]


class OrcaTest(MachineTest):
    reader = True

    def setUp(self):
        super().setUp()
        self.orca = Orca(self.x)
        self.addCleanup(self.stop_orca)
        self.transcript = []
        self.starts = []
        self.results = []
        # Orca is ready once it has found the active window and read the message box, where the window
        # opens with the focus.
        try:
            wait_for("Orca to read the message box", lambda: "Message text" in self.orca.spoken(), timeout=60)
        except TimeoutError:
            self.fail("Orca never read the message box; it said: " + " | ".join(self.orca.spoken())
                      + "\n" + self.x.log_text("orca")[-3000:] + self.orca.text()[-3000:])

    def stop_orca(self):
        if self.orca.process.poll() is None:
            self.orca.process.kill()
            self.orca.process.wait()

    def heard(self):
        return "\n".join(f"{action}\n    -> {' | '.join(said)}" for action, said in self.transcript)

    def act(self, action, keys, expect, type_text=None, once=True):
        """Presses the keys (or types the text), then waits until Orca has said something matching each
        pattern of expect, in order, after the action. Returns what it said."""
        start = len(self.orca.spoken())
        self.starts.append(start)
        if type_text is not None:
            self.typing_from = time_of_day()
            self.x.run(["xdotool", "type", "--delay", KEY_DELAY_MS, type_text], timeout=30)
            self.typed_at = time_of_day()
        else:
            self.x.run(["xdotool", "key", "--delay", KEY_DELAY_MS, *keys])
        self.transcript.append((action, []))
        self.results.append(expect[-1] if once and type_text is None else None)

        def matched():
            said = self.orca.spoken()[start:]
            self.transcript[-1] = (action, said)
            at = 0
            for pattern in expect:
                found = next((i for i in range(at, len(said)) if re.fullmatch(pattern, said[i])), None)
                if found is None:
                    return None
                at = found + 1
            return said
        try:
            return wait_for(f"Orca to say {expect} after {action}", matched, timeout=30)
        except TimeoutError:
            self.fail(f"after {action!r} Orca did not say {expect}; heard, action by action:\n{self.heard()}")

    def settle(self, quiet=1.5):
        """Waits until Orca has said nothing new for `quiet` seconds, and records it with the last action."""
        def quiet_now():
            said = self.orca.spoken()
            if said != getattr(self, "_last_said", None):
                self._last_said, self._said_at = said, time.monotonic()
            return time.monotonic() - self._said_at >= quiet

        wait_for("Orca to finish speaking", quiet_now, timeout=30, interval=0.1)
        self.transcript[-1] = (self.transcript[-1][0], self.orca.spoken()[self.starts[-1]:])

    def clipboard(self):
        return self.machine.read_selection() or ""

    def assert_each_result_once(self):
        """The words that answer each action (after the typing) are said once, not again with the next."""
        spoken = self.orca.spoken()
        ends = self.starts[1:] + [len(spoken)]
        for (action, _), start, end, result in zip(self.transcript, self.starts, ends, self.results):
            if result is not None:
                said = [s for s in spoken[start:end] if re.fullmatch(result, s)]
                self.assertEqual(len(said), 1, f"after {action!r} Orca said {result!r} {len(said)} times; "
                                 f"heard:\n{self.heard()}")

    def assert_plain_words(self):
        """Every result is spoken as plain words: no role of a stand-in element is read out with it."""
        roles = [said for said in self.orca.spoken() if ROLE_WORDS.search(said) and not re.fullmatch(BOX_OPENS, said)]
        self.assertEqual(roles, [], f"Orca read out an element's role with a result; heard:\n{self.heard()}")

    def test_every_result_is_heard(self):
        # Orca 48 sets up its listeners for the program again just after reading the message box, and
        # hears nothing of it meanwhile: F2 (no letter lit yet, nothing typed) answers once it listens.
        for _ in range(10):
            self.x.run(["xdotool", "key", "F2"])
            try:
                wait_for("Orca to hear the program", lambda: "No letter lit" in self.orca.spoken(), timeout=1)
                break
            except TimeoutError:
                pass
        else:
            self.fail("Orca never spoke the program's answer to F2; it said: " + " | ".join(self.orca.spoken()))
        # The first letter's cipher letter is heard as the first key's answer.
        self.act(f"type {TYPED[0]}", None, [r"[A-Z]"], type_text=TYPED[0])
        self.act(f"type {TYPED[1:]}", None, [r"[A-Z]"], type_text=TYPED[1:])
        self.settle()
        # Orca keeps up with the typing: the last key is echoed within a second of being typed, where a
        # reader flooded with events falls further behind at every letter. Measured against the first key's
        # echo, so that a test machine that is slow for a moment, which delays every echo alike, does not count.
        burst = self.orca.spoken_at()[self.starts[-1]:]
        echoes = [at for at, said in burst if len(said) == 1 and said.islower()]
        self.fell_behind = (echoes[-1] - self.typed_at) - max(0.0, echoes[0] - self.typing_from)
        self.assertLess(self.fell_behind, 1.0, f"Orca fell behind the keys; heard:\n{self.heard()}")
        self.act("Tab to Copy To ClipBoard", ["Tab"], [r"Copy To ClipBoard (push )?button"])
        self.act("Space", ["space"], [rf"{len(TYPED)} letters copied to the clipboard"])
        cipher = wait_for("the copied output", lambda: re.fullmatch(r"[A-Z]+", self.clipboard()) and
                          self.clipboard())
        # Each cipher letter heard once, in order, the first one too. Orca 43 drops the notifications it
        # has queued once more than fifty events wait (its flood guard, which it logs): a letter may be
        # missing only where Orca says it dropped events so.
        heard = [s for _, said in self.transcript[:2] for s in said if re.fullmatch(r"[A-Z]", s)]
        if "due to flood" in self.orca.text():
            letters = iter(cipher)
            self.assertTrue(heard and heard[0] == cipher[0] and all(letter in letters for letter in heard),
                            f"cipher letters heard out of order or twice; heard:\n{self.heard()}")
            self.flooded = len(cipher) - len(heard)
        else:
            self.assertEqual(heard, list(cipher), f"each cipher letter heard after its key; heard:\n{self.heard()}")
            self.flooded = 0

        path = rf"{TYPED[-1].upper()}: out (\w+, ){{4}}\w+; back (\w+, ){{2}}\w+; {cipher[-1]}"
        self.act("shift+Tab back to the message box, F2", ["shift+Tab", "F2"], [r"Message text", path])
        # Orca keeps Shift+Insert for itself (Insert is its modifier): its user pastes through the box's
        # menu, opened by the Menu key or Shift+F10, with P. The tab into the box selected the message.
        self.machine.set_clipboard("bymenu")
        menu_key = "shift+F10" if self.model.has_date_controls else "Menu"
        self.x.run(["xdotool", "key", menu_key])
        self.machine.handled_so_far()  # the menu is up before P is pressed
        self.act(f"{menu_key}, then P for Paste", ["p"], [r".+"], once=False)
        self.act("Tab twice to Encrypt", ["Tab", "Tab"], [r"Encrypt (push )?button"])
        self.act("Space", ["space"], [r"6 letters enciphered: [A-Z]{6}"])
        self.act("Tab to Window 1 down", ["Tab"], [r"Window 1 down (push )?button", r"Window 1 at \d\d"])
        window = int(re.fullmatch(r"Window 1 at (\d\d)", self.transcript[-1][1][-1]).group(1))
        self.act("Space", ["space"], [rf"Window 1 at {(window - 2) % 26 + 1:02d}"])
        self.act("Tab seven times to Key 1", ["Tab"] * 7, [r"Key 1 (push )?button.*"])
        self.act("Space", ["space"], [r"Key 2"])
        self.act("Tab four times to Reset", ["Tab"] * 4, [r"Reset (push )?button"])
        self.act("Space", ["space"], [r"Machine reset; typing goes to the message box"])
        if self.model.has_date_controls:
            self.act("shift+Tab to Set By Date", ["shift+Tab"], [r"Set By Date (push )?button"])
            # Orca 43 reads a combo box's name, role and then value; Orca 48 the value after the name too.
            for box, digits in (("year", 4), ("day", 2), ("month", 2)):
                said = self.act(f"shift+Tab to the {box} box", ["shift+Tab"],
                                [rf"{box.title()}( \d{{{digits}}})? editable combo box.*"])
                self.assertRegex(" | ".join(said), rf"\b\d{{{digits}}}\b", f"the {box} box's value")
            self.act("Tab three times to Set By Date", ["Tab"] * 3, [r"Set By Date (push )?button"])
            self.act("Space", ["space"], [r"Key \d\d, Key \d\d, Key \d\d, Key \d+"])
        # A message that is not all letters: the warning box, then its answer.
        self.machine.set_clipboard("ab1")
        self.x.run(["xdotool", "key", menu_key])
        self.machine.handled_so_far()
        self.act(f"{menu_key}, then P for Paste", ["p"], [r".+"], once=False)
        self.act("Tab twice to Encrypt", ["Tab", "Tab"], [r"Encrypt (push )?button"])
        self.act("Space", ["space"], [BOX_OPENS, r"Error Encountered: Capital Letters Only Please Retry"])
        self.act("Return, OK", ["Return"], [r"Message emptied"])
        self.assert_plain_words()
        self.assert_each_result_once()
        self.assertNotIn("DELUGE", self.orca.text(), f"Orca fell behind the events; heard:\n{self.heard()}")
        print(f"\nThe last key typed was echoed {self.fell_behind:+.3f} s later after it than the first; "
              f"{self.flooded} cipher letters dropped by Orca's flood guard.")
        print("What Orca said, action by action:\n" + self.heard())


if __name__ == "__main__":
    xsession.main()
