// Live typing in Text2, as a keyboard and an input method deliver it.
#include "tests/panel/panel_test_support.h"

#include "machine/message_entry.h"
#include "panel/textbox/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMimeData>
#include <QRegularExpression>
#include <QShortcut>
#include <QTest>

using namespace rovanta;
using namespace rovanta::test;

namespace {

TextBox* text2(const QWidget& form)
{
    return element<TextBox>(form, QStringLiteral("Text2"));
}
TextBox* text3(const QWidget& form)
{
    return element<TextBox>(form, QStringLiteral("Text3"));
}

struct Snapshot {
    QString output;
    QString windows;
};

Snapshot snapshot(const QWidget& form)
{
    return {text3(form)->text(), windowText(form, 1) + windowText(form, 2) + windowText(form, 3)};
}

} // namespace

class TypingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void letters_data();
    void letters();
    void actsAsBackspace_data();
    void actsAsBackspace();
    void backspaceDeletesTheSelection();
    void backspaceTakesAWholeCharacter();
    void keysWithoutCharacter_data();
    void keysWithoutCharacter();
    void shortcutsDoNotActInText2();
    void inputMethodCommit();
    void dropIsRefused();
    void typingEqualsEncrypt();
    void litPathIsShown();
    void letterRepaintsOnlyWhatChanged();
    void upperCaseIsTheToolkits();
};

void TypingTest::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void TypingTest::letters_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("window1");
    QTest::newRow("five letters") << "v5"
                                  << "hello"
                                  << "HELLO"
                                  << "06";
    QTest::newRow("four model, lower-case q") << "v4"
                                              << "q"
                                              << "Q"
                                              << "02";
}

void TypingTest::letters()
{
    QFETCH(QString, model);
    QFETCH(QString, keys);
    QFETCH(QString, message);
    QFETCH(QString, window1);
    Window window(test::model(model));
    typeInto(window.form, keys.toStdString());
    QCOMPARE(text2(window.form)->text(), message);
    QCOMPARE(windowText(window.form, 1), window1);
    QCOMPARE(text3(window.form)->text().size(), message.size());
}

void TypingTest::actsAsBackspace_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modifiers");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("space") << int(Qt::Key_Space) << " " << none;
    QTest::newRow("Enter") << int(Qt::Key_Return) << "\r" << none;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << "\x1b" << none;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "\b" << none;
    QTest::newRow("a character beyond 16 bits") << int(Qt::Key_unknown) << "😀" << none;
    // Under a test harness Ctrl+letter carries the plain letter; a real X server sends the control code.
    QTest::newRow("Ctrl+V as a letter") << int(Qt::Key_V) << "v" << ctrl;
    QTest::newRow("Ctrl+C as a letter") << int(Qt::Key_C) << "c" << ctrl;
    QTest::newRow("Ctrl+Shift+Q") << int(Qt::Key_Q) << "Q" << int(ctrl | Qt::ShiftModifier);
    QTest::newRow("Ctrl+V as code 22") << int(Qt::Key_V) << "\x16" << ctrl;
}

void TypingTest::actsAsBackspace()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    Window window(fivePointOne());
    typeInto(window.form, "AB");
    const Snapshot before = snapshot(window.form);
    QTest::sendKeyEvent(QTest::Click, text2(window.form), Qt::Key(key), text,
                        Qt::KeyboardModifiers(modifiers));
    QCOMPARE(text2(window.form)->text(), QStringLiteral("A"));
    QCOMPARE(snapshot(window.form).output, before.output);
    QCOMPARE(snapshot(window.form).windows, before.windows);
}

void TypingTest::backspaceDeletesTheSelection()
{
    Window window(fivePointOne());
    typeInto(window.form, "ABC");
    text2(window.form)->setSelection(0, 2);
    typeInto(window.form, " ");
    QCOMPARE(text2(window.form)->text(), QStringLiteral("C"));
    text2(window.form)->selectAll();
    typeInto(window.form, "x");
    QCOMPARE(text2(window.form)->text(), QStringLiteral("X"));
    QCOMPARE(text3(window.form)->text().size(), 4);
}

// A pasted letter with its accent, or a character beyond 16 bits, is one character to the operator: a
// key that acts as Backspace takes it whole.
void TypingTest::backspaceTakesAWholeCharacter()
{
    Window window(fivePointOne());
    text2(window.form)->setText(QStringLiteral("Ae\u0301😀"));
    typeInto(window.form, " ");
    QCOMPARE(text2(window.form)->text(), QStringLiteral("Ae\u0301"));
    typeInto(window.form, "7");
    QCOMPARE(text2(window.form)->text(), QStringLiteral("A"));
}

