"""Where the machine's elements stand on its window, in twips from the client area's top-left corner.

The tests click and sample pixels at these places, read from tests/panel_layout.txt, which is written from
the panel's design and not read back from the program: a panel that puts an element elsewhere fails the
tests that use it.
"""

from dataclasses import dataclass
from pathlib import Path

TWIPS_PER_PIXEL = 15


def pixels(twips: float) -> int:
    """Twips to pixels at 96 dots per inch, rounded to the nearest pixel (6100 twips is pixel 407)."""
    return int(twips / TWIPS_PER_PIXEL + 0.5)


@dataclass(frozen=True)
class Rect:
    left: int
    top: int
    width: int
    height: int

    def centre(self) -> tuple[int, int]:
        return pixels(self.left + self.width / 2), pixels(self.top + self.height / 2)

    def inner(self, inset: int) -> tuple[int, int, int, int]:
        """Pixel box (x0, y0, x1, y1), end exclusive, `inset` pixels inside the element's edges."""
        return (pixels(self.left) + inset, pixels(self.top) + inset,
                pixels(self.left + self.width) - inset, pixels(self.top + self.height) - inset)


def _read_layout(path: Path):
    """The design's places: per model, element name to Rect; client sizes; row tops; cell lefts and size."""
    places = {"v5": {}, "v4": {}}
    client, rows, columns, size = {}, {}, [], (0, 0)
    for line in path.read_text(encoding="ascii").splitlines():
        words = line.split()
        if not words or words[0].startswith("#"):
            continue
        kind, values = words[0], words[1:]
        if kind == "place":
            for model in ("v5", "v4") if values[0] == "both" else (values[0],):
                places[model][values[1]] = Rect(*map(int, values[2:6]))
        elif kind == "client":
            client[values[0]] = (int(values[1]), int(values[2]))
        elif kind == "rows":
            rows = {row: int(top) for row, top in enumerate(values, start=1)}
        elif kind == "columns":
            columns = [int(left) for left in values]
        elif kind == "cell":
            size = (int(values[0]), int(values[1]))
    return places, client, rows, columns, size


_PLACES, _CLIENT, ROW_TOPS, _COLUMNS, _CELL_SIZE = _read_layout(
    Path(__file__).resolve().parent.parent / "panel_layout.txt")
CELLS = range(1, 27)


def cell(row: int, index: int) -> Rect:
    """Cell `index` of row Label`row`; cell i of every row stands in the same column."""
    return Rect(_COLUMNS[index - 1], ROW_TOPS[row], *_CELL_SIZE)


# The window buttons and the selectors: names by the window or key they act on.
WINDOW_UP = {1: "Command6", 2: "Command4", 3: "Command2"}
WINDOW_DOWN = {1: "Command7", 2: "Command5", 3: "Command3"}
SELECTORS = ("Command11", "Command12", "Command13", "Command14")
WINDOW_BUTTONS = ("Command2", "Command3", "Command4", "Command5", "Command6", "Command7")


@dataclass(frozen=True)
class Model:
    """What the two programs of the machine show differently, as the tests see it from outside."""
    name: str
    title: str
    client_twips: tuple[int, int]
    elements: dict
    has_date_controls: bool
    reset_keeps_keys: bool

    def client_pixels(self) -> tuple[int, int]:
        return pixels(self.client_twips[0]), pixels(self.client_twips[1])

    def rect(self, name: str) -> Rect:
        return self.elements[name]


MODELS = {
    "v5": Model(
        name="v5",
        title=" Rovanta Machine V5.1",
        client_twips=_CLIENT["v5"],
        elements=_PLACES["v5"],
        has_date_controls=True,
        reset_keeps_keys=False,
    ),
    "v4": Model(
        name="v4",
        title=" Rovanta Machine V4",
        client_twips=_CLIENT["v4"],
        elements=_PLACES["v4"],
        has_date_controls=False,
        reset_keeps_keys=True,
    ),
}
