#!/usr/bin/env python3
"""Starts an installed program as a desktop would, on its own Xvfb, sees its window appear, closes it
with a close request and checks that it ends by itself with exit status 0:

    start_and_close.py /usr/bin/rovanta-v5 v5
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "x11"))

import xsession  # noqa: E402
from panel_layout import MODELS  # noqa: E402

# The closing movement takes about a second on Xvfb's 1920-pixel screen; far below this bound.
EXIT_BOUND_SECONDS = 20


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in MODELS:
        sys.exit(f"usage: {sys.argv[0]} PROGRAM v5|v4")
    program, model = sys.argv[1], MODELS[sys.argv[2]]
    server = xsession.XServer().start()
    machine = xsession.Machine(server, program, model)
    try:
        machine.start()
        print(f"{program}: window {machine.window:#x} titled {model.title!r} is up")
        machine.close()
        code = machine.wait_exit(EXIT_BOUND_SECONDS)
        if code is None:
            sys.exit(f"{program}: still running {EXIT_BOUND_SECONDS} s after the close request")
        if code != 0:
            sys.exit(f"{program}: ended with exit status {code}:\n{server.log_text('program')}")
        print(f"{program}: closed, exit status 0")
    finally:
        machine.stop()
        server.stop()


if __name__ == "__main__":
    main()
