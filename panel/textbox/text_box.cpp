#include "panel/textbox/text_box.h"

#include "panel/textbox/text_notices.h"
#include "panel/textbox/text_box_keys.h"

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextLayout>

#include <array>
#include <cmath>
#include <utility>

namespace rovanta {

namespace {

// The margins a line edit keeps between its frame and its text.
constexpr int kHorizontalMargin = 2;
constexpr int kVerticalMargin = 1;
// How much text around the caret an input method is shown.
constexpr qsizetype kSurrounding = 512;

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

QClipboard* clipboard()
{
    return QGuiApplication::clipboard();
}

} // namespace

TextBox::TextBox(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base);
    setAcceptDrops(false);
}

TextBox::~TextBox() = default;

void TextBox::setText(const QString& text)
{
    m_first = 0;
    showChange(m_line.reset(text));
}

void TextBox::append(QStringView tail)
{
    showChange(m_line.append(tail));
}

void TextBox::insert(const QString& text)
{
    edited(m_line.insert(text));
}

void TextBox::backspace()
{
    edited(m_line.erase(m_line.previousCharacter(m_line.caret())));
}

void TextBox::edit(qsizetype start, qsizetype end, const QString& with)
{
    edited(m_line.edit(start, end, with, LineText::Merge::Separate));
}

void TextBox::copy() const
{
    if (hasSelectedText())
        clipboard()->setText(selectedText());
}

void TextBox::setCursorPosition(qsizetype position)
{
    moveCaret(position, false);
}

void TextBox::setSelection(qsizetype start, qsizetype length)
{
    m_line.select(start, start + length);
    changed();
}

void TextBox::selectAll()
{
    m_line.selectAll();
    changed();
}

// Each change of the text is shown from what changed alone: the box scrolls back to it if it lies to the
// left, and a screen reader hears just the removed and inserted characters.
void TextBox::showChange(const Change& change)
{
    if (!change.isEmpty()) {
        m_first = std::min(m_first, change.position);
        announceTextChange(this, change);
    }
    changed();
}

void TextBox::edited(const Change& change)
{
    if (change.isEmpty())
        return;
    showChange(change);
    emit textEdited(change);
}

void TextBox::moveCaret(qsizetype position, bool mark)
{
    m_line.moveCaret(position, mark);
    changed();
}

void TextBox::run(TextCommand command, const QString& typed)
{
    switch (command) {
    case TextCommand::Undo:
        return edited(m_line.undo());
    case TextCommand::Redo:
        return edited(m_line.redo());
    case TextCommand::Cut:
        copy();
        return edited(m_line.erase(m_line.caret()));
    case TextCommand::Copy:
        return copy();
    case TextCommand::Paste:
        return pasteFrom(QClipboard::Clipboard);
    case TextCommand::Delete:
        return edited(m_line.erase(m_line.nextCharacter(m_line.caret())));
    case TextCommand::DeleteWordBefore:
        moveCaret(m_line.target(LineText::Step::PreviousWord, true), true);
        return run(TextCommand::Delete);
    case TextCommand::DeleteWordAfter:
        moveCaret(m_line.target(LineText::Step::NextWord, true), true);
        return run(TextCommand::Delete);
    case TextCommand::SelectAll:
        return selectAll();
    case TextCommand::OpenMenu:
        return openMenuAtCaret();
    case TextCommand::Backspace:
        return backspace();
    case TextCommand::Type:
        return insert(typed);
    }
}

// The text may come after the window has handled other events, an earlier paste among them. On a box
// still as it was when the paste was asked for, it takes the place of the selection then; on a box changed
// meanwhile it goes in at the caret as it stands, and text selected since is not replaced.
void TextBox::pasteFrom(QClipboard::Mode mode)
{
    m_paste.read(mode, [this, asked = m_changes](const QString& pasted) {
        if (asked == m_changes)
            edit(m_line.selectionStart(), m_line.selectionEnd(), pasted);
        else
            edit(m_line.caret(), m_line.caret(), pasted);
    });
}

// On X a selection is offered to other programs as the primary selection as soon as it is made.
void TextBox::offerSelection() const
{
    if (hasSelectedText() && clipboard()->supportsSelection())
        clipboard()->setText(selectedText(), QClipboard::Selection);
}