void TypingTest::keysWithoutCharacter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("caret");
    // From "ABC" with the caret between A and B.
    QTest::newRow("Left") << int(Qt::Key_Left) << "" << int(Qt::NoModifier) << "ABC" << 0;
    QTest::newRow("End") << int(Qt::Key_End) << "" << int(Qt::NoModifier) << "ABC" << 3;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << "" << int(Qt::NoModifier) << "AC" << 1;
    QTest::newRow("Delete carrying DEL, as on X")
        << int(Qt::Key_Delete) << "\x7f" << int(Qt::NoModifier) << "AC" << 1;
    QTest::newRow("Shift+Insert pastes")
        << int(Qt::Key_Insert) << "" << int(Qt::ShiftModifier) << "Axyz 1BC" << 6;
}

void TypingTest::keysWithoutCharacter()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    QFETCH(QString, message);
    QFETCH(int, caret);
    Window window(fivePointOne());
    QGuiApplication::clipboard()->setText(QStringLiteral("xyz 1"));
    typeInto(window.form, "ABC");
    text2(window.form)->setCursorPosition(1);
    const Snapshot before = snapshot(window.form);
    QTest::sendKeyEvent(QTest::Click, text2(window.form), Qt::Key(key), text,
                        Qt::KeyboardModifiers(modifiers));
    QCOMPARE(text2(window.form)->text(), message);
    QCOMPARE(text2(window.form)->cursorPosition(), caret);
    QCOMPARE(snapshot(window.form).output, before.output);
    QCOMPARE(snapshot(window.form).windows, before.windows);
}

void TypingTest::shortcutsDoNotActInText2()
{
    Window window(fivePointOne());
    // The box's own select-all, paste and undo, and a window shortcut such as a desktop's Ctrl+Q.
    int fired = 0;
    for (const QKeySequence& sequence :
         {QKeySequence(QKeySequence::SelectAll), QKeySequence(QKeySequence::Paste),
          QKeySequence(QKeySequence::Undo), QKeySequence(QStringLiteral("Ctrl+Q"))}) {
        auto* shortcut = new QShortcut(sequence, &window.form);
        connect(shortcut, &QShortcut::activated, [&fired] { ++fired; });
    }
    window.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&window.form));
    QGuiApplication::clipboard()->setText(QStringLiteral("PASTED"));
    typeInto(window.form, "ABCDE");
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_V, Qt::Key_Z, Qt::Key_Q})
        QTest::keyClick(text2(window.form), key, Qt::ControlModifier);
    QCOMPARE(fired, 0);
    QCOMPARE(text2(window.form)->text(), QStringLiteral("A"));
    QVERIFY(!text2(window.form)->hasSelectedText());
}

void TypingTest::inputMethodCommit()
{
    Window window(fivePointOne());
    QInputMethodEvent preedit(QStringLiteral("h"), {});
    QApplication::sendEvent(text2(window.form), &preedit);
    QCOMPARE(text3(window.form)->text(), QString());
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("hi 2u"));
    QApplication::sendEvent(text2(window.form), &commit);
    // h, i: letters; space and 2: each a Backspace (deleting I, then H); u: a letter.
    QCOMPARE(text2(window.form)->text(), QStringLiteral("U"));
    QCOMPARE(text3(window.form)->text().size(), 3);
    QCOMPARE(windowText(window.form, 1), QStringLiteral("04"));
}

void TypingTest::dropIsRefused()
{
    Window window(fivePointOne());
    TextBox* box = text2(window.form);
    QVERIFY(!box->acceptDrops());
    QMimeData data;
    data.setText(QStringLiteral("DROPPED"));
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
    QVERIFY(!drop.isAccepted());
    QCOMPARE(box->text(), QString());
}

void TypingTest::typingEqualsEncrypt()
{
    for (const Model& model : {fivePointOne(), four()}) {
        Window typed(model);
        Window encrypted(model);
        typeInto(typed.form, "THEQUICKBROWNFOXJUMPSOVERTHELAZYDOG");
        text2(encrypted.form)->setText(QStringLiteral("THEQUICKBROWNFOXJUMPSOVERTHELAZYDOG"));
        press(encrypted.form, QStringLiteral("Command9"));
        QCOMPARE(text3(typed.form)->text(), text3(encrypted.form)->text());
        for (int row = 1; row <= kRows; ++row) {
            for (int cell = 1; cell <= kCells; ++cell)
                QCOMPARE(cellBackground(typed.form, row, cell), cellBackground(encrypted.form, row, cell));
        }
    }
}

