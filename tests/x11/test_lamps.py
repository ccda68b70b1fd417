#!/usr/bin/env python3
"""The lit path on the panel, read from screenshots: red out, yellow back, one of each in every row."""

import xsession
from panel_layout import CELLS, ROW_TOPS, WINDOW_UP, cell
from xsession import RED, WHITE, YELLOW, MachineTest, wait_for

STAGES = ((1, 2), (3, 4), (5, 6), (7, 8), (9, 10))


def lamps(shot):
    """For every row, the columns of its red cells, its yellow cells, and the colours of the rest."""
    rows = {}
    for row in ROW_TOPS:
        seen = {"red": [], "yellow": [], "other": set()}
        for i in CELLS:
            colour = shot.background(cell(row, i))
            if colour == RED:
                seen["red"].append(i)
            elif colour == YELLOW:
                seen["yellow"].append(i)
            else:
                seen["other"].add(colour)
        rows[row] = seen
    return rows


def ring_row_pixels(shot, row):
    x0, y0, _, _ = cell(row, 1).inner(1)
    _, _, x1, y1 = cell(row, 26).inner(1)
    return [shot.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)]


class LampsTest(MachineTest):
    def lit_path(self):
        """Waits until every row shows its path and returns the screenshot and the lamps."""
        def path_shown():
            shot = self.machine.screenshot()
            rows = lamps(shot)
            return (shot, rows) if all(seen["red"] and seen["yellow"] for seen in rows.values()) else None
        return wait_for("the lit path", path_shown)

    def test_one_red_and_one_yellow_cell_per_row(self):
        self.machine.type("c")
        cipher = self.machine.output()
        _, rows = self.lit_path()
        for row, seen in rows.items():
            with self.subTest(row=f"Label{row}"):
                self.assertEqual(len(seen["red"]), 1, seen)
                self.assertEqual(len(seen["yellow"]), 1, seen)
                self.assertEqual(seen["other"], {WHITE}, "every other cell is cleared to white")
        for first, second in STAGES:
            with self.subTest(stage=(first, second)):
                self.assertEqual(rows[first]["red"], rows[second]["red"], "a stage lights one column")
                self.assertEqual(rows[first]["yellow"], rows[second]["yellow"])
        self.assertEqual(rows[1]["red"], [3], "the entry scale lights the plain letter C")
        self.assertEqual(rows[1]["yellow"], [ord(cipher) - 64], "and returns on the cipher letter")
        self.assertEqual(rows[9]["red"][0] + rows[9]["yellow"][0], 27, "the reflector pairs n with 27 - n")

    def test_window_button_after_a_letter(self):
        self.machine.type("q")
        before_shot, before = self.lit_path()
        self.machine.click(WINDOW_UP[1])
        self.machine.output()  # the press has been handled

        if self.model.window_buttons_keep_highlight:
            def ring_turned():
                shot = self.machine.screenshot()
                return shot if ring_row_pixels(shot, 3) != ring_row_pixels(before_shot, 3) else None
            shot = wait_for("window 1's ring row to turn", ring_turned)
            after = lamps(shot)
            self.assertEqual({r: (s["red"], s["yellow"]) for r, s in after.items()},
                             {r: (s["red"], s["yellow"]) for r, s in before.items()},
                             "the same cells stay lit")
            for row in (5, 7):
                self.assertEqual(ring_row_pixels(shot, row), ring_row_pixels(before_shot, row),
                                 f"only window 1's ring row turns, Label{row} stays")
        else:
            def cleared():
                rows = lamps(self.machine.screenshot())
                return rows if all(not s["red"] and not s["yellow"] for s in rows.values()) else None
            rows = wait_for("the highlight to clear", cleared)
            self.assertEqual(set().union(*(s["other"] for s in rows.values())), {WHITE})


if __name__ == "__main__":
    xsession.main()
