// The one-line text box on its own: its keys, clipboard, mouse, menu, input methods, what it measures of a
// long text and what a screen reader hears and reads.
#include "panel/accessible/text_box_accessible.h"
#include "panel/textbox/message_input.h"
#include "panel/textbox/text_box.h"
#include "tests/panel/panel_test_support.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace rovanta;

namespace {

const QString kSmiley = QStringLiteral("😀");
// An e with its accent as a separate combining character: one character to a reader, two to the string.
const QString kAccented = QStringLiteral("e\u0301");
constexpr qsizetype kMillion = 1'000'000;

QString letters(qsizetype count)
{
    QString text(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i)
        text[i] = QChar(static_cast<char16_t>(u'A' + i % 26));
    return text;
}

QPoint caretPoint(const TextBox& box, qsizetype position)
{
    const qsizetype before = box.cursorPosition();
    const_cast<TextBox&>(box).setCursorPosition(position);
    const QRect caret = box.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const_cast<TextBox&>(box).setCursorPosition(before);
    return caret.center();
}

// A few steps, one word each: t:TEXT types, a:TEXT appends, s:TEXT sets the text, < is Shift+Left, B is
// Backspace and z undoes.
void play(TextBox& box, const QString& script)
{
    for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
        const QString argument = step.mid(2);
        if (step.startsWith(u"t:"))
            QTest::keyClicks(&box, argument);
        else if (step.startsWith(u"a:"))
            box.append(argument);
        else if (step.startsWith(u"s:"))
            box.setText(argument);
        else if (step == u"<")
            QTest::keyClick(&box, Qt::Key_Left, Qt::ShiftModifier);
        else if (step == u"B")
            QTest::keyClick(&box, Qt::Key_Backspace);
        else if (step == u"z")
            QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        else if (step == u"unfocus")
            box.clearFocus();
    }
}

// What a screen reader has been told, one line per event.
QStringList g_heard;

void hear(QAccessibleEvent* event)
{
    switch (event->type()) {
    case QAccessible::TextInserted: {
        const auto* inserted = static_cast<QAccessibleTextInsertEvent*>(event);
        g_heard
            << QStringLiteral("insert %1 %2").arg(inserted->changePosition()).arg(inserted->textInserted());
        break;
    }
    case QAccessible::TextRemoved: {
        const auto* removed = static_cast<QAccessibleTextRemoveEvent*>(event);
        g_heard << QStringLiteral("remove %1 %2").arg(removed->changePosition()).arg(removed->textRemoved());
        break;
    }
    case QAccessible::TextSelectionChanged: {
        const auto* selection = static_cast<QAccessibleTextSelectionEvent*>(event);
        g_heard << QStringLiteral("selection %1 %2")
                       .arg(selection->selectionStart())
                       .arg(selection->selectionEnd());
        break;
    }
    case QAccessible::TextCaretMoved:
        g_heard << QStringLiteral("caret %1")
                       .arg(static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition());
        break;
    default:
        break;
    }
}

} // namespace

class TextBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void keys_data();
    void keys();
    void tabMovesTheFocus();
    void clipboard_data();
    void clipboard();
    void mouse_data();
    void mouse();
    void contextMenu();
    void menuShowsTheKeyOfItsBox_data();
    void menuShowsTheKeyOfItsBox();
    void programChangesAreNoEdits();
    void onlyTheVisiblePartIsMeasured_data();
    void onlyTheVisiblePartIsMeasured();
    void inputMethod();
    void screenReaderHearsTheChange_data();
    void screenReaderHearsTheChange();
    void screenReaderReads_data();
    void screenReaderReads();

private:
    std::unique_ptr<TextBox> m_box;
};

void TextBoxTest::initTestCase()
{
    installTextBoxAccessibility();
}

void TextBoxTest::init()
{
    m_box = std::make_unique<TextBox>();
    m_box->resize(300, 30);
    m_box->show();
    m_box->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_box.get()));
}

void TextBoxTest::cleanup()
{
    m_box.reset();
}

