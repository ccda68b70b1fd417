#!/usr/bin/env python3
"""Pasting natively on Wayland from a holder of the clipboard that has stopped (wl-copy, stopped with
SIGSTOP), on sway's headless backend:

    test_paste.py PROGRAM v5|v4

- Shift+Insert, then a letter, then Copy To ClipBoard: the window answers within the bound, and the
  clipboard then holds the letter's cipher letter, once for every round;
- Shift+Insert, then the window closed: the program ends within the bound with exit status 0.

Where sway, wtype, wl-copy or wl-paste is missing or the compositor does not start, the test says so and
is skipped."""

import os
import signal
import subprocess
import sys
import time

from test_wayland import TOOLS, Failed, finish, started  # first: it finds the x11 helpers

from xsession import wait_for  # noqa: E402

ROUNDS = int(os.environ.get("ROVANTA_PASTE_ROUNDS", "5"))
# The window may wait a fifth of a second for a paste; the rest is wtype's and wl-paste's own start. One
# of the toolkit's one-second waits on the silent holder would pass it.
ANSWER_BOUND_SECONDS = 0.75
# A window closed while a paste is being read ends at once, whatever the holder does.
EXIT_BOUND_SECONDS = 1


def types(compositor):
    listed = compositor.run(["wl-paste", "--list-types"], check=False)
    return listed.stdout if listed.returncode == 0 else ""


def hold_stopped(compositor):
    """A holder of the clipboard that offers text and never hands it over."""
    owner = compositor.spawn(["wl-copy", "--foreground", "HELD"], "owner.log")
    offered = wait_for("wl-copy to hold the clipboard", lambda: "text/plain" in types(compositor) and types(compositor))
    owner.send_signal(signal.SIGSTOP)
    return owner, offered


def drop(owner):
    owner.kill()
    owner.wait()


def start(compositor, program):
    process = compositor.spawn([program], "program.log", {"QT_QPA_PLATFORM": "wayland"})

    def focused():
        if process.poll() is not None:
            raise Failed(f"ended with status {process.returncode} before its window appeared")
        return any(w["focused"] for w in compositor.windows() if w["pid"] == process.pid)

    wait_for("the window to take the keyboard", focused, timeout=20)
    return process


def paste(compositor):
    compositor.run(["wtype", "-M", "shift", "-k", "Insert", "-m", "shift"])


def answers_past_a_stopped_holder(compositor, program):
    process = start(compositor, program)
    try:
        took = []
        for round_number in range(1, ROUNDS + 1):
            owner, offered = hold_stopped(compositor)
            started = time.monotonic()
            paste(compositor)
            compositor.run(["wtype", "a"])
            # Copy To ClipBoard: the next element after the message box, which the click leaves focused.
            compositor.run(["wtype", "-k", "Tab", "-k", "space"])
            wait_for("the window to take the clipboard", lambda: types(compositor) not in ("", offered))
            took.append(time.monotonic() - started)
            drop(owner)
            output = compositor.run(["wl-paste", "--no-newline"], check=False).stdout
            if len(output) != round_number:
                raise Failed(f"round {round_number}: the output holds {output!r}")
            compositor.run(["wtype", "-M", "shift", "-k", "Tab", "-m", "shift"])
        print(f"the window answered after (ms): {[round(t * 1000) for t in took]}")
        if max(took) > ANSWER_BOUND_SECONDS:
            raise Failed(f"the window answered {max(took):.2f} s after a paste, over {ANSWER_BOUND_SECONDS} s")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def closes_during_a_read(compositor, program):
    owner, _ = hold_stopped(compositor)
    process = start(compositor, program)
    try:
        paste(compositor)
        closed = time.monotonic()
        compositor.run(["swaymsg", f"[pid={process.pid}] kill"])
        try:
            status = process.wait(10)
        except subprocess.TimeoutExpired:
            raise Failed("still running 10 s after the window was closed during a paste")
        to_exit = time.monotonic() - closed
        print(f"closed during a paste: exit status {status} {to_exit * 1000:.0f} ms after closing")
        if status != 0 or to_exit > EXIT_BOUND_SECONDS:
            raise Failed(f"closed during a paste: status {status} after {to_exit:.2f} s")
    finally:
        drop(owner)
        if process.poll() is None:
            process.kill()
            process.wait()


def main():
    compositor, program = started((*TOOLS, "wl-copy"))
    failures = []
    for case in (answers_past_a_stopped_holder, closes_during_a_read):
        try:
            case(compositor, program)
        except (Failed, TimeoutError, subprocess.SubprocessError) as error:
            failures.append(f"{case.__name__}: {error}")
    finish(compositor, failures)


if __name__ == "__main__":
    main()
