#include "panel/window/cell_label.h"

#include <QAccessibleWidget>
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
QPointF placed(const QRectF& area, const QSizeF& size, Qt::Alignment alignment)
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

// A cell that a reader meets in its row's line. Hidden from the reader, it is never listed among what
// the panel shows, so flat review reads each row once instead of twenty-six times.
class CellReadWithRow final : public QAccessibleWidget {
public:
    explicit CellReadWithRow(QWidget* cell) : QAccessibleWidget(cell, QAccessible::StaticText) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

QAccessibleInterface* cellAccessible(const QString& className, QObject* object)
{
    auto* cell = className == QLatin1String("rovanta::CellLabel") ? static_cast<CellLabel*>(object) : nullptr;
    return cell && cell->isReadWithRow() ? new CellReadWithRow(cell) : nullptr;
}

} // namespace

void readCellsWithTheirRows()
{
    static const bool installed = [] {
        QAccessible::installFactory(cellAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

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
    painter.drawStaticText(placed(contentsRect(), laid.size, alignment()), laid.text);
}

} // namespace rovanta
