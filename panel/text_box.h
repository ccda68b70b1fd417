#pragma once

#include <QBasicTimer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <vector>

class QFontMetricsF;
class QMenu;
class QPainter;
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

    QString text() const { return m_text; }
    // The program's own changes: no undo step, no textEdited.
    void setText(const QString& text);
    void append(QStringView tail);
    void clear();

    // Edits as the operator makes them: undo steps, textEdited.
    void insert(const QString& text);
    void backspace();
    void del();
    void cut();
    void paste();
    void undo();
    void redo();

    void copy() const;
    qsizetype cursorPosition() const { return m_caret; }
    void setCursorPosition(qsizetype position);
    void setSelection(qsizetype start, qsizetype length);
    bool hasSelectedText() const { return m_anchor != m_caret; }
    QString selectedText() const;
    void selectAll();
    void end(bool mark);
    bool isUndoAvailable() const { return !m_undo.empty(); }
    bool isRedoAvailable() const { return !m_redo.empty(); }

    // The first character on screen, and one past the last.
    qsizetype firstVisible() const { return m_first; }
    qsizetype visibleEnd() const;

    QMenu* createStandardContextMenu();
    QSize sizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void textEdited(const QString& text);
    void textChanged(const QString& text);

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
    // A screen reader reads the text, and edits it as the operator does.
    friend class TextBoxAccessible;

    enum class Step { PreviousChar, NextChar, PreviousWord, NextWord, Start, End };
    enum class Command { Undo, Redo, Cut, Copy, Paste, Delete, DeleteWordBefore, DeleteWordAfter, SelectAll };
    enum class Merge { Typing, Separate };
    enum class KeyUse { Check, Act };

    // One operator edit, as undo sees it: at `position`, `removed` gave way to `inserted`.
    struct Edit {
        qsizetype position = 0;
        QString removed;
        QString inserted;
        Merge merge = Merge::Separate;
    };

    qsizetype selectionStart() const { return std::min(m_anchor, m_caret); }
    qsizetype selectionEnd() const { return std::max(m_anchor, m_caret); }
    qsizetype nextPosition(qsizetype position) const;
    qsizetype previousPosition(qsizetype position) const;
    qsizetype wordStart(qsizetype position) const;
    qsizetype wordEnd(qsizetype position) const;
    qsizetype target(Step step, bool mark) const;

    bool isPlainBoundary(qsizetype position) const;
    qsizetype clusterBoundary(qsizetype position, bool forward) const;

    void edit(qsizetype start, qsizetype end, const QString& with, Merge merge);
    void erase(qsizetype other);
    void record(qsizetype start, qsizetype end, const QString& with, Merge merge);
    void replay(std::vector<Edit>& from, std::vector<Edit>& to);
    void replace(qsizetype start, qsizetype end, QStringView with);
    void moveCaret(qsizetype position, bool mark);
    void selectWordAt(qsizetype position);
    void run(Command command);
    void pasteFrom(QClipboard::Mode mode);
    void offerSelection() const;
    bool handleKey(const QKeyEvent& event, KeyUse use);

    // What a screen reader hears.
    void announceText(qsizetype position, const QString& removed, const QString& inserted);
    void announceCaret();

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
    // For a screen reader: where a character stands, empty while it is scrolled out of view, and the
    // position nearest to a point of the box, -1 outside it.
    QRect characterRect(qsizetype position) const;
    qsizetype positionAtPoint(const QPoint& point) const;
    QRect caretRect() const;
    int caretInLayout() const;
    void initStyleOption(QStyleOptionFrame* option) const;
    void drawFrame(QPainter& painter, const QRect& reach);
    void restartBlink();

    // What the frame picture was drawn for.
    struct FrameKey {
        QRect rect;
        QStyle::State state;
        qint64 palette = 0;
        qreal pixelRatio = 0;
        const QStyle* style = nullptr;
        friend bool operator==(const FrameKey&, const FrameKey&) = default;
    };

    QString m_text;
    qsizetype m_caret = 0;
    qsizetype m_anchor = 0;
    qsizetype m_first = 0;
    QString m_preedit;
    int m_preeditCaret = 0;
    std::vector<Edit> m_undo;
    std::vector<Edit> m_redo;
    QBasicTimer m_blink;
    bool m_caretShown = true;
    bool m_dragging = false;
    // A press soon after a double click, near it, selects the whole text.
    QElapsedTimer m_sinceDoubleClick;
    QPoint m_doubleClickAt;
    // The caret and selection a screen reader was last told of.
    qsizetype m_announcedCaret = 0;
    qsizetype m_announcedAnchor = 0;
    QPixmap m_frame;
    FrameKey m_frameKey;
};

} // namespace rovanta
