#pragma once

#include <QLabel>

namespace rovanta {

// A cell of the panel: a label with a plain box frame and its text placed by its alignment, painted as
// QLabel paints it but at less cost. A typed letter repaints a whole ring row and the cells lit before and
// after it, and Encrypt's first clearing every cell, so one cell's paint counts many times over:
// - face, frame and text come from one painter, each text laid out once for the process;
// - the cell fills its own face instead of asking the panel to, so the panel does not count it among its
//   opaque children. Every new colour would otherwise make the panel rebuild the region that its three
//   hundred children cover before the next paint.
class CellLabel final : public QLabel {
    Q_OBJECT

public:
    explicit CellLabel(QWidget* parent = nullptr);

    // A cell of a row is read with its row, as one line, not on its own: a screen reader does not list
    // it, and its changes cost the reader nothing. A window is read on its own.
    void setReadWithRow() { m_readWithRow = true; }
    bool isReadWithRow() const { return m_readWithRow; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_readWithRow = false;
};

// Lets screen readers pass over the cells read with their rows; once for the process.
void readCellsWithTheirRows();

} // namespace rovanta
