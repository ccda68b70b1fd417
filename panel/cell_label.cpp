#include "panel/cell_label.h"

#include <QHash>
#include <QPainter>
#include <QStaticText>
#include <QStyleOptionFrame>

namespace rovanta {

namespace {

// The cells show a handful of two-character texts in one font, so each is laid out once for the process.
const QStaticText& laidOut(const QString& text, const QFont& font)
{
    static QHash<QString, QStaticText> cache;
    auto found = cache.find(text);
    if (found == cache.end()) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(QTransform(), font);
        found = cache.insert(text, laid);
    }
    return *found;
}

} // namespace

CellLabel::CellLabel(QWidget* parent) : QLabel(parent)
{
    // The cell fills its face itself, in the same painter as its frame and text.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CellLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    drawFrame(&painter);
    const QRect area = contentsRect();
    const QStaticText& text = laidOut(this->text(), font());
    const QSizeF size = text.size();
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    painter.drawStaticText(
        QPointF(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2),
        text);
}

} // namespace rovanta
