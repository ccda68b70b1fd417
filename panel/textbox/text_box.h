#pragma once

#include "panel/platform/paste_reader.h"
#include "panel/textbox/frame_picture.h"
#include "panel/textbox/line_text.h"
#include "panel/textbox/line_view.h"
#include "panel/textbox/text_box_keys.h"
#include "panel/textbox/text_notices.h"

#include <QBasicTimer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>

class QMenu;
class QStyleOptionFrame;

namespace rovanta {

// A one-line editable text box whose every edit and every paint costs the same however long its text
// grows: the text is a LineText, and what of it is on screen a LineView, which measures and lays out only
// the characters that can be seen.
class TextBox : public QWidget {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr, KeyMap keys = KeyMap::Platform);
    ~TextBox() override;

    // The text, caret, selection and undo steps, as a screen reader or a test reads them.
    const LineText& line() const { return m_line; }
    const QString& text() const { return m_line.text(); }
    // What of the text is on screen.
    const LineView& view() const { return m_view; }

    // The program's own changes: no undo step, no operatorEdited.
    void setText(const QString& text);
    void append(QStringView tail);

    // Edits as the operator makes them: undo steps, operatorEdited.
    void insert(const QString& text);
    void backspace();
    // [start, end) gives way to `with` as one undo step of its own, as a paste does.
    void edit(qsizetype start, qsizetype end, const QString& with);

    qsizetype cursorPosition() const { return m_line.caret(); }
    void setCursorPosition(qsizetype position);
    void setSelection(qsizetype start, qsizetype length);
    bool hasSelectedText() const { return m_line.hasSelection(); }
    QString selectedText() const { return m_line.selectedText(); }
    void selectAll();

    // Where a character stands in the box, empty while it is scrolled out of view, and the position
    // nearest to a point of the box, -1 outside it.
    QRect characterRect(qsizetype position) const { return m_view.characterRect(position); }
    qsizetype positionAtPoint(const QPoint& point) const;

    // The box's menu of commands, each with the key that does it in this box.
    QMenu* commandMenu();
    QSize sizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // The operator's edit, as it changed the text.
    void operatorEdited(const rovanta::Change& change);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class KeyUse { Check, Act };

    // What follows a change, from the narrowest to the widest: an edit of the operator's, any change of
    // the text, any change of the text, caret, selection or pre-edit.
    void afterOperatorEdit(const Change& change);
    void afterTextChange(const Change& change);
    void afterChange();

    void moveCaret(qsizetype position, bool mark);
    bool handleKey(const QKeyEvent& event, KeyUse use);
    void run(TextCommand command, const QString& typed = QString());
    bool canRun(TextCommand command) const;
    void copy() const;
    void pasteFrom(QClipboard::Mode mode);
    void offerSelection() const;
    void openMenuAtCaret();

    void placeView();
    QRect textArea() const;
    void initStyleOption(QStyleOptionFrame* option) const;
    void restartBlink();

    LineText m_line;
    LineView m_view{m_line};
    KeyMap m_keys;
    QBasicTimer m_blink;
    bool m_caretShown = true;
    bool m_dragging = false;
    // A press soon after a double click, near it, selects the whole text.
    QElapsedTimer m_sinceDoubleClick;
    QPoint m_doubleClickAt;
    CaretNotice m_toldCaret;
    FramePicture m_frame;
    PasteReader m_paste;
    // Counts every change of the text, caret, selection or pre-edit, so that a late paste knows whether
    // the box is still as it was asked on.
    std::uint64_t m_changes = 0;
};

} // namespace rovanta