namespace {

// How often a reader has been told of a new name of a row.
int g_rowsNamed = 0;

void countRowNames(QAccessibleEvent* event)
{
    static const QRegularExpression row(QStringLiteral("^Label([1-9]|10)$"));
    const QObject* named = event->object();
    g_rowsNamed +=
        event->type() == QAccessible::NameChanged && named && row.match(named->objectName()).hasMatch();
}

} // namespace

void TypingTest::litPathIsShown()
{
    Window window(fivePointOne());
    showActive(window.form);
    typeInto(window.form, "a");
    // A screen reader hears each row's lit cells by column, as they show, once the machine stands still:
    // after this letter, and after a burst of three more, whose letters name each row once, not thrice.
    const ScreenReader reader(countRowNames);
    for (const char* letters : {"", "bcd"}) {
        g_rowsNamed = 0;
        for (const char* letter = letters; *letter; ++letter)
            typeInto(window.form, std::string(1, *letter));
        const auto rowsRead = [&] {
            for (int row = 1; row <= kRows; ++row) {
                QString lit;
                for (int cell = 1; cell <= kCells; ++cell) {
                    const QColor colour = cellBackground(window.form, row, cell);
                    if (colour == QColor(Qt::red) || colour == QColor(Qt::yellow))
                        lit += QStringLiteral("; %1 at %2")
                                   .arg(colour == QColor(Qt::red) ? "red" : "yellow")
                                   .arg(cell);
                }
                const QString heard =
                    element<QLabel>(window.form, QStringLiteral("Label%1").arg(row))->accessibleName();
                if (!heard.endsWith(lit) || heard.count(u';') != lit.count(u';'))
                    return false;
            }
            return true;
        };
        QVERIFY(QTest::qWaitFor(rowsRead));
        QVERIFY2(g_rowsNamed <= kRows, qPrintable(QString::number(g_rowsNamed)));
    }
}

namespace {

// What the cells go through, seen from outside as any widget's owner sees it: new colours and repaints.
class CellChanges final : public QObject {
public:
    explicit CellChanges(const QWidget& form)
    {
        for (int row = 1; row <= kRows; ++row) {
            for (int cell = 1; cell <= kCells; ++cell)
                element<QLabel>(form, QStringLiteral("Label%1_%2").arg(row).arg(cell))
                    ->installEventFilter(this);
        }
    }

    // Everything asked of the window so far shown.
    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    void restart()
    {
        settle();
        colours = 0;
        paints = 0;
    }

    int colours = 0;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        colours += event->type() == QEvent::PaletteChange;
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

void TypingTest::letterRepaintsOnlyWhatChanged()
{
    Window window(fivePointOne());
    showActive(window.form);
    CellChanges changes(window.form);
    changes.restart();
    typeInto(window.form, "A");
    // The first letter turns every cell from the standard colour to white: once.
    QVERIFY(changes.colours >= kRows * kCells);
    for (const char* letter : {"B", "Q", "Z"}) {
        changes.restart();
        typeInto(window.form, letter);
        CellChanges::settle();
        // At most the three ring rows, and the twenty cells lit before and after.
        QVERIFY2(changes.paints > 0 && changes.paints <= 3 * kCells + 40, letter);
        QVERIFY2(changes.colours > 0 && changes.colours <= 40, letter);
    }
}

// Typing goes through the toolkit's characters and Encrypt through the machine's own table: both must
// upper-case every character alike, or a letter typed would be refused when encrypted, or the reverse.
void TypingTest::upperCaseIsTheToolkits()
{
    int differing = 0;
    for (char32_t character = 0; character <= 0x10FFFF; ++character) {
        if (rovanta::upperCase(character) != QChar::toUpper(character) && ++differing <= 5)
            qWarning("U+%04X: machine U+%04X, toolkit U+%04X", unsigned(character),
                     unsigned(rovanta::upperCase(character)), unsigned(QChar::toUpper(character)));
    }
    QCOMPARE(differing, 0);
}

QTEST_MAIN(TypingTest)
#include "typing_test.moc"
