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

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace rovanta