void TextBoxTest::keys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caretAfter");
    QTest::addColumn<QString>("selected");
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    const QString pair = u'A' + kSmiley + u'B';
    QTest::newRow("Left") << "ABC" << 2 << 2 << int(Qt::Key_Left) << none << ""
                          << "ABC" << 1 << "";
    QTest::newRow("Right over a surrogate pair")
        << pair << 1 << 1 << int(Qt::Key_Right) << none << "" << pair << 3 << "";
    QTest::newRow("Shift+Left selects") << "ABC" << 3 << 3 << int(Qt::Key_Left) << shift << ""
                                        << "ABC" << 2 << "C";
    QTest::newRow("Home") << "ABC" << 2 << 2 << int(Qt::Key_Home) << none << ""
                          << "ABC" << 0 << "";
    QTest::newRow("Shift+Home") << "ABC" << 2 << 2 << int(Qt::Key_Home) << shift << ""
                                << "ABC" << 0 << "AB";
    QTest::newRow("End") << "ABC" << 1 << 1 << int(Qt::Key_End) << none << ""
                         << "ABC" << 3 << "";
    QTest::newRow("Ctrl+Right") << "one two" << 0 << 0 << int(Qt::Key_Right) << ctrl << ""
                                << "one two" << 4 << "";
    QTest::newRow("Ctrl+Left") << "one two" << 6 << 6 << int(Qt::Key_Left) << ctrl << ""
                               << "one two" << 4 << "";
    QTest::newRow("Ctrl+Shift+Right") << "one two" << 0 << 0 << int(Qt::Key_Right) << ctrl + shift << ""
                                      << "one two" << 4 << "one ";
    QTest::newRow("Backspace") << "ABC" << 2 << 2 << int(Qt::Key_Backspace) << none << ""
                               << "AC" << 1 << "";
    QTest::newRow("Delete") << "ABC" << 1 << 1 << int(Qt::Key_Delete) << none << ""
                            << "AC" << 1 << "";
    QTest::newRow("Ctrl+Backspace deletes the word")
        << "one two" << 7 << 7 << int(Qt::Key_Backspace) << ctrl << ""
        << "one " << 4 << "";
    QTest::newRow("a character beyond 16 bits")
        << "AB" << 1 << 1 << int(Qt::Key_unknown) << none << kSmiley << u'A' + kSmiley + u'B' << 3 << "";
    QTest::newRow("Ctrl+A selects all") << "ABC" << 1 << 1 << int(Qt::Key_A) << ctrl << "a"
                                        << "ABC" << 3 << "ABC";
    QTest::newRow("Ctrl with a letter types nothing") << "AB" << 2 << 2 << int(Qt::Key_B) << ctrl << "b"
                                                      << "AB" << 2 << "";
    QTest::newRow("Enter types nothing") << "AB" << 2 << 2 << int(Qt::Key_Return) << none << "\r"
                                         << "AB" << 2 << "";
}

void TextBoxTest::keys()
{
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, typed);
    m_box->setText(text);
    m_box->setSelection(anchor, caret - anchor);
    QTest::sendKeyEvent(QTest::Click, m_box.get(), Qt::Key(key), typed, Qt::KeyboardModifiers(modifiers));
    QTEST(m_box->text(), "after");
    QTEST(int(m_box->cursorPosition()), "caretAfter");
    QTEST(m_box->selectedText(), "selected");
}

void TextBoxTest::tabMovesTheFocus()
{
    QWidget form;
    auto* first = new TextBox(&form);
    auto* second = new TextBox(&form);
    second->setText(QStringLiteral("XY"));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    QVERIFY(second->hasFocus());
    QCOMPARE(first->text(), QString());
    // Entered by Tab, the box selects its text so that typing replaces it, as a line edit does.
    QCOMPARE(second->selectedText(), QStringLiteral("XY"));
}

void TextBoxTest::clipboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("clipboard");
    // From "ABCD" with "BC" selected and a clipboard of two lines.
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << ctrl << "ABCD"
                            << "BC";
    QTest::newRow("Ctrl+Insert") << int(Qt::Key_Insert) << ctrl << "ABCD"
                                 << "BC";
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << ctrl << "AD"
                            << "BC";
    QTest::newRow("Shift+Delete") << int(Qt::Key_Delete) << shift << "AD"
                                  << "BC";
    QTest::newRow("Ctrl+V keeps line breaks") << int(Qt::Key_V) << ctrl << "Axy\r\nz\nwD"
                                              << "xy\r\nz\nw";
    QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << shift << "Axy\r\nz\nwD"
                                  << "xy\r\nz\nw";
}

void TextBoxTest::clipboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QGuiApplication::clipboard()->setText(QStringLiteral("xy\r\nz\nw"));
    m_box->setText(QStringLiteral("ABCD"));
    m_box->setSelection(1, 2);
    QTest::keyClick(m_box.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTEST(m_box->text(), "after");
    QTEST(QGuiApplication::clipboard()->text(), "clipboard");
}

