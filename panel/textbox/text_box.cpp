#include "panel/textbox/text_box.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

namespace rovanta {

namespace {

// The margins a line edit keeps between its frame and its text.
constexpr int kHorizontalMargin = 2;
constexpr int kVerticalMargin = 1;
// How much text around the caret an input method is shown.
constexpr qsizetype kSurrounding = 512;

} // namespace

TextBox::TextBox(QWidget* parent, KeyMap keys) : QWidget(parent), m_keys(keys)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base);
    setAcceptDrops(false);
    placeView();
}

TextBox::~TextBox() = default;

void TextBox::afterChange()
{
    ++m_changes;
    m_toldCaret.tell(this, m_line);
    m_view.scrollToCaret();
    restartBlink();
    update();
    updateMicroFocus(Qt::ImQueryInput);
}

qsizetype TextBox::positionAtPoint(const QPoint& point) const
{
    return rect().contains(point) ? m_view.positionAt(point) : -1;
}

// The view measures with what it was last given, so each change of the box's size, font or style is
// passed on to it.
void TextBox::placeView()
{
    m_view.place(font(), textArea(), style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
}

QRect TextBox::textArea() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &option, this)
        .adjusted(kHorizontalMargin, kVerticalMargin, -kHorizontalMargin, -kVerticalMargin);
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
    m_view.draw(painter, palette(), hasFocus() && m_caretShown);
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
    const QString preedit = event->preeditString();
    int preeditCaret = static_cast<int>(preedit.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor)
            preeditCaret = attribute.start;
    }
    m_view.setPreedit(preedit, preeditCaret);
    afterChange();
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
        return m_view.caretRect();
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
    moveCaret(m_view.positionAt(event->position()), event->modifiers() & Qt::ShiftModifier);
    m_dragging = event->button() == Qt::LeftButton;
}

void TextBox::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        moveCaret(m_view.positionAt(event->position()), true);
}

void TextBox::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    if (event->button() == Qt::LeftButton)
        offerSelection();
    else if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection())
        pasteFrom(QClipboard::Selection);
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    m_line.selectWordAt(m_view.positionAt(event->position()));
    afterChange();
    m_sinceDoubleClick.start();
    m_doubleClickAt = event->position().toPoint();
}

void TextBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = commandMenu();
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
    update(m_view.caretRect().adjusted(-1, 0, 1, 0));
}

void TextBox::resizeEvent(QResizeEvent*)
{
    placeView();
}

void TextBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::ContentsRectChange)
        placeView();
    QWidget::changeEvent(event);
}

} // namespace rovanta
