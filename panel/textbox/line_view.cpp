#include "panel/textbox/line_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace rovanta {

namespace {

// The box is one line: line breaks and other control characters stay in the text as they were pasted,
// and show as spaces.
bool showsAsSpace(QChar character)
{
    return character.unicode() < 0x20 || character == QChar::LineSeparator ||
           character == QChar::ParagraphSeparator;
}

QString shown(QString text)
{
    for (QChar& character : text) {
        if (showsAsSpace(character))
            character = u' ';
    }
    return text;
}

} // namespace

void LineView::place(const QFont& font, const QRect& area, int caretWidth)
{
    m_font = font;
    m_area = area;
    m_caretWidth = caretWidth;
    scrollToCaret();
}

void LineView::setPreedit(const QString& text, int caret)
{
    m_preedit = text;
    m_preeditCaret = caret;
}

// Scrolls as little as keeps the caret in view, and leaves no empty room on the right while text is
// hidden on the left. Each step measures at most a box's width of characters.
void LineView::scrollToCaret()
{
    m_first = std::min(m_first, m_line.caret());
    m_first = std::max(m_first, firstToFit(m_line.caret()));
    m_first = std::min(m_first, firstToFit(m_line.text().size()));
}

// The first character from which the text up to `end`, and the caret after it, fit the box.
qsizetype LineView::firstToFit(qsizetype end) const
{
    const QFontMetricsF metrics(m_font);
    const qreal room = m_area.width() - m_caretWidth;
    const qsizetype limit = scanLimit();
    qsizetype first = end;
    qreal used = 0;
    for (qsizetype scanned = 0; first > 0 && scanned < limit; ++scanned) {
        const qsizetype previous = m_line.previousCharacter(first);
        used += advance(metrics, previous);
        if (used > room)
            break;
        first = previous;
    }
    return first;
}

qsizetype LineView::end() const
{
    const QFontMetricsF metrics(m_font);
    const qreal room = m_area.width();
    const qsizetype limit = scanLimit();
    const qsizetype size = m_line.text().size();
    qsizetype end = m_first;
    qreal used = 0;
    for (qsizetype scanned = 0; end < size && used <= room && scanned < limit; ++scanned) {
        used += advance(metrics, end);
        end = m_line.nextCharacter(end);
    }
    return end;
}

// Characters that take no room (joiners, marks) must not make a scan run through the whole text.
qsizetype LineView::scanLimit() const
{
    return 4 * qsizetype(std::max(m_area.width(), 0)) + 16;
}

qreal LineView::advance(const QFontMetricsF& metrics, qsizetype position) const
{
    const QString& text = m_line.text();
    const qsizetype length = m_line.nextCharacter(position) - position;
    if (length != 1)
        return metrics.horizontalAdvance(text.mid(position, length));
    const QChar character = text[position];
    return metrics.horizontalAdvance(showsAsSpace(character) ? QChar(u' ') : character);
}

// Where the visible text's line starts: at the left of the text area, centred from top to bottom.
QPointF LineView::origin() const
{
    return QPointF(m_area.x(), m_area.y() + (m_area.height() - QFontMetrics(m_font).height() + 1) / 2);
}

std::unique_ptr<QTextLayout> LineView::layout() const
{
    const qsizetype end = this->end();
    const qsizetype caret = m_line.caret();
    auto layout = std::make_unique<QTextLayout>(shown(m_line.text().mid(m_first, end - m_first)), m_font);
    if (!m_preedit.isEmpty() && caret >= m_first && caret <= end)
        layout->setPreeditArea(static_cast<int>(caret - m_first), m_preedit);
    layout->beginLayout();
    layout->createLine();
    layout->endLayout();
    return layout;
}

qsizetype LineView::positionAt(const QPointF& point) const
{
    const qreal x = point.x() - origin().x();
    // Left of the text, a drag scrolls back one character at a time.
    if (x < 0 && m_first > 0)
        return m_line.previousCharacter(m_first);
    // The nearest boundary between the characters shown, measured as the caret and a character's
    // rectangle are measured, so that a point on a character finds that character. (The layout's own
    // xToCursor counts a combining mark as a place of its own in some versions of the toolkit.)
    const auto laidOut = layout();
    const QTextLine line = laidOut->lineAt(0);
    const auto distance = [&](qsizetype at) {
        return std::abs(x - line.cursorToX(static_cast<int>(at - m_first)));
    };
    qsizetype nearest = m_first;
    const qsizetype end = this->end();
    for (qsizetype at = m_first; at < end;) {
        at = m_line.nextCharacter(at);
        if (distance(at) < distance(nearest))
            nearest = at;
    }
    return std::min(nearest, m_line.text().size());
}

QRect LineView::characterRect(qsizetype position) const
{
    if (position < m_first || position >= end())
        return {};
    const auto laidOut = layout();
    const QTextLine line = laidOut->lineAt(0);
    const qreal left = line.cursorToX(static_cast<int>(position - m_first));
    const qreal right = line.cursorToX(static_cast<int>(m_line.nextCharacter(position) - m_first));
    const QPointF at = origin();
    return QRectF(at.x() + left, at.y(), right - left, QFontMetricsF(m_font).height()).toAlignedRect();
}

int LineView::caretInLayout() const
{
    return static_cast<int>(m_line.caret() - m_first) + (m_preedit.isEmpty() ? 0 : m_preeditCaret);
}

QRect LineView::caretRect() const
{
    const QPointF at = origin();
    const qreal x = layout()->lineAt(0).cursorToX(caretInLayout());
    return QRect(qRound(at.x() + x), qRound(at.y()), 1, QFontMetrics(m_font).height());
}

void LineView::draw(QPainter& painter, const QPalette& palette, bool withCaret) const
{
    painter.setClipRect(m_area);
    painter.setPen(palette.color(QPalette::Text));
    const auto laidOut = layout();
    const QPointF at = origin();
    QList<QTextLayout::FormatRange> selection;
    const qsizetype start = std::max(m_line.selectionStart(), m_first);
    const qsizetype end = std::min(m_line.selectionEnd(), m_first + laidOut->text().size());
    if (start < end) {
        QTextCharFormat format;
        format.setBackground(palette.brush(QPalette::Highlight));
        format.setForeground(palette.brush(QPalette::HighlightedText));
        selection.append({static_cast<int>(start - m_first), static_cast<int>(end - start), format});
    }
    laidOut->draw(&painter, at, selection);
    if (withCaret)
        laidOut->drawCursor(&painter, at, caretInLayout(), m_caretWidth);
}

} // namespace rovanta