void TextBoxTest::mouse_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("selected");
    // On "one two three" with the caret at 1.
    QTest::newRow("click places the caret") << "click 6" << 6 << "";
    QTest::newRow("Shift+click extends") << "shift-click 6" << 6 << "ne tw";
    QTest::newRow("drag selects") << "drag 4 7" << 7 << "two";
    QTest::newRow("double click selects a word") << "double 5" << 7 << "two";
    QTest::newRow("triple click selects all") << "triple 5" << 13 << "one two three";
}

void TextBoxTest::mouse()
{
    QFETCH(QString, gesture);
    m_box->setText(QStringLiteral("one two three"));
    m_box->setCursorPosition(1);
    const QStringList words = gesture.split(u' ');
    const QPoint at = caretPoint(*m_box, words[1].toInt());
    if (words[0] == u"click") {
        QTest::mouseClick(m_box.get(), Qt::LeftButton, {}, at);
    } else if (words[0] == u"shift-click") {
        QTest::mouseClick(m_box.get(), Qt::LeftButton, Qt::ShiftModifier, at);
    } else if (words[0] == u"drag") {
        const QPoint to = caretPoint(*m_box, words[2].toInt());
        QTest::mousePress(m_box.get(), Qt::LeftButton, {}, at);
        // Qt Test's own move goes through the window system, which has not seen the press.
        QMouseEvent move(QEvent::MouseMove, to, m_box->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(m_box.get(), &move);
        QTest::mouseRelease(m_box.get(), Qt::LeftButton, {}, to);
    } else {
        QTest::mouseDClick(m_box.get(), Qt::LeftButton, {}, at);
        if (words[0] == u"triple")
            QTest::mouseClick(m_box.get(), Qt::LeftButton, {}, at);
    }
    QTEST(int(m_box->cursorPosition()), "caret");
    QTEST(m_box->selectedText(), "selected");
}

// The menu as a keyboard reaches it, with Shift+F10, and Paste by its letter.
void TextBoxTest::contextMenu()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    m_box->setText(QStringLiteral("ABCD"));
    QTest::keyClicks(m_box.get(), QStringLiteral("e"));
    m_box->setSelection(0, 2);
    QTest::keyClick(m_box.get(), Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QList<int> enabled;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled())
            enabled << action->data().toInt();
    }
    using enum TextCommand;
    QCOMPARE(enabled, (QList<int>{int(Undo), int(Cut), int(Copy), int(Paste), int(Delete), int(SelectAll)}));
    QTest::keyClick(menu, Qt::Key_P);
    QCOMPARE(m_box->text(), QStringLiteral("pastedCDe"));
    QVERIFY(!QApplication::activePopupWidget());
}

void TextBoxTest::menuShowsTheKeyOfItsBox_data()
{
    QTest::addColumn<bool>("messageBox");
    QTest::addColumn<int>("command");
    QTest::addColumn<QKeySequence>("shown");
    using enum TextCommand;
    const QKeySequence none;
    // The output box shows the platform's keys.
    QTest::newRow("output: Undo") << false << int(Undo) << QKeySequence(Qt::CTRL | Qt::Key_Z);
    QTest::newRow("output: Paste") << false << int(Paste) << QKeySequence(Qt::CTRL | Qt::Key_V);
    QTest::newRow("output: Select All") << false << int(SelectAll) << QKeySequence(Qt::CTRL | Qt::Key_A);
    // In the message box a Ctrl key with a letter types a Backspace: the menu shows a key that gives no
    // character, or none.
    QTest::newRow("message: Undo") << true << int(Undo) << none;
    QTest::newRow("message: Redo") << true << int(Redo) << none;
    QTest::newRow("message: Cut") << true << int(Cut) << QKeySequence(Qt::SHIFT | Qt::Key_Delete);
    QTest::newRow("message: Copy") << true << int(Copy) << QKeySequence(Qt::CTRL | Qt::Key_Insert);
    QTest::newRow("message: Paste") << true << int(Paste) << QKeySequence(Qt::SHIFT | Qt::Key_Insert);
    QTest::newRow("message: Delete") << true << int(Delete) << QKeySequence(Qt::Key_Delete);
    QTest::newRow("message: Select All") << true << int(SelectAll) << none;
}

void TextBoxTest::menuShowsTheKeyOfItsBox()
{
    QFETCH(bool, messageBox);
    QFETCH(int, command);
    QFETCH(QKeySequence, shown);
    if (messageBox)
        m_box = std::make_unique<MessageInput>([](char32_t) { return Typed{}; }, nullptr);
    const std::unique_ptr<QMenu> menu(m_box->commandMenu());
    QStringList keys;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->data().toInt() == command)
            keys << action->text().section(u'\t', 1);
    }
    QCOMPARE(keys, QStringList{shown.toString(QKeySequence::NativeText)});
}

