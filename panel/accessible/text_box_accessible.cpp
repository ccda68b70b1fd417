#include "panel/accessible/text_box_accessible.h"

#include "panel/textbox/text_box.h"

#include <QAccessibleWidget>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <utility>

namespace rovanta {

namespace {

// How far either side of an offset a word or sentence is looked for. A message has no spaces, so its one
// word can run to a million letters: a reader is given the window's part of it, never the whole text.
constexpr qsizetype kItemReach = 256;

struct Span {
    qsizetype start = -1;
    qsizetype end = -1;
};

bool isItemEdge(const QTextBoundaryFinder& finder)
{
    return finder.isAtBoundary() &&
           (finder.boundaryReasons() & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem));
}

// From the finder's position, the next (or previous) edge of an item, else the end of what it searches.
qsizetype nextEdge(QTextBoundaryFinder& finder, qsizetype length)
{
    for (;;) {
        const qsizetype at = finder.toNextBoundary();
        if (at < 0 || at >= length)
            return length;
        if (isItemEdge(finder))
            return at;
    }
}

qsizetype previousEdge(QTextBoundaryFinder& finder)
{
    for (;;) {
        const qsizetype at = finder.toPreviousBoundary();
        if (at <= 0)
            return 0;
        if (isItemEdge(finder))
            return at;
    }
}

enum class Side { Before, At, After };

// The word or sentence before, at or after `offset`, looked for within the window around it.
Span itemNear(QStringView text, qsizetype offset, QTextBoundaryFinder::BoundaryType type, Side side)
{
    const qsizetype from = std::max<qsizetype>(0, offset - kItemReach);
    const qsizetype length = std::min(text.size(), offset + kItemReach) - from;
    QTextBoundaryFinder finder(type, text.sliced(from, length));
    finder.setPosition(offset - from);
    Span span;
    switch (side) {
    case Side::Before:
        span.end = isItemEdge(finder) ? finder.position() : previousEdge(finder);
        span.start = span.end > 0 ? previousEdge(finder) : 0;
        break;
    case Side::At:
        span.start = isItemEdge(finder) ? finder.position() : previousEdge(finder);
        span.end = nextEdge(finder, length);
        break;
    case Side::After:
        span.start = nextEdge(finder, length);
        span.end = span.start < length ? nextEdge(finder, length) : length;
        break;
    }
    return {from + span.start, from + span.end};
}

} // namespace

// The box as a screen reader sees a line edit: an editable text whose characters, words, caret and
// selection it can ask for and change. Every answer is cut to what was asked.
class TextBoxAccessible final : public QAccessibleWidget,
                                public QAccessibleTextInterface,
                                public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(TextBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text type) const override
    {
        // The whole text is shared with the box, not copied.
        return type == QAccessible::Value ? box()->text() : QAccessibleWidget::text(type);
    }

    // Selection and caret.

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && box()->hasSelectedText()) {
            *startOffset = offset(line().selectionStart());
            *endOffset = offset(line().selectionEnd());
        }
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            box()->setCursorPosition(box()->cursorPosition());
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            box()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return offset(box()->cursorPosition()); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }

    // Text.

    QString text(int startOffset, int endOffset) const override
    {
        const Span span = within(startOffset, endOffset);
        return line().text().mid(span.start, span.end - span.start);
    }
    int characterCount() const override { return offset(line().text().size()); }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override
    {
        return textNear(offset, boundaryType, Side::Before, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override
    {
        return textNear(offset, boundaryType, Side::At, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override
    {
        return textNear(offset, boundaryType, Side::After, startOffset, endOffset);
    }

    QRect characterRect(int offset) const override
    {
        const QRect local = box()->characterRect(offset);
        return local.isNull() ? QRect() : QRect(box()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return offset(box()->positionAtPoint(box()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        box()->setCursorPosition(endIndex);
        box()->setCursorPosition(startIndex);
    }
    // One run over the whole text: the box has no character formats.
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // Edits, each one undo step, as the operator's paste is.

    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        const Span span = within(startOffset, endOffset);
        box()->edit(span.start, span.end, text);
    }

private:
    TextBox* box() const { return static_cast<TextBox*>(widget()); }
    const LineText& line() const { return box()->line(); }
    static int offset(qsizetype position) { return static_cast<int>(position); }

    // The part of the text between two offsets a reader gave, cut to the text.
    Span within(int startOffset, int endOffset) const
    {
        const qsizetype length = line().text().size();
        const qsizetype start = std::clamp<qsizetype>(startOffset, 0, length);
        return {start, std::clamp<qsizetype>(endOffset, start, length)};
    }

    // Offset -2 stands for the caret and -1 for the end of the text.
    QString textNear(int offset, QAccessible::TextBoundaryType boundaryType, Side side, int* startOffset,
                     int* endOffset) const
    {
        const Span span = spanNear(offset == -2   ? box()->cursorPosition()
                                   : offset == -1 ? line().text().size()
                                                  : offset,
                                   boundaryType, side);
        *startOffset = TextBoxAccessible::offset(span.start);
        *endOffset = TextBoxAccessible::offset(span.end);
        return span.start < 0 ? QString() : line().text().mid(span.start, span.end - span.start);
    }

    Span spanNear(qsizetype offset, QAccessible::TextBoundaryType boundaryType, Side side) const
    {
        const QString& text = line().text();
        if (offset < 0 || offset > text.size())
            return {};
        const bool line = boundaryType == QAccessible::LineBoundary ||
                          boundaryType == QAccessible::ParagraphBoundary ||
                          boundaryType == QAccessible::NoBoundary;
        if (line) {
            // The box is one line: the line is the whole text, the caret at its end included, and there
            // is none before or after it.
            if (side == Side::At)
                return {0, text.size()};
            return side == Side::Before ? Span{0, 0} : Span{text.size(), text.size()};
        }
        if ((side == Side::Before && offset == 0) || (side != Side::Before && offset == text.size()))
            return {offset, offset};
        if (boundaryType == QAccessible::CharBoundary)
            return characterNear(offset, side);
        return itemNear(text, offset,
                        boundaryType == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                                  : QTextBoundaryFinder::Sentence,
                        side);
    }

    // Characters as the caret steps over them: grapheme clusters.
    Span characterNear(qsizetype offset, Side side) const
    {
        const LineText& text = line();
        switch (side) {
        case Side::Before:
            return {text.previousCharacter(offset), offset};
        case Side::At:
            return {text.previousCharacter(text.nextCharacter(offset)), text.nextCharacter(offset)};
        case Side::After: {
            const qsizetype start = text.nextCharacter(offset);
            return {start, text.nextCharacter(start)};
        }
        }
        return {};
    }
};

namespace {

QAccessibleInterface* textBoxInterface(const QString& className, QObject* object)
{
    if (className != QLatin1StringView(TextBox::staticMetaObject.className()))
        return nullptr;
    return new TextBoxAccessible(static_cast<TextBox*>(object));
}

} // namespace

void installTextBoxAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(textBoxInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace rovanta
