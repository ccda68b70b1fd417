#!/usr/bin/env python3
"""How long the real program takes from its start to its window's first paint, timed from outside.

Usage: bench_startup.py PROGRAM v5|v4

The program is started several times on its own Xvfb with no window manager. Each start is timed from
just before the process is created to the first moment the server holds the window mapped and drawn: panel
grey on the form, a white cell face and a white message box, as the first paint leaves them (the server
shows a window's pixels only once the program has put them there). Prints the median as a METRIC line.
"""

import statistics
import sys
import time
from pathlib import Path

# The real-program tests' helpers and the panel's designed layout.
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "x11"))

import xwire  # noqa: E402
from panel_layout import MODELS, cell, pixels  # noqa: E402
from xsession import PANEL_GREY, WHITE, XServer, wait_for  # noqa: E402

STARTS = 7


def painted_places(model):
    """Pixels, in the client area, that differ from anything the server shows before the first paint."""
    x0, y0, _, _ = cell(1, 1).inner(2)
    tx0, ty0, _, _ = model.rect("Text2").inner(4)
    return {(pixels(240), pixels(720)): PANEL_GREY, (x0, y0): WHITE, (tx0, ty0): WHITE}


def time_one_start(x, program, places):
    connection = xwire.XConnection(x.number, timeout=20)
    try:
        connection.watch_children(connection.root)
        start = time.monotonic()
        process = x.spawn([program], log="program")
        try:
            window = connection.next_mapped(connection.root)
            wait_for("the window's first paint",
                     lambda: all(connection.pixel(window, *place) == colour for place, colour in places.items()),
                     timeout=20, interval=0.0005)
            return (time.monotonic() - start) * 1000
        finally:
            process.kill()
            process.wait()
    finally:
        connection.close()


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in MODELS:
        sys.exit(f"usage: {sys.argv[0]} PROGRAM v5|v4")
    program, model = sys.argv[1], MODELS[sys.argv[2]]
    x = XServer().start()
    try:
        places = painted_places(model)
        times = [time_one_start(x, program, places) for _ in range(STARTS)]
    finally:
        x.stop()
    print("first paints: " + " ".join(f"{t:.1f}" for t in times) + " ms", file=sys.stderr)
    print(f"METRIC startup_first_paint_ms {statistics.median(times):.1f} ms")


if __name__ == "__main__":
    main()
