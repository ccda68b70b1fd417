#include "panel/window/cell_label.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QStaticText>

namespace rovanta {

namespace {

// A text laid out once, with the size by which a label centres it: its advance and the font's line height.
struct LaidOut {
    QFont font;
    QStaticText text;
    QSizeF size;
};

// The cells show a few dozen short texts, nearly always in the one font, so each is laid out once for the
// process; a text met in another font is laid out again.
const LaidOut& laidOut(const QString& text, const QFont& font)
{
    static QHash<QString, LaidOut> cache;
    auto found = cache.find(text);
    if (found == cache.end() || found->font != font) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(QTransform(), font);
        const QFontMetricsF metrics(font);
        found = cache.insert(
            text,
            {font, laid, QSizeF(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent())});
    }
    return *found;
}

// Where a label puts a text of this size in its area, by its alignment.
QPointF textOrigin(const QRectF& area, const QSizeF& size, Qt::Alignment alignment)
{
    qreal x = area.left();
    if (alignment & Qt::AlignHCenter)
        x += (area.width() - size.width()) / 2;
    else if (alignment & Qt::AlignRight)
        x += area.width() - size.width();
    qreal y = area.top();
    if (alignment & Qt::AlignVCenter)
        y += (area.height() - size.height()) / 2;
    else if (alignment & Qt::AlignBottom)
        y += area.height() - size.height();
    return {x, y};
}

} // namespace

CellLabel::CellLabel(QWidget* parent) : QLabel(parent) {}

void CellLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // A plain box frame is an edge of the text colour around the face.
    const int edge = frameWidth();
    if (edge > 0)
        painter.fillRect(rect(), palette().color(foregroundRole()));
    painter.fillRect(rect().adjusted(edge, edge, -edge, -edge), palette().brush(backgroundRole()));
    // Held, not passed as a temporary: the entry returned lives in the cache, not in this statement.
    const QString shown = text();
    const LaidOut& laid = laidOut(shown, font());
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    painter.drawStaticText(textOrigin(contentsRect(), laid.size, alignment()), laid.text);
}

} // namespace rovanta