// With KeyUse::Check it only tells whether the key is the box's, so that no shortcut takes it away.
bool TextBox::handleKey(const QKeyEvent& event, KeyUse use)
{
    const KeyAction action = keyAction(event);
    if (use == KeyUse::Act && action.kind == KeyAction::Kind::Move)
        moveCaret(m_line.target(action.step, action.mark), action.mark);
    else if (use == KeyUse::Act && action.kind == KeyAction::Kind::Run)
        run(action.command, event.text());
    return action.kind != KeyAction::Kind::None;
}

// What is on screen

void TextBox::changed()
{
    ++m_changes;
    m_toldCaret.tell(this, m_line);
    scrollToCaret();
    restartBlink();
    update();
    updateMicroFocus(Qt::ImQueryInput);
}

// Scrolls as little as keeps the caret in view, and leaves no empty room on the right while text is
// hidden on the left. Each step measures at most a box's width of characters.
void TextBox::scrollToCaret()
{
    m_first = std::min(m_first, m_line.caret());
    m_first = std::max(m_first, firstToFit(m_line.caret()));
    m_first = std::min(m_first, firstToFit(text().size()));
}

// The first character from which the text up to `end`, and the caret after it, fit the box.
qsizetype TextBox::firstToFit(qsizetype end) const
{
    const QFontMetricsF metrics(font());
    const qreal room = textArea().width() - style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
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

qsizetype TextBox::visibleEnd() const
{
    const QFontMetricsF metrics(font());
    const qreal room = textArea().width();
    const qsizetype limit = scanLimit();
    qsizetype end = m_first;
    qreal used = 0;
    for (qsizetype scanned = 0; end < text().size() && used <= room && scanned < limit; ++scanned) {
        used += advance(metrics, end);
        end = m_line.nextCharacter(end);
    }
    return end;
}

// Characters that take no room (joiners, marks) must not make a scan run through the whole text.
qsizetype TextBox::scanLimit() const
{
    return 4 * qsizetype(std::max(textArea().width(), 0)) + 16;
}

qreal TextBox::advance(const QFontMetricsF& metrics, qsizetype position) const
{
    const qsizetype length = m_line.nextCharacter(position) - position;
    if (length != 1)
        return metrics.horizontalAdvance(text().mid(position, length));
    const QChar character = text()[position];
    return metrics.horizontalAdvance(showsAsSpace(character) ? QChar(u' ') : character);
}

QRect TextBox::textArea() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &option, this)
        .adjusted(kHorizontalMargin, kVerticalMargin, -kHorizontalMargin, -kVerticalMargin);
}

// Where the visible text's line starts: at the left of the text area, centred from top to bottom.
QPointF TextBox::textOrigin() const
{
    const QRect area = textArea();
    return QPointF(area.x(), area.y() + (area.height() - QFontMetrics(font()).height() + 1) / 2);
}

std::unique_ptr<QTextLayout> TextBox::visibleLayout() const
{
    const qsizetype end = visibleEnd();
    auto layout = std::make_unique<QTextLayout>(shown(text().mid(m_first, end - m_first)), font());
    if (!m_preedit.isEmpty() && m_line.caret() >= m_first && m_line.caret() <= end)
        layout->setPreeditArea(static_cast<int>(m_line.caret() - m_first), m_preedit);
    layout->beginLayout();
    layout->createLine();
    layout->endLayout();
    return layout;
}

qsizetype TextBox::positionAt(const QPointF& point) const
{
    const qreal x = point.x() - textOrigin().x();
    // Left of the text, a drag scrolls back one character at a time.
    if (x < 0 && m_first > 0)
        return m_line.previousCharacter(m_first);
    // The nearest boundary between the characters shown, measured as the caret and a character's
    // rectangle are measured, so that a point on a character finds that character. (The layout's own
    // xToCursor counts a combining mark as a place of its own in some versions of the toolkit.)
    const auto layout = visibleLayout();
    const QTextLine line = layout->lineAt(0);
    const auto distance = [&](qsizetype at) {
        return std::abs(x - line.cursorToX(static_cast<int>(at - m_first)));
    };
    qsizetype nearest = m_first;
    const qsizetype end = visibleEnd();
    for (qsizetype at = m_first; at < end;) {
        at = m_line.nextCharacter(at);
        if (distance(at) < distance(nearest))
            nearest = at;
    }
    return std::min(nearest, text().size());
}

