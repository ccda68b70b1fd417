#pragma once

#include <QLabel>

namespace rovanta {

// A cell of the panel: a framed label with its text centred, as QLabel shows it, painted with one painter
// and from text laid out once per text. A typed letter repaints a whole ring row and the cells lit before
// and after it, and Encrypt's first clearing every cell, so the cost of one cell's paint counts many times.
class CellLabel final : public QLabel {
    Q_OBJECT

public:
    explicit CellLabel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace rovanta
