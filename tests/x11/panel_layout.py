"""Where the machine's elements stand on its window, in twips from the client area's top-left corner.

The tests click and sample pixels at these places, so they are written from the panel's design and
not read back from the program: a panel that puts an element elsewhere fails the tests that use it.
"""

from dataclasses import dataclass

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


# The ten rows from top to bottom of the panel; cell i of every row stands in the same column.
ROW_TOPS = {10: 720, 9: 1095, 8: 1680, 7: 2055, 6: 2640, 5: 3000, 4: 3600, 3: 3960, 2: 4560, 1: 4920}
CELLS = range(1, 27)


def cell(row: int, index: int) -> Rect:
    return Rect(1560 + 480 * (index - 1), ROW_TOPS[row], 405, 300)


_SHARED = {
    "Command11": Rect(360, 1680, 1095, 300),
    "Command2": Rect(360, 2040, 300, 300),
    "Command3": Rect(720, 2040, 300, 300),
    "Command12": Rect(360, 2640, 1095, 300),
    "Command4": Rect(360, 3000, 300, 300),
    "Command5": Rect(720, 3000, 300, 300),
    "Command13": Rect(360, 3600, 1095, 300),
    "Command6": Rect(360, 3960, 300, 300),
    "Command7": Rect(720, 3960, 300, 300),
    "Command14": Rect(360, 4560, 1095, 300),
    "Command10": Rect(360, 5520, 855, 495),
    "Text3": Rect(1440, 5520, 12495, 375),
    "Command9": Rect(360, 6480, 855, 375),
    "Text2": Rect(1440, 6480, 12495, 375),
    "Label12": Rect(0, 6840, 14295, 255),
}

_DATE_CONTROLS = {
    "ComboDay": Rect(1440, 6000, 600, 360),
    "ComboMonth": Rect(1995, 6000, 600, 360),
    "ComboYear": Rect(2580, 6000, 900, 360),
    "Command8": Rect(3480, 6000, 1215, 360),
}

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
    window_buttons_keep_highlight: bool

    def client_pixels(self) -> tuple[int, int]:
        return pixels(self.client_twips[0]), pixels(self.client_twips[1])

    def rect(self, name: str) -> Rect:
        return self.elements[name]


MODELS = {
    "v5": Model(
        name="v5",
        title=" Rovanta Machine V5.1",
        client_twips=(14310, 7110),
        elements={**_SHARED, **_DATE_CONTROLS,
                  "Label11": Rect(3360, 120, 7215, 255), "Command1": Rect(360, 6100, 855, 300)},
        has_date_controls=True,
        reset_keeps_keys=False,
        window_buttons_keep_highlight=False,
    ),
    "v4": Model(
        name="v4",
        title=" Rovanta Machine V4",
        client_twips=(14310, 7080),
        elements={**_SHARED,
                  "Label11": Rect(240, 120, 13815, 255), "Command1": Rect(360, 6120, 855, 255)},
        has_date_controls=False,
        reset_keeps_keys=True,
        window_buttons_keep_highlight=True,
    ),
}

# The place where the five-point-one model keeps its date controls; the four model shows bare panel there.
DATE_STRIP = Rect(1440, 6000, 3480 + 1215 - 1440, 360)