QRect TextBox::characterRect(qsizetype position) const
{
    if (position < m_first || position >= visibleEnd())
        return {};
    const auto layout = visibleLayout();
    const QTextLine line = layout->lineAt(0);
    const qreal left = line.cursorToX(static_cast<int>(position - m_first));
    const qreal right = line.cursorToX(static_cast<int>(m_line.nextCharacter(position) - m_first));
    const QPointF origin = textOrigin();
    return QRectF(origin.x() + left, origin.y(), right - left, QFontMetricsF(font()).height())
        .toAlignedRect();
}

qsizetype TextBox::positionAtPoint(const QPoint& point) const
{
    return rect().contains(point) ? positionAt(point) : -1;
}

int TextBox::caretInLayout() const
{
    return static_cast<int>(m_line.caret() - m_first) + (m_preedit.isEmpty() ? 0 : m_preeditCaret);
}

QRect TextBox::caretRect() const
{
    const QPointF origin = textOrigin();
    const qreal x = visibleLayout()->lineAt(0).cursorToX(caretInLayout());
    return QRect(qRound(origin.x() + x), qRound(origin.y()), 1, QFontMetrics(font()).height());
}

void TextBox::initStyleOption(QStyleOptionFrame* option) const
{
    option->initFrom(this);
    option->rect = contentsRect();
    option->lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, option, this);
    option->midLineWidth = 0;
    option->state |= QStyle::State_Sunken;
    option->features = QStyleOptionFrame::None;
}

void TextBox::restartBlink()
{
    m_caretShown = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        m_blink.start(flash / 2, this);
    else
        m_blink.stop();
}

QSize TextBox::sizeHint() const
{
    const QFontMetrics metrics(font());
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QSize text(metrics.horizontalAdvance(u'x') * 17 + 2 * kHorizontalMargin,
                     metrics.height() + 2 * kVerticalMargin);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, this);
}

QMenu* TextBox::createStandardContextMenu()
{
    struct Entry {
        QString label;
        QKeySequence::StandardKey key;
        TextCommand command;
        bool enabled;
    };
    const bool selected = hasSelectedText();
    const std::array entries{
        Entry{tr("&Undo"), QKeySequence::Undo, TextCommand::Undo, m_line.canUndo()},
        Entry{tr("&Redo"), QKeySequence::Redo, TextCommand::Redo, m_line.canRedo()},
        Entry{tr("Cu&t"), QKeySequence::Cut, TextCommand::Cut, selected},
        Entry{tr("&Copy"), QKeySequence::Copy, TextCommand::Copy, selected},
        // Asking the clipboard whether it holds text would wait on the program that holds it; a paste of
        // nothing changes nothing.
        Entry{tr("&Paste"), QKeySequence::Paste, TextCommand::Paste, true},
        Entry{tr("Delete"), QKeySequence::Delete, TextCommand::Delete, selected},
        Entry{tr("Select All"), QKeySequence::SelectAll, TextCommand::SelectAll,
              !text().isEmpty() && m_line.selectionEnd() - m_line.selectionStart() < text().size()}};
    auto* menu = new QMenu(this);
    for (const Entry& entry : entries) {
        if (entry.command == TextCommand::Cut || entry.command == TextCommand::SelectAll)
            menu->addSeparator();
        const QString keys = QKeySequence(entry.key).toString(QKeySequence::NativeText);
        QAction* action = menu->addAction(keys.isEmpty() ? entry.label : entry.label + u'\t' + keys);
        action->setEnabled(entry.enabled);
        connect(action, &QAction::triggered, this, [this, command = entry.command] { run(command); });
    }
    return menu;
}

// Events