void TextBoxTest::programChangesAreNoEdits()
{
    QSignalSpy edited(m_box.get(), &TextBox::operatorEdited);
    m_box->setText(QStringLiteral("AB"));
    m_box->append(u"CD");
    QCOMPARE(edited.count(), 0);
    QTest::keyClick(m_box.get(), Qt::Key_X);
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edited.last().front().value<Change>().inserted, QStringLiteral("x"));
}

void TextBoxTest::onlyTheVisiblePartIsMeasured_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("caret");
    // On a million letters, caret at the end.
    QTest::newRow("set at the end") << "" << int(kMillion);
    QTest::newRow("Home") << "Home" << 0;
    QTest::newRow("Home, then End") << "Home End" << int(kMillion);
    QTest::newRow("typing at the end") << "x" << int(kMillion) + 1;
    QTest::newRow("Backspace at the end") << "Backspace Backspace" << int(kMillion) - 2;
    QTest::newRow("the middle") << "500000" << 500000;
    QTest::newRow("Left from the middle") << "500000 Left" << 499999;
    QTest::newRow("a wider box shows more") << "wider" << int(kMillion);
}

void TextBoxTest::onlyTheVisiblePartIsMeasured()
{
    QFETCH(QString, script);
    QFETCH(int, caret);
    m_box->setText(letters(kMillion));
    for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step.front().isDigit())
            m_box->setCursorPosition(step.toInt());
        else if (step == u"wider")
            m_box->resize(2 * m_box->width(), m_box->height());
        else if (step.size() == 1)
            QTest::keyClicks(m_box.get(), step);
        else
            QTest::keyClick(m_box.get(), QKeySequence::fromString(step)[0].key());
    }
    QCOMPARE(m_box->cursorPosition(), caret);
    // The caret is on screen, and no more characters than fit the box are measured or drawn.
    QVERIFY(m_box->view().first() <= caret && caret <= m_box->view().end());
    QVERIFY(m_box->view().end() - m_box->view().first() < m_box->width());
    QVERIFY(m_box->rect().contains(m_box->inputMethodQuery(Qt::ImCursorRectangle).toRect()));
    // With hidden text on the left, the right holds text up to the end or the box's edge.
    const QString shown =
        m_box->text().mid(m_box->view().first(), m_box->view().end() - m_box->view().first());
    QVERIFY(QFontMetrics(m_box->font()).horizontalAdvance(shown) >= m_box->width() - 40);
    QVERIFY(!m_box->grab().isNull());
}

void TextBoxTest::inputMethod()
{
    m_box->setText(letters(kMillion));
    QInputMethodEvent preedit(QStringLiteral("ka"), {});
    QApplication::sendEvent(m_box.get(), &preedit);
    QCOMPARE(m_box->text().size(), kMillion);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("か") + kSmiley, -1, 1);
    QApplication::sendEvent(m_box.get(), &commit);
    // The commit replaces the last letter.
    QCOMPARE(m_box->text().size(), kMillion + 2);
    QVERIFY(m_box->text().endsWith(QStringLiteral("か") + kSmiley));
    // The input method sees a bounded window of text around the caret.
    const QString surrounding = m_box->inputMethodQuery(Qt::ImSurroundingText).toString();
    const int position = m_box->inputMethodQuery(Qt::ImCursorPosition).toInt();
    QVERIFY(surrounding.size() <= 1024);
    QCOMPARE(position, surrounding.size());
    QVERIFY(surrounding.endsWith(QStringLiteral("か") + kSmiley));
    QCOMPARE(m_box->inputMethodQuery(Qt::ImEnabled).toBool(), true);
    QCOMPARE(m_box->inputMethodQuery(Qt::ImFont).value<QFont>(), m_box->font());
    m_box->setSelection(kMillion - 2, 2);
    QCOMPARE(m_box->inputMethodQuery(Qt::ImCurrentSelection).toString(), m_box->selectedText());
    QCOMPARE(m_box->inputMethodQuery(Qt::ImAnchorPosition).toInt(),
             m_box->inputMethodQuery(Qt::ImCursorPosition).toInt() - 2);
}

