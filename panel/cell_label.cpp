#include "panel/cell_label.h"

#include <QHash>
#include <QPainter>
#include <QStaticText>

namespace rovanta {

namespace {

// The cells show a few dozen short texts, nearly always in the one font, so each is laid out once for the
// process; a text met in another font is laid out again.
const QStaticText& laidOut(const QString& text, const QFont& font)
{
    struct LaidOut {
        QFont font;
        QStaticText text;
    };
    static QHash<QString, LaidOut> cache;
    auto found = cache.find(text);
    if (found == cache.end() || found->font != font) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(QTransform(), font);
        found = cache.insert(text, {font, laid});
    }
    return found->text;
}

} // namespace

CellLabel::CellLabel(QWidget* parent) : QLabel(parent) {}

void CellLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // A plain box frame is the text colour's edge around the face.
    const int edge = frameWidth();
    if (edge > 0)
        painter.fillRect(rect(), palette().color(foregroundRole()));
    painter.fillRect(rect().adjusted(edge, edge, -edge, -edge), palette().brush(backgroundRole()));
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