bool TextBox::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride &&
        handleKey(static_cast<const QKeyEvent&>(*event), KeyUse::Check)) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void TextBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    QStyleOptionFrame frame;
    initStyleOption(&frame);
    m_frame.draw(painter, event->rect(), frame, *this);
    painter.setClipRect(textArea());
    painter.setPen(palette().color(QPalette::Text));
    const auto layout = visibleLayout();
    const QPointF origin = textOrigin();
    QList<QTextLayout::FormatRange> selection;
    const qsizetype start = std::max(m_line.selectionStart(), m_first);
    const qsizetype end = std::min(m_line.selectionEnd(), m_first + layout->text().size());
    if (start < end) {
        QTextCharFormat format;
        format.setBackground(palette().brush(QPalette::Highlight));
        format.setForeground(palette().brush(QPalette::HighlightedText));
        selection.append({static_cast<int>(start - m_first), static_cast<int>(end - start), format});
    }
    layout->draw(&painter, origin, selection);
    if (hasFocus() && m_caretShown)
        layout->drawCursor(&painter, origin, caretInLayout(),
                           style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    const qsizetype anchor = m_line.anchor();
    const qsizetype caret = m_line.caret();
    if (!handleKey(*event, KeyUse::Act)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (m_line.anchor() != anchor || m_line.caret() != caret)
        offerSelection();
}

void TextBox::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->replacementLength() > 0) {
        const qsizetype start =
            std::clamp<qsizetype>(m_line.caret() + event->replacementStart(), 0, text().size());
        setSelection(start, event->replacementLength());
    }
    if (!event->commitString().isEmpty() || event->replacementLength() > 0)
        insert(event->commitString());
    m_preedit = event->preeditString();
    m_preeditCaret = static_cast<int>(m_preedit.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor)
            m_preeditCaret = attribute.start;
    }
    changed();
    event->accept();
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // An input method sees a window of the text around the caret, never the whole of a long text.
    const qsizetype start = std::max<qsizetype>(0, m_line.caret() - kSurrounding);
    const qsizetype end = std::min(text().size(), m_line.caret() + kSurrounding);
    const qsizetype anchor = std::clamp(m_line.anchor(), start, end);
    switch (query) {
    case Qt::ImEnabled:
        return isEnabled();
    case Qt::ImCursorRectangle:
        return caretRect();
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return static_cast<int>(m_line.caret() - start);
    case Qt::ImAnchorPosition:
        return static_cast<int>(anchor - start);
    case Qt::ImSurroundingText:
        return text().mid(start, end - start);
    case Qt::ImTextBeforeCursor:
        return text().mid(start, m_line.caret() - start);
    case Qt::ImTextAfterCursor:
        return text().mid(m_line.caret(), end - m_line.caret());
    case Qt::ImCurrentSelection:
        return text().mid(std::min(anchor, m_line.caret()), std::abs(anchor - m_line.caret()));
    case Qt::ImHints:
        return static_cast<int>(inputMethodHints());
    default:
        return QWidget::inputMethodQuery(query);
    }
}

void TextBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        return;
    const bool tripleClick =
        m_sinceDoubleClick.isValid() &&
        m_sinceDoubleClick.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval() &&
        (event->position().toPoint() - m_doubleClickAt).manhattanLength() <
            QGuiApplication::styleHints()->startDragDistance();
    m_sinceDoubleClick.invalidate();
    if (tripleClick && event->button() == Qt::LeftButton) {
        selectAll();
        return;
    }
    moveCaret(positionAt(event->position()), event->modifiers() & Qt::ShiftModifier);
    m_dragging = event->button() == Qt::LeftButton;
}

void TextBox::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        moveCaret(positionAt(event->position()), true);
}

void TextBox::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    if (event->button() == Qt::LeftButton)
        offerSelection();
    else if (event->button() == Qt::MiddleButton && clipboard()->supportsSelection())
        pasteFrom(QClipboard::Selection);
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    m_line.selectWordAt(positionAt(event->position()));
    changed();
    m_sinceDoubleClick.start();
    m_doubleClickAt = event->position().toPoint();
}

void TextBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TextBox::openMenuAtCaret()
{
    const QPoint at = caretRect().bottomLeft();
    QContextMenuEvent asked(QContextMenuEvent::Keyboard, at, mapToGlobal(at));
    contextMenuEvent(&asked);
}

void TextBox::focusInEvent(QFocusEvent* event)
{
    // Tabbing into a line edit selects its text, so that typing replaces it.
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
         reason == Qt::ShortcutFocusReason) &&
        !hasSelectedText())
        selectAll();
    restartBlink();
    QWidget::focusInEvent(event);
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        m_line.deselect();
        ++m_changes;
    }
    m_toldCaret.tell(this, m_line);
    m_blink.stop();
    QWidget::focusOutEvent(event);
}

void TextBox::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_blink.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_caretShown = !m_caretShown;
    update(caretRect().adjusted(-1, 0, 1, 0));
}

void TextBox::resizeEvent(QResizeEvent*)
{
    scrollToCaret();
}

void TextBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        scrollToCaret();
    QWidget::changeEvent(event);
}

} // namespace rovanta