void TextBoxTest::screenReaderHearsTheChange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("heard");
    QTest::newRow("typing") << ""
                            << "t:ab" << QStringList{"insert 0 a", "caret 1", "insert 1 b", "caret 2"};
    QTest::newRow("Backspace over a letter with its accent")
        << u'A' + kAccented << "B" << QStringList{"remove 1 " + kAccented, "caret 1"};
    QTest::newRow("selecting") << "AB"
                               << "<" << QStringList{"selection 1 2", "caret 1"};
    QTest::newRow("typing over the selection")
        << "AB"
        << "< t:x"
        << QStringList{"selection 1 2", "caret 1", "remove 1 B", "insert 1 x", "selection -1 -1", "caret 2"};
    QTest::newRow("an append") << "AB"
                               << "a:CD" << QStringList{"insert 2 CD", "caret 4"};
    // A reader follows the caret of the box with the focus only, and asks where it stands as focus comes.
    QTest::newRow("an append without the focus") << "AB"
                                                 << "unfocus a:CD" << QStringList{"insert 2 CD"};
    QTest::newRow("undo") << ""
                          << "t:ab z" << QStringList{"insert 0 a", "caret 1",     "insert 1 b",
                                                     "caret 2",    "remove 0 ab", "caret 0"};
    QTest::newRow("setting the text") << "AB"
                                      << "s:XY" << QStringList{"remove 0 AB", "insert 0 XY"};
    // Only the change is told, however long the text.
    QTest::newRow("a letter after a million")
        << letters(kMillion) << "t:x" << QStringList{"insert 1000000 x", "caret 1000001"};
}

void TextBoxTest::screenReaderHearsTheChange()
{
    QFETCH(QString, text);
    QFETCH(QString, script);
    const test::ScreenReader reader(hear);
    QVERIFY(QAccessible::isActive());
    m_box->setText(text);
    g_heard.clear();
    play(*m_box, script);
    QTEST(g_heard, "heard");
}

void TextBoxTest::screenReaderReads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<QString>("side");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    const int character = QAccessible::CharBoundary;
    const QString accented = u'A' + kAccented + u'B';
    QTest::newRow("the character at an accent") << accented << 1 << character << "at" << 1 << 3;
    QTest::newRow("the character before the caret") << accented << -2 << character << "before" << 3 << 4;
    QTest::newRow("the character after") << accented << 0 << character << "after" << 1 << 3;
    QTest::newRow("nothing after the end") << accented << -1 << character << "at" << 4 << 4;
    QTest::newRow("a word") << "one two" << 5 << int(QAccessible::WordBoundary) << "at" << 4 << 7;
    QTest::newRow("the line at the caret at its end")
        << "one two" << -2 << int(QAccessible::LineBoundary) << "at" << 0 << 7;
    QTest::newRow("the line is the whole text")
        << "one two" << 2 << int(QAccessible::LineBoundary) << "at" << 0 << 7;
    // A message has no spaces: its one word is cut to a window around the offset.
    QTest::newRow("a word of a million letters")
        << letters(kMillion) << 500000 << int(QAccessible::WordBoundary) << "at" << 500000 - 256
        << 500000 + 256;
}

void TextBoxTest::screenReaderReads()
{
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(int, boundary);
    QFETCH(QString, side);
    QFETCH(int, start);
    QFETCH(int, end);
    m_box->setText(text);
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(m_box.get());
    QCOMPARE(reader->role(), QAccessible::EditableText);
    QVERIFY(reader->state().editable);
    QAccessibleTextInterface* texts = reader->textInterface();
    QVERIFY(texts);
    QCOMPARE(texts->characterCount(), text.size());
    int from = 0;
    int to = 0;
    const auto type = QAccessible::TextBoundaryType(boundary);
    const QString read = side == u"before" ? texts->textBeforeOffset(offset, type, &from, &to)
                         : side == u"at"   ? texts->textAtOffset(offset, type, &from, &to)
                                           : texts->textAfterOffset(offset, type, &from, &to);
    QCOMPARE(from, start);
    QCOMPARE(to, end);
    QCOMPARE(read, text.mid(start, end - start));
    QCOMPARE(texts->text(start, end), read);
    // A character on screen is found where it stands.
    if (start < end && start >= m_box->view().first() && end <= m_box->view().end()) {
        const QRect character = texts->characterRect(start);
        QVERIFY(!character.isEmpty());
        QCOMPARE(texts->offsetAtPoint(QPoint(character.left() + 1, character.center().y())), start);
    }
    // A reader's edit is one undo step, as a paste is.
    reader->editableTextInterface()->insertText(0, QStringLiteral("x"));
    QCOMPARE(m_box->text(), u'x' + text);
    QVERIFY(m_box->line().canUndo());
}

QTEST_MAIN(TextBoxTest)
#include "text_box_test.moc"
