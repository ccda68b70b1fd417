#pragma once

#include "panel/textbox/frame_picture.h"
#include "panel/textbox/line_text.h"
#include "panel/platform/paste_reader.h"
#include "panel/textbox/text_notices.h"
#include "panel/textbox/text_box_keys.h"

#include <QBasicTimer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

class QFontMetricsF;
class QMenu;
class QStyleOptionFrame;
class QTextLayout;

namespace rovanta {

// A one-line editable text box whose every edit and every paint costs the same however long its text
// grows: the message and the output run to a million letters, and the operator still expects each key
// answered at once. Only the characters that can be on screen are ever measured or laid out; the box
// keeps the index of the first of them and scrolls it to keep the caret in view.
class TextBox : public QWidget {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);
    ~TextBox() override;

    // The text, caret, selection and undo steps, as a screen reader or a test reads them.
    const LineText& line() const { return m_line; }
    const QString& text() const { return m_line.text(); }
    // The program's own changes: no undo step, no textEdited.
    void setText(const QString& text);
    void append(QStringView tail);

    // Edits as the operator makes them: undo steps, textEdited.
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

    // The first character on screen, and one past the last.
    qsizetype firstVisible() const { return m_first; }
    qsizetype visibleEnd() const;
    // Where a character stands in the box, empty while it is scrolled out of view, and the position
    // nearest to a point of the box, -1 outside it.
    QRect characterRect(qsizetype position) const;
    qsizetype positionAtPoint(const QPoint& point) const;

    QMenu* createStandardContextMenu();
    QSize sizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // The operator's edit, as it changed the text.
    void textEdited(const rovanta::Change& change);

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

    void showChange(const Change& change);
    void edited(const Change& change);
    void moveCaret(qsizetype position, bool mark);
    void run(TextCommand command, const QString& typed = QString());
    void copy() const;
    void pasteFrom(QClipboard::Mode mode);
    void offerSelection() const;
    void openMenuAtCaret();
    bool handleKey(const QKeyEvent& event, KeyUse use);

    // What is on screen.
    void changed();
    void scrollToCaret();
    qsizetype firstToFit(qsizetype end) const;
    qsizetype scanLimit() const;
    qreal advance(const QFontMetricsF& metrics, qsizetype position) const;
    QRect textArea() const;
    QPointF textOrigin() const;
    std::unique_ptr<QTextLayout> visibleLayout() const;
    qsizetype positionAt(const QPointF& point) const;
    QRect caretRect() const;
    int caretInLayout() const;
    void initStyleOption(QStyleOptionFrame* option) const;
    void restartBlink();

    LineText m_line;
    qsizetype m_first = 0;
    QString m_preedit;
    int m_preeditCaret = 0;
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
