#!/usr/bin/env python3
"""One program natively on Wayland, on sway's headless backend with Qt's Wayland plugin, as an operator
on a Wayland desktop meets it:

    test_wayland.py PROGRAM v5|v4

The window must appear at its designed size under the program's application id, letters typed with
wtype must be enciphered, Copy To ClipBoard must reach wl-paste, and closing the window must end the
program with exit status 0. A second start of the program deciphers the first one's
cipher text, so the letters are known to be enciphered, not merely echoed.

sway refuses to run as root: as root, the compositor and the program run as the unprivileged user
nobody, with a runtime folder of their own and a copy of the program they may read. Where sway, wtype or
wl-paste is missing or the compositor does not start, the test says so and is skipped.
"""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "x11"))

from panel_layout import MODELS  # noqa: E402
import xsession  # noqa: E402
from xsession import wait_for  # noqa: E402

APP_IDS = {"v5": "org.rovanta.rovanta_v5", "v4": "org.rovanta.rovanta_v4"}
MESSAGE = "wheelsturninthedark"
TOOLS = ("sway", "swaymsg", "wtype", "wl-paste")


def skip(reason):
    print(f"wayland test SKIPPED: {reason}")
    sys.exit(0)


class Compositor(xsession.Compositor):
    """The shared harness's compositor; where sway cannot run, this test is skipped."""

    def unavailable(self, reason):
        skip(reason)


class Failed(Exception):
    pass


def enciphered(compositor, program, model, text):
    """Starts the program, types text into it, copies the output and closes the window; returns the
    output and the program's exit status."""
    process = compositor.spawn([program], "program.log", {"QT_QPA_PLATFORM": "wayland"})
    try:
        def window():
            if process.poll() is not None:
                raise Failed(f"ended with status {process.returncode} before its window appeared")
            return next((w for w in compositor.windows() if w["pid"] == process.pid), None)

        node = wait_for("the window", window, timeout=20)
        size = (node["geometry"]["width"], node["geometry"]["height"])
        if node.get("app_id") != APP_IDS[model.name]:
            raise Failed(f"app id {node.get('app_id')!r}, expected {APP_IDS[model.name]!r}")
        if node["name"] != model.title:
            raise Failed(f"title {node['name']!r}, expected {model.title!r}")
        if size != model.client_pixels():
            raise Failed(f"window {size[0]} x {size[1]} pixels, expected {model.client_pixels()}")
        wait_for("the window to take the keyboard", lambda: any(
            w["focused"] for w in compositor.windows() if w["pid"] == process.pid), timeout=5)

        # The focus starts in the message box, and Copy To ClipBoard is next in the keyboard order.
        compositor.run(["wtype", text])
        compositor.run(["wtype", "-k", "Tab", "-k", "space"])

        # Until the copy arrives the clipboard may be empty, and wl-paste then fails.
        def copied():
            pasted = compositor.run(["wl-paste", "--no-newline"], check=False).stdout
            return len(pasted) == len(text) and pasted

        try:
            output = wait_for(f"{len(text)} letters on the clipboard", copied, timeout=15)
        except TimeoutError:
            pasted = compositor.run(["wl-paste", "--no-newline"], check=False).stdout
            raise Failed(f"typed {text!r}, the clipboard holds {pasted!r}")

        compositor.run(["swaymsg", f"[pid={process.pid}] kill"])
        try:
            status = process.wait(10)
        except subprocess.TimeoutExpired:
            still = [w["name"] for w in compositor.windows() if w["pid"] == process.pid]
            raise Failed(f"still running 10 s after the window was closed; its windows: {still}")
        return output, status
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def started(tools=TOOLS):
    """A compositor started for the program named on the command line, and the program's path where the
    compositor's user may run it; skips the test where a tool is missing."""
    if len(sys.argv) != 3 or sys.argv[2] not in MODELS:
        sys.exit(f"usage: {sys.argv[0]} PROGRAM v5|v4")
    missing = [tool for tool in tools if not shutil.which(tool)]
    if missing:
        skip(f"{', '.join(missing)} not installed (scripts/deps test installs them)")
    compositor = Compositor()
    # The program is copied where the unprivileged user may run it, wherever the build lies.
    program = os.path.join(compositor.home, os.path.basename(sys.argv[1]))
    shutil.copy(sys.argv[1], program)
    if compositor.user:
        os.chown(program, compositor.user.pw_uid, compositor.user.pw_gid)
    compositor.start()
    return compositor, program


def finish(compositor, failures):
    """Stops the compositor and ends the test: passed, or failed with each failure and the logs."""
    if failures:
        print("wayland test FAILED:\n  " + "\n  ".join(failures))
        print(f"program's log:\n{compositor.log('program.log')}\nsway's log:\n{compositor.log('sway.log')}")
    compositor.stop()
    if failures:
        sys.exit(1)
    print("wayland test passed")


def main():
    compositor, program = started()
    model = MODELS[sys.argv[2]]
    failures = []
    try:
        cipher, first = enciphered(compositor, program, model, MESSAGE)
        plain, second = enciphered(compositor, program, model, cipher)
        for run, status in (("enciphering", first), ("deciphering", second)):
            if status != 0:
                failures.append(f"{run}: exit status {status}")
        print(f"{MESSAGE!r} -> {cipher!r} -> {plain!r}")
        if any(p == c for p, c in zip(MESSAGE.upper(), cipher)):
            failures.append(f"a letter enciphered to itself: {MESSAGE.upper()!r} -> {cipher!r}")
        if plain != MESSAGE.upper():
            failures.append(f"the cipher text deciphered to {plain!r}, not {MESSAGE.upper()!r}")
    except (Failed, TimeoutError, subprocess.SubprocessError) as error:
        failures.append(str(error))
    finish(compositor, failures)


if __name__ == "__main__":
    main()
