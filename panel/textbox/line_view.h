#pragma once

#include "panel/textbox/line_text.h"

#include <QFont>
#include <QPointF>
#include <QRect>
#include <QString>

#include <algorithm>
#include <memory>

class QFontMetricsF;
class QPainter;
class QPalette;
class QTextLayout;

namespace rovanta {

// What of a line's text is on screen, and where each part of it stands. The message and the output run to a
// million letters, and the operator still expects each key answered at once: so only the characters that
// can be on screen are ever measured or laid out, from the first of them, which the view keeps and scrolls
// to keep the caret in view.
class LineView {
public:
    explicit LineView(const LineText& line) : m_line(line) {}

    // Where the text is laid out: the box's font, the part of it the text may use, and the caret's width.
    void place(const QFont& font, const QRect& area, int caretWidth);
    const QRect& area() const { return m_area; }

    // The first character on screen, and one past the last.
    qsizetype first() const { return m_first; }
    qsizetype end() const;

    // A new text is shown from its start; a change left of the view scrolls back to it.
    void showFromStart() { m_first = 0; }
    void showChangeAt(qsizetype position) { m_first = std::min(m_first, position); }
    void scrollToCaret();

    // An input method's text not yet committed, shown at the caret, with its own caret.
    void setPreedit(const QString& text, int caret);

    // Where a character stands, empty while it is scrolled out of view; the position nearest to a point.
    QRect characterRect(qsizetype position) const;
    qsizetype positionAt(const QPointF& point) const;
    QRect caretRect() const;

    void draw(QPainter& painter, const QPalette& palette, bool withCaret) const;

private:
    qsizetype firstToFit(qsizetype end) const;
    qsizetype scanLimit() const;
    qreal advance(const QFontMetricsF& metrics, qsizetype position) const;
    QPointF origin() const;
    std::unique_ptr<QTextLayout> layout() const;
    int caretInLayout() const;

    const LineText& m_line;
    QFont m_font;
    QRect m_area;
    int m_caretWidth = 1;
    qsizetype m_first = 0;
    QString m_preedit;
    int m_preeditCaret = 0;
};

} // namespace rovanta
