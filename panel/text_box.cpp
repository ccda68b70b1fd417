#include "panel/text_box.h"

#include "panel/text_box_accessible.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <array>
#include <utility>

namespace rovanta {

namespace {

// The margins a line edit keeps between its frame and its text.
constexpr int kHorizontalMargin = 2;
constexpr int kVerticalMargin = 1;
constexpr std::size_t kUndoLimit = 100;
// How much text around the caret an input method is shown.
constexpr qsizetype kSurrounding = 512;
// Below the combining marks every character is a grapheme cluster of its own, CR LF aside.
constexpr char16_t kFirstCombining = 0x0300;
// How far either side of a position the edges of its grapheme cluster are looked for.
constexpr qsizetype kClusterReach = 32;

enum class CharClass { Space, Word, Other };

CharClass classOf(QChar character)
{
    if (character.isSpace())
        return CharClass::Space;
    if (character.isLetterOrNumber() || character.isMark() || character.isSurrogate() || character == u'_')
        return CharClass::Word;
    return CharClass::Other;
}

// Typed text, as a line edit accepts it: Ctrl with a key gives no text, AltGr (Ctrl+Alt) does.
bool isTextInput(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    if (first.category() == QChar::Other_Format)
        return true;
    if ((event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::ControlModifier)
        return false;
    return first.isPrint() || first.category() == QChar::Other_PrivateUse ||
           (first.isHighSurrogate() && text.size() > 1 && text[1].isLowSurrogate());
}

bool isBackspace(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Backspace &&
           !(event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
}

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
    installTextBoxAccessibility();
}

TextBox::~TextBox() = default;

void TextBox::setText(const QString& text)
{
    const bool differs = text != m_text;
    const QString before = differs && QAccessible::isActive() ? m_text : QString();
    m_text = text;
    m_undo.clear();
    m_redo.clear();
    m_first = 0;
    m_caret = m_anchor = m_text.size();
    if (differs && QAccessible::isActive())
        announceText(0, before, m_text);
    changed();
    if (differs)
        emit textChanged(m_text);
}

void TextBox::append(QStringView tail)
{
    if (tail.isEmpty())
        return;
    const qsizetype position = m_text.size();
    m_text.append(tail);
    m_caret = m_anchor = m_text.size();
    if (QAccessible::isActive())
        announceText(position, QString(), tail.toString());
    changed();
    emit textChanged(m_text);
}

void TextBox::clear()
{
    setText(QString());
}

void TextBox::insert(const QString& text)
{
    edit(selectionStart(), selectionEnd(), text, Merge::Typing);
}

void TextBox::backspace()
{
    erase(previousPosition(m_caret));
}

void TextBox::del()
{
    erase(nextPosition(m_caret));
}

void TextBox::cut()
{
    if (!hasSelectedText())
        return;
    copy();
    del();
}

void TextBox::paste()
{
    pasteFrom(QClipboard::Clipboard);
}

void TextBox::undo()
{
    replay(m_undo, m_redo);
}

void TextBox::redo()
{
    replay(m_redo, m_undo);
}

void TextBox::copy() const
{
    if (hasSelectedText())
        clipboard()->setText(selectedText());
}

void TextBox::setCursorPosition(qsizetype position)
{
    moveCaret(std::clamp<qsizetype>(position, 0, m_text.size()), false);
}

void TextBox::setSelection(qsizetype start, qsizetype length)
{
    m_anchor = std::clamp<qsizetype>(start, 0, m_text.size());
    m_caret = std::clamp<qsizetype>(start + length, 0, m_text.size());
    changed();
}

QString TextBox::selectedText() const
{
    return m_text.mid(selectionStart(), selectionEnd() - selectionStart());
}

void TextBox::selectAll()
{
    setSelection(0, m_text.size());
}

void TextBox::end(bool mark)
{
    moveCaret(m_text.size(), mark);
}

// Characters

// Steps go by grapheme clusters, the characters a reader sees: a letter with its accent, a surrogate pair,
// a flag are each one step.
qsizetype TextBox::nextPosition(qsizetype position) const
{
    if (position >= m_text.size())
        return m_text.size();
    return isPlainBoundary(position + 1) ? position + 1 : clusterBoundary(position, true);
}

qsizetype TextBox::previousPosition(qsizetype position) const
{
    if (position <= 0)
        return 0;
    return isPlainBoundary(position - 1) ? position - 1 : clusterBoundary(position, false);
}

// The cheap test that settles every step through the machine's capitals: characters below the combining
// marks stand alone, so only the rest needs a boundary finder.
bool TextBox::isPlainBoundary(qsizetype position) const
{
    if (position <= 0 || position >= m_text.size())
        return true;
    const char16_t before = m_text[position - 1].unicode();
    const char16_t after = m_text[position].unicode();
    return before < kFirstCombining && after < kFirstCombining && !(before == u'\r' && after == u'\n');
}

// The next or previous cluster edge, found within a window around the position so that a step costs the
// same at any length of text. A cluster longer than the window is crossed a window at a time, never
// splitting a surrogate pair.
qsizetype TextBox::clusterBoundary(qsizetype position, bool forward) const
{
    const qsizetype from = std::max<qsizetype>(0, position - kClusterReach);
    const qsizetype to = std::min(m_text.size(), position + kClusterReach);
    std::array<unsigned char, 2 * kClusterReach + 1> attributes{};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, QStringView(m_text).sliced(from, to - from),
                               attributes.data(), static_cast<qsizetype>(attributes.size()));
    finder.setPosition(position - from);
    const qsizetype found = forward ? finder.toNextBoundary() : finder.toPreviousBoundary();
    qsizetype edge = found < 0 ? (forward ? to : from) : from + found;
    if (edge > 0 && edge < m_text.size() && m_text[edge].isLowSurrogate() &&
        m_text[edge - 1].isHighSurrogate())
        edge += forward ? 1 : -1;
    return edge;
}

// The start of the run of characters of one class that ends at `position`.
qsizetype TextBox::wordStart(qsizetype position) const
{
    if (position == 0)
        return 0;
    const CharClass run = classOf(m_text[position - 1]);
    while (position > 0 && classOf(m_text[position - 1]) == run)
        --position;
    return position;
}

// The end of the run of characters of one class that starts at `position`.
qsizetype TextBox::wordEnd(qsizetype position) const
{
    if (position == m_text.size())
        return position;
    const CharClass run = classOf(m_text[position]);
    while (position < m_text.size() && classOf(m_text[position]) == run)
        ++position;
    return position;
}

qsizetype TextBox::target(Step step, bool mark) const
{
    // A plain Left or Right first collapses a selection to its edge.
    const bool collapse = !mark && hasSelectedText();
    qsizetype position = m_caret;
    switch (step) {
    case Step::PreviousChar:
        return collapse ? selectionStart() : previousPosition(m_caret);
    case Step::NextChar:
        return collapse ? selectionEnd() : nextPosition(m_caret);
    case Step::PreviousWord:
        while (position > 0 && m_text[position - 1].isSpace())
            --position;
        return wordStart(position);
    case Step::NextWord:
        position = wordEnd(position);
        while (position < m_text.size() && m_text[position].isSpace())
            ++position;
        return position;
    case Step::Start:
        return 0;
    case Step::End:
        return m_text.size();
    }
    return m_caret;
}

// Edits

void TextBox::edit(qsizetype start, qsizetype end, const QString& with, Merge merge)
{
    record(start, end, with, merge);
    replace(start, end, with);
    emit textEdited(m_text);
}

// Removes the selection, or else the character between the caret and `other`.
void TextBox::erase(qsizetype other)
{
    if (hasSelectedText())
        edit(selectionStart(), selectionEnd(), QString(), Merge::Separate);
    else if (other != m_caret)
        edit(std::min(other, m_caret), std::max(other, m_caret), QString(), Merge::Separate);
}

void TextBox::record(qsizetype start, qsizetype end, const QString& with, Merge merge)
{
    m_redo.clear();
    // Typing on from where the last typing stopped adds to that step.
    if (merge == Merge::Typing && start == end && !m_undo.empty()) {
        Edit& last = m_undo.back();
        if (last.merge == Merge::Typing && last.position + last.inserted.size() == start) {
            last.inserted += with;
            return;
        }
    }
    m_undo.push_back({start, m_text.mid(start, end - start), with, merge});
    if (m_undo.size() > kUndoLimit)
        m_undo.erase(m_undo.begin());
}

// Takes back the last step of `from` and keeps its inverse on `to`: undo and redo are one movement.
void TextBox::replay(std::vector<Edit>& from, std::vector<Edit>& to)
{
    if (from.empty())
        return;
    Edit step = std::move(from.back());
    from.pop_back();
    replace(step.position, step.position + step.inserted.size(), step.removed);
    std::swap(step.removed, step.inserted);
    step.merge = Merge::Separate;
    to.push_back(std::move(step));
    emit textEdited(m_text);
}

// The one place the text changes: [start, end) gives way to `with`, and the caret stands after it.
void TextBox::replace(qsizetype start, qsizetype end, QStringView with)
{
    const bool heard = QAccessible::isActive();
    const QString removed = heard ? m_text.mid(start, end - start) : QString();
    if (start == m_text.size())
        m_text.append(with);
    else
        m_text.replace(start, end - start, with.data(), with.size());
    m_caret = m_anchor = start + with.size();
    m_first = std::min(m_first, start);
    if (heard)
        announceText(start, removed, with.toString());
    changed();
    emit textChanged(m_text);
}

void TextBox::moveCaret(qsizetype position, bool mark)
{
    m_caret = position;
    if (!mark)
        m_anchor = position;
    // Typing elsewhere is another undo step.
    if (!m_undo.empty())
        m_undo.back().merge = Merge::Separate;
    changed();
}

void TextBox::selectWordAt(qsizetype position)
{
    if (m_text.isEmpty())
        return;
    position = std::min(position, m_text.size() - 1);
    m_anchor = wordStart(position + 1);
    m_caret = wordEnd(position);
    changed();
}

void TextBox::run(Command command)
{
    switch (command) {
    case Command::Undo:
        return undo();
    case Command::Redo:
        return redo();
    case Command::Cut:
        return cut();
    case Command::Copy:
        return copy();
    case Command::Paste:
        return paste();
    case Command::Delete:
        return del();
    case Command::DeleteWordBefore:
        moveCaret(target(Step::PreviousWord, true), true);
        return del();
    case Command::DeleteWordAfter:
        moveCaret(target(Step::NextWord, true), true);
        return del();
    case Command::SelectAll:
        return selectAll();
    }
}

void TextBox::pasteFrom(QClipboard::Mode mode)
{
    const QString pasted = clipboard()->text(mode);
    if (!pasted.isEmpty() || hasSelectedText())
        edit(selectionStart(), selectionEnd(), pasted, Merge::Separate);
}

// On X a selection is offered to other programs as the primary selection as soon as it is made.
void TextBox::offerSelection() const
{
    if (hasSelectedText() && clipboard()->supportsSelection())
        clipboard()->setText(selectedText(), QClipboard::Selection);
}

// The keys of a line edit, matched through the platform's key bindings. With KeyUse::Check it only tells
// whether the key is the box's, so that no shortcut takes it away.
bool TextBox::handleKey(const QKeyEvent& event, KeyUse use)
{
    struct Motion {
        QKeySequence::StandardKey key;
        Step step;
        bool mark;
    };
    static constexpr std::array kMotions{Motion{QKeySequence::MoveToPreviousChar, Step::PreviousChar, false},
                                         Motion{QKeySequence::SelectPreviousChar, Step::PreviousChar, true},
                                         Motion{QKeySequence::MoveToNextChar, Step::NextChar, false},
                                         Motion{QKeySequence::SelectNextChar, Step::NextChar, true},
                                         Motion{QKeySequence::MoveToPreviousWord, Step::PreviousWord, false},
                                         Motion{QKeySequence::SelectPreviousWord, Step::PreviousWord, true},
                                         Motion{QKeySequence::MoveToNextWord, Step::NextWord, false},
                                         Motion{QKeySequence::SelectNextWord, Step::NextWord, true},
                                         Motion{QKeySequence::MoveToStartOfLine, Step::Start, false},
                                         Motion{QKeySequence::SelectStartOfLine, Step::Start, true},
                                         Motion{QKeySequence::MoveToStartOfDocument, Step::Start, false},
                                         Motion{QKeySequence::SelectStartOfDocument, Step::Start, true},
                                         Motion{QKeySequence::MoveToEndOfLine, Step::End, false},
                                         Motion{QKeySequence::SelectEndOfLine, Step::End, true},
                                         Motion{QKeySequence::MoveToEndOfDocument, Step::End, false},
                                         Motion{QKeySequence::SelectEndOfDocument, Step::End, true}};
    static constexpr std::array kCommands{
        std::pair{QKeySequence::Undo, Command::Undo},
        std::pair{QKeySequence::Redo, Command::Redo},
        std::pair{QKeySequence::Cut, Command::Cut},
        std::pair{QKeySequence::Copy, Command::Copy},
        std::pair{QKeySequence::Paste, Command::Paste},
        std::pair{QKeySequence::Delete, Command::Delete},
        std::pair{QKeySequence::DeleteStartOfWord, Command::DeleteWordBefore},
        std::pair{QKeySequence::DeleteEndOfWord, Command::DeleteWordAfter},
        std::pair{QKeySequence::SelectAll, Command::SelectAll}};
    const bool act = use == KeyUse::Act;
    for (const Motion& motion : kMotions) {
        if (event.matches(motion.key)) {
            if (act)
                moveCaret(target(motion.step, motion.mark), motion.mark);
            return true;
        }
    }
    for (const auto& [key, command] : kCommands) {
        if (event.matches(key)) {
            if (act)
                run(command);
            return true;
        }
    }
    if (isBackspace(event)) {
        if (act)
            backspace();
        return true;
    }
    if (isTextInput(event)) {
        if (act)
            insert(event.text());
        return true;
    }
    return false;
}

// What a screen reader hears: only the part that changed, and only while one listens.

void TextBox::announceText(qsizetype position, const QString& removed, const QString& inserted)
{
    if (!removed.isEmpty()) {
        QAccessibleTextRemoveEvent event(this, static_cast<int>(position), removed);
        QAccessible::updateAccessibility(&event);
    }
    if (!inserted.isEmpty()) {
        QAccessibleTextInsertEvent event(this, static_cast<int>(position), inserted);
        QAccessible::updateAccessibility(&event);
    }
}

void TextBox::announceCaret()
{
    // No selection is told as -1 to -1, whatever the caret.
    const auto selection = [](qsizetype anchor, qsizetype caret) {
        return anchor == caret ? std::pair<qsizetype, qsizetype>(-1, -1)
                               : std::pair(std::min(anchor, caret), std::max(anchor, caret));
    };
    const bool moved = m_caret != m_announcedCaret;
    const auto selected = selection(m_anchor, m_caret);
    const bool reselected = selected != selection(m_announcedAnchor, m_announcedCaret);
    m_announcedCaret = m_caret;
    m_announcedAnchor = m_anchor;
    if (!QAccessible::isActive())
        return;
    if (reselected) {
        QAccessibleTextSelectionEvent event(this, static_cast<int>(selected.first),
                                            static_cast<int>(selected.second));
        event.setCursorPosition(static_cast<int>(m_caret));
        QAccessible::updateAccessibility(&event);
    }
    if (moved) {
        QAccessibleTextCursorEvent event(this, static_cast<int>(m_caret));
        QAccessible::updateAccessibility(&event);
    }
}

// What is on screen

void TextBox::changed()
{
    announceCaret();
    scrollToCaret();
    restartBlink();
    update();
    updateMicroFocus(Qt::ImQueryInput);
}

// Scrolls as little as keeps the caret in view, and leaves no empty room on the right while text is
// hidden on the left. Each step measures at most a box's width of characters.
void TextBox::scrollToCaret()
{
    m_first = std::min(m_first, m_caret);
    m_first = std::max(m_first, firstToFit(m_caret));
    m_first = std::min(m_first, firstToFit(m_text.size()));
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
        const qsizetype previous = previousPosition(first);
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
    for (qsizetype scanned = 0; end < m_text.size() && used <= room && scanned < limit; ++scanned) {
        used += advance(metrics, end);
        end = nextPosition(end);
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
    const qsizetype length = nextPosition(position) - position;
    if (length != 1)
        return metrics.horizontalAdvance(m_text.mid(position, length));
    const QChar character = m_text[position];
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
    auto layout = std::make_unique<QTextLayout>(shown(m_text.mid(m_first, end - m_first)), font());
    if (!m_preedit.isEmpty() && m_caret >= m_first && m_caret <= end)
        layout->setPreeditArea(static_cast<int>(m_caret - m_first), m_preedit);
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
        return previousPosition(m_first);
    const qsizetype offset = visibleLayout()->lineAt(0).xToCursor(x);
    return std::min(m_first + offset, m_text.size());
}

QRect TextBox::characterRect(qsizetype position) const
{
    if (position < m_first || position >= visibleEnd())
        return {};
    const auto layout = visibleLayout();
    const QTextLine line = layout->lineAt(0);
    const qreal left = line.cursorToX(static_cast<int>(position - m_first));
    const qreal right = line.cursorToX(static_cast<int>(nextPosition(position) - m_first));
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
    return static_cast<int>(m_caret - m_first) + (m_preedit.isEmpty() ? 0 : m_preeditCaret);
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
        Command command;
        bool enabled;
    };
    const bool selected = hasSelectedText();
    const QMimeData* pasted = clipboard()->mimeData();
    const std::array entries{
        Entry{tr("&Undo"), QKeySequence::Undo, Command::Undo, isUndoAvailable()},
        Entry{tr("&Redo"), QKeySequence::Redo, Command::Redo, isRedoAvailable()},
        Entry{tr("Cu&t"), QKeySequence::Cut, Command::Cut, selected},
        Entry{tr("&Copy"), QKeySequence::Copy, Command::Copy, selected},
        Entry{tr("&Paste"), QKeySequence::Paste, Command::Paste, pasted && pasted->hasText()},
        Entry{tr("Delete"), QKeySequence::Delete, Command::Delete, selected},
        Entry{tr("Select All"), QKeySequence::SelectAll, Command::SelectAll,
              !m_text.isEmpty() && selectionEnd() - selectionStart() < m_text.size()}};
    auto* menu = new QMenu(this);
    for (const Entry& entry : entries) {
        if (entry.command == Command::Cut || entry.command == Command::SelectAll)
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
    drawFrame(painter, event->rect());
    painter.setClipRect(textArea());
    painter.setPen(palette().color(QPalette::Text));
    const auto layout = visibleLayout();
    const QPointF origin = textOrigin();
    QList<QTextLayout::FormatRange> selection;
    const qsizetype start = std::max(selectionStart(), m_first);
    const qsizetype end = std::min(selectionEnd(), m_first + layout->text().size());
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

// Drawing the frame through the style costs about twice as much as copying it from a picture, and a typed
// letter repaints both boxes. So the frame is drawn once into a picture and copied from it, as far as the
// paint reaches, until the box's size, state, palette or style changes.
void TextBox::drawFrame(QPainter& painter, const QRect& reach)
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const FrameKey key{panel.rect, panel.state, panel.palette.cacheKey(), devicePixelRatio(), style()};
    if (key != m_frameKey || m_frame.isNull()) {
        m_frame = QPixmap(panel.rect.size() * key.pixelRatio);
        m_frame.setDevicePixelRatio(key.pixelRatio);
        m_frame.fill(Qt::transparent);
        QPainter framePainter(&m_frame);
        framePainter.translate(-panel.rect.topLeft());
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &framePainter, this);
        m_frameKey = key;
    }
    const QRect target = reach & panel.rect;
    const QRectF source(QPointF(target.topLeft() - panel.rect.topLeft()) * key.pixelRatio,
                        QSizeF(target.size()) * key.pixelRatio);
    painter.drawPixmap(QRectF(target), m_frame, source);
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    const qsizetype anchor = m_anchor;
    const qsizetype caret = m_caret;
    if (!handleKey(*event, KeyUse::Act)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (m_anchor != anchor || m_caret != caret)
        offerSelection();
}

void TextBox::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->replacementLength() > 0) {
        const qsizetype start = std::clamp<qsizetype>(m_caret + event->replacementStart(), 0, m_text.size());
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
    const qsizetype start = std::max<qsizetype>(0, m_caret - kSurrounding);
    const qsizetype end = std::min(m_text.size(), m_caret + kSurrounding);
    const qsizetype anchor = std::clamp(m_anchor, start, end);
    switch (query) {
    case Qt::ImEnabled:
        return isEnabled();
    case Qt::ImCursorRectangle:
        return caretRect();
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return static_cast<int>(m_caret - start);
    case Qt::ImAnchorPosition:
        return static_cast<int>(anchor - start);
    case Qt::ImSurroundingText:
        return m_text.mid(start, end - start);
    case Qt::ImTextBeforeCursor:
        return m_text.mid(start, m_caret - start);
    case Qt::ImTextAfterCursor:
        return m_text.mid(m_caret, end - m_caret);
    case Qt::ImCurrentSelection:
        return m_text.mid(std::min(anchor, m_caret), std::abs(anchor - m_caret));
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
    selectWordAt(positionAt(event->position()));
    m_sinceDoubleClick.start();
    m_doubleClickAt = event->position().toPoint();
}

void TextBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
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
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        m_anchor = m_caret;
    announceCaret();
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
