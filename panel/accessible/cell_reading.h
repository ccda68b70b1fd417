#pragma once

class QWidget;

namespace rovanta {

// Marks a cell of a row to be read with its row, as one line, not on its own: a screen reader does not
// list it, and its changes cost the reader nothing. A window, never marked, is read on its own.
void readWithRow(QWidget& cell);

} // namespace rovanta
