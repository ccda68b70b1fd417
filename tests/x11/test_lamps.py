#!/usr/bin/env python3
"""The lit path as the display shows it, read from screenshots: the cells are painted red and yellow, the
others white. Which cells a letter lights is the machine's rule, tested below the window."""

import xsession
from panel_layout import CELLS, ROW_TOPS, cell
from xsession import RED, WHITE, YELLOW, MachineTest, wait_for


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


class LampsTest(MachineTest):
    def test_one_red_and_one_yellow_cell_per_row(self):
        self.machine.type("c")
        cipher = self.machine.output()

        def path_shown():
            rows = lamps(self.machine.screenshot())
            return rows if all(seen["red"] and seen["yellow"] for seen in rows.values()) else None

        rows = wait_for("the lit path", path_shown)
        for row, seen in rows.items():
            with self.subTest(row=f"Label{row}"):
                self.assertEqual(len(seen["red"]), 1, seen)
                self.assertEqual(len(seen["yellow"]), 1, seen)
                self.assertEqual(seen["other"], {WHITE}, "every other cell is cleared to white")
        self.assertEqual(rows[1]["red"], [3], "the entry scale lights the plain letter C")
        self.assertEqual(rows[1]["yellow"], [ord(cipher) - 64], "and returns on the cipher letter")


if __name__ == "__main__":
    xsession.main()
