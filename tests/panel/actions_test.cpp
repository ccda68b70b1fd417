// The operator's buttons and hand edits: Encrypt and its warning, selectors, window buttons, Reset,
// Set By Date and Copy To ClipBoard.
#include "tests/panel/panel_test_support.h"

#include "panel/accessible/announcer.h"
#include "panel/textbox/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <array>

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
QString caption(const QWidget& form, int command)
{
    return element<QPushButton>(form, QStringLiteral("Command%1").arg(command))->text();
}

QString windows(const QWidget& form)
{
    return windowText(form, 1) + windowText(form, 2) + windowText(form, 3);
}

QList<QColor> colours(const QWidget& form)
{
    QList<QColor> all;
    for (int row = 1; row <= kRows; ++row) {
        for (int cell = 1; cell <= kCells; ++cell)
            all << cellBackground(form, row, cell);
    }
    return all;
}

bool allWhite(const QWidget& form)
{
    const QList<QColor> all = colours(form);
    return std::all_of(all.begin(), all.end(), [](const QColor& c) { return c == QColor(Qt::white); });
}

QString letters(qsizetype count)
{
    QString text(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i)
        text[i] = QChar(static_cast<char16_t>(u'A' + (i * 7 + i / 26) % 26));
    return text;
}

} // namespace

class ActionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void encrypt_data();
    void encrypt();
    void rejectedMessage_data();
    void rejectedMessage();
    void handEditsOfBothBoxes();
    void selectors_data();
    void selectors();
    void windowButtons_data();
    void windowButtons();
    void reset_data();
    void reset();
    void setByDate();
    void typedDateIsReadAsTyped();
    void copyOut();
    void millionLetters();
    void buttonsAnswerTheKeyboard_data();
    void buttonsAnswerTheKeyboard();
    void resultsAreSpoken_data();
    void resultsAreSpoken();
};

void ActionsTest::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void ActionsTest::encrypt_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("two words") << "v5"
                               << "hello world"
                               << "HELLOWORLD";
    QTest::newRow("four model") << "v4"
                                << "Attack at dawn"
                                << "ATTACKATDAWN";
}

void ActionsTest::encrypt()
{
    QFETCH(QString, model);
    QFETCH(QString, message);
    QFETCH(QString, cleaned);
    Window window(test::model(model));
    text3(window.form)->setText(QStringLiteral("KEPT"));
    text2(window.form)->setText(message);
    press(window.form, QStringLiteral("Command9"));
    QCOMPARE(text2(window.form)->text(), cleaned);
    QCOMPARE(text3(window.form)->text().size(), 4 + cleaned.size());
    QVERIFY(text3(window.form)->text().startsWith(QLatin1String("KEPT")));
}

void ActionsTest::rejectedMessage_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("punctuation, spaces removed") << "v5"
                                                 << "ab c?"
                                                 << "ABC?";
    QTest::newRow("four model") << "v4"
                                << "no 1"
                                << "NO1";
}

void ActionsTest::rejectedMessage()
{
    QFETCH(QString, model);
    QFETCH(QString, message);
    QFETCH(QString, cleaned);
    Window window(test::model(model));
    typeInto(window.form, "XY");
    const QString output = text3(window.form)->text();
    const QString before = windows(window.form);
    const QList<QColor> lit = colours(window.form);
    text2(window.form)->setText(message);

    bool shown = false;
    whenMessageBoxShows([&](QMessageBox& box) {
        shown = true;
        QCOMPARE(box.windowTitle(), QStringLiteral("Twit"));
        QCOMPARE(box.text(), QStringLiteral("Error Encountered: Capital Letters Only \nPlease Retry."));
        QCOMPARE(box.textFormat(), Qt::PlainText);
        QCOMPARE(box.icon(), QMessageBox::Warning);
        QCOMPARE(box.buttons().size(), 1);
        QCOMPARE(box.standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(box.isModal());
        // The box stands over the cleaned message.
        QCOMPARE(text2(window.form)->text(), cleaned);
    });
    press(window.form, QStringLiteral("Command9"));
    QVERIFY(shown);
    QCOMPARE(text2(window.form)->text(), QString());
    QCOMPARE(text3(window.form)->text(), output);
    QCOMPARE(windows(window.form), before);
    QCOMPARE(colours(window.form), lit);
}

void ActionsTest::handEditsOfBothBoxes()
{
    Window window(fivePointOne());
    // The operator types into the output box and deletes a letter of it.
    QTest::keyClicks(text3(window.form), QStringLiteral("NOTE"));
    QTest::keyClick(text3(window.form), Qt::Key_Backspace);
    QCOMPARE(text3(window.form)->text(), QStringLiteral("NOT"));

    // A typed letter's cipher goes after what the output box shows.
    typeInto(window.form, "q");
    QCOMPARE(text3(window.form)->text().size(), 4);
    QVERIFY(text3(window.form)->text().startsWith(QLatin1String("NOT")));

    // The operator shortens the output; the copy takes it as it stands.
    text3(window.form)->setCursorPosition(2);
    QTest::keyClick(text3(window.form), Qt::Key_Backspace);
    QTest::keyClick(text3(window.form), Qt::Key_Backspace);
    const QString edited = text3(window.form)->text();
    QCOMPARE(edited.size(), 2);
    press(window.form, QStringLiteral("Command10"));
    QCOMPARE(QGuiApplication::clipboard()->text(), edited);
    typeInto(window.form, "R");
    QCOMPARE(text3(window.form)->text().size(), 3);
    QVERIFY(text3(window.form)->text().startsWith(edited));
}

void ActionsTest::selectors_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("key");
    QTest::newRow("Key 1 once") << "v5" << 11 << 1 << 2;
    QTest::newRow("Key 4 wraps after 97") << "v5" << 14 << 97 << 1;
    QTest::newRow("four model Key 4 to 100") << "v4" << 14 << 96 << 100;
}

void ActionsTest::selectors()
{
    QFETCH(QString, model);
    QFETCH(int, command);
    QFETCH(int, presses);
    QFETCH(int, key);
    const Model machine = test::model(model);
    Window window(machine);
    typeInto(window.form, "K");
    const QList<QColor> lit = colours(window.form);
    const QString before = windows(window.form);
    for (int i = 0; i < presses; ++i)
        press(window.form, QStringLiteral("Command%1").arg(command));
    QCOMPARE(caption(window.form, command), QStringLiteral("Key %1").arg(key));
    const int keyRow = std::array{8, 6, 4, 2}[static_cast<std::size_t>(command - 11)];
    QCOMPARE(rowText(window.form, keyRow), keyAsShown(machine, key));
    QCOMPARE(colours(window.form), lit);
    QCOMPARE(windows(window.form), before);
}

void ActionsTest::windowButtons_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("windows"); // after one typed letter has moved window 1 to 02
    QTest::addColumn<int>("ringRow");
    QTest::addColumn<int>("firstCell"); // the cell of the ring row that shows position 1
    QTest::newRow("window 1 up") << "v5" << 6 << 1 << "030101" << 3 << 3;
    QTest::newRow("window 2 down wraps") << "v5" << 5 << 1 << "022601" << 5 << 26;
    QTest::newRow("four model window 2 down") << "v4" << 5 << 1 << "022601" << 5 << 26;
}

void ActionsTest::windowButtons()
{
    QFETCH(QString, model);
    QFETCH(int, command);
    QFETCH(int, presses);
    QFETCH(QString, windows);
    QFETCH(int, ringRow);
    QFETCH(int, firstCell);
    const Model machine = test::model(model);
    Window window(machine);
    typeInto(window.form, "A");
    const QList<QColor> lit = colours(window.form);
    for (int i = 0; i < presses; ++i)
        press(window.form, QStringLiteral("Command%1").arg(command));
    QCOMPARE(::windows(window.form), windows);
    QCOMPARE(cellText(window.form, ringRow, firstCell),
             machine.settings.alphabet == CellAlphabet::Letter ? QStringLiteral("A") : QStringLiteral("01"));
    if (machine.settings.windowButtonsClearHighlight)
        QVERIFY(allWhite(window.form));
    else
        QCOMPARE(colours(window.form), lit);
    QCOMPARE(text3(window.form)->text().size(), 1);
}

void ActionsTest::reset_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("key1After");
    QTest::newRow("five-point-one: back to keys 1 to 4") << "v5" << 1;
    QTest::newRow("four model: keeps the keys") << "v4" << 4;
}

void ActionsTest::reset()
{
    QFETCH(QString, model);
    QFETCH(int, key1After);
    const Model machine = test::model(model);
    Window window(machine);
    showActive(window.form);
    for (int i = 0; i < 3; ++i)
        press(window.form, QStringLiteral("Command11"));
    typeInto(window.form, "ABCDE");
    press(window.form, QStringLiteral("Command4"));
    text3(window.form)->setFocus();
    QVERIFY(!text2(window.form)->hasFocus());

    press(window.form, QStringLiteral("Command1"));
    QCOMPARE(windows(window.form), QStringLiteral("010101"));
    QCOMPARE(text2(window.form)->text(), QString());
    QCOMPARE(text3(window.form)->text(), QString());
    QVERIFY(allWhite(window.form));
    QCOMPARE(caption(window.form, 11), QStringLiteral("Key %1").arg(key1After));
    QCOMPARE(rowText(window.form, 8), keyAsShown(machine, key1After));
    QCOMPARE(rowText(window.form, 3), rowText(window.form, 1));
    QVERIFY(QTest::qWaitFor([&] { return text2(window.form)->hasFocus(); }));
}

// The date rule itself is the key setting's (core tests); the panel reads the three boxes as they stand,
// shows the keys the machine then holds, keeps the windows, message and lit path, and gives the focus back.
void ActionsTest::setByDate()
{
    const Model machine = fivePointOne();
    Window window(machine, {2026, 4, 15});
    showActive(window.form);
    typeInto(window.form, "A");
    const QList<QColor> lit = colours(window.form);
    const std::array<std::u16string, 3> date{u"31", u"4", u"2040"};
    element<QComboBox>(window.form, QStringLiteral("ComboDay"))
        ->setEditText(QString::fromStdU16String(date[0]));
    element<QComboBox>(window.form, QStringLiteral("ComboMonth"))
        ->setEditText(QString::fromStdU16String(date[1]));
    element<QComboBox>(window.form, QStringLiteral("ComboYear"))
        ->setEditText(QString::fromStdU16String(date[2]));
    text3(window.form)->setFocus();
    press(window.form, QStringLiteral("Command8"));

    MachineControls expected(machine.settings);
    expected.startUp();
    QCOMPARE(expected.setByDate(date[0], date[1], date[2]), SetByDateOutcome::Set);
    for (int selector = 1; selector <= kSelectors; ++selector) {
        QCOMPARE(caption(window.form, 10 + selector),
                 QString::fromStdString(expected.state().selectorCaption(selector)));
        const int keyRow = keyRowOfSelector(selector);
        for (int cell = 1; cell <= kCells; ++cell)
            QCOMPARE(cellText(window.form, keyRow, cell),
                     QString::fromLatin1(expected.state().cellText(keyRow, cell)));
    }
    QCOMPARE(colours(window.form), lit);
    QCOMPARE(windowText(window.form, 1), QStringLiteral("02"));
    QCOMPARE(text2(window.form)->text(), QStringLiteral("A"));
    QVERIFY(QTest::qWaitFor([&] { return text2(window.form)->hasFocus(); }));
}

void ActionsTest::typedDateIsReadAsTyped()
{
    Window window(fivePointOne());
    showActive(window.form);
    auto* day = element<QComboBox>(window.form, QStringLiteral("ComboDay"));
    day->setFocus();
    day->lineEdit()->selectAll();
    QTest::keyClicks(day->lineEdit(), QStringLiteral("1"));
    QTest::keyClick(day->lineEdit(), Qt::Key_Return);
    QCOMPARE(day->currentText(), QStringLiteral("1"));
    QCOMPARE(day->count(), 31);
    press(window.form, QStringLiteral("Command8"));
    QCOMPARE(caption(window.form, 11), QStringLiteral("Key 1"));
}

void ActionsTest::copyOut()
{
    Window window(fivePointOne());
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("SOMETHING ELSE"));
    press(window.form, QStringLiteral("Command10"));
    QCOMPARE(clipboard->text(), QString());

    typeInto(window.form, "COPYME");
    for (int round = 0; round < 2; ++round) {
        press(window.form, QStringLiteral("Command10"));
        QCOMPARE(clipboard->text(), text3(window.form)->text());
        QCOMPARE(text3(window.form)->text().size(), 6);
    }
}

void ActionsTest::millionLetters()
{
    constexpr qsizetype kLetters = 1'000'000;
    const QString message = letters(kLetters);
    Window window(fivePointOne());
    text2(window.form)->setText(message);
    QCOMPARE(text2(window.form)->text().size(), kLetters);
    press(window.form, QStringLiteral("Command9"));
    QCOMPARE(text2(window.form)->text(), message);
    QCOMPARE(text3(window.form)->text().size(), kLetters);
    // 1,000,000 steps of the odometer from 01 01 01.
    QCOMPARE(windows(window.form), QStringLiteral("150824"));

    typeInto(window.form, "Z");
    QCOMPARE(text3(window.form)->text().size(), kLetters + 1);
    QCOMPARE(text2(window.form)->text().size(), kLetters + 1);
}

void ActionsTest::buttonsAnswerTheKeyboard_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("key");
    for (int command = 1; command <= 14; ++command) {
        for (const auto& [key, name] :
             {std::pair{Qt::Key_Space, "Space"}, std::pair{Qt::Key_Return, "Return"},
              std::pair{Qt::Key_Enter, "Enter"}})
            QTest::addRow("Command%d %s", command, name) << command << int(key);
    }
}

// Without a mouse: a focused button acts on Space, Return and the keypad's Enter.
void ActionsTest::buttonsAnswerTheKeyboard()
{
    QFETCH(int, command);
    QFETCH(int, key);
    Window window(fivePointOne());
    showActive(window.form);
    auto* button = element<QPushButton>(window.form, QStringLiteral("Command%1").arg(command));
    button->setFocus(Qt::TabFocusReason);
    QVERIFY(button->hasFocus());
    QSignalSpy clicked(button, &QPushButton::clicked);
    const Qt::KeyboardModifiers keypad = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(button, Qt::Key(key), keypad);
    QCOMPARE(clicked.count(), 1);
}

namespace {

// What a screen reader is told: the toolkit's announcements where it has them, else notifications of a
// status line, their words in a text inside each.
QStringList g_notices;

void hearNotices(QAccessibleEvent* event)
{
#if ROVANTA_TOOLKIT_ANNOUNCES
    if (event->type() == QAccessible::Announcement)
        g_notices << static_cast<QAccessibleAnnouncementEvent*>(event)->message().trimmed();
#else
    QAccessibleInterface* shown = event->accessibleInterface();
    if (event->type() != QAccessible::ObjectShow || !shown || shown->role() != QAccessible::Notification)
        return;
    const bool onStatusLine = shown->parent() && shown->parent()->role() == QAccessible::StatusBar;
    const bool worded = shown->childCount() == 1 && shown->child(0)->role() == QAccessible::StaticText;
    g_notices << (onStatusLine && worded ? shown->child(0)->text(QAccessible::Name) : QStringLiteral("?"));
#endif
}

} // namespace

void ActionsTest::resultsAreSpoken_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("actions");
    // %output stands for the first twenty letters of the output box after the actions.
    // F2 on the five-point-one model at its start setting, after L: the way back starts after the turn at the
    // reflector (which keeps the number), and there its first stage moves the number, so the way back does
    // not begin with the last number out.
    QTest::addColumn<QString>("heard");
    QTest::addColumn<bool>("warns"); // Encrypt brings up the warning box, answered at once
    const QString none;
    QTest::newRow("a typed letter") << "v5"
                                    << "a" << none << QStringList{} << "%output" << false;
    QTest::newRow("Encrypt") << "v5" << none << "hello world" << QStringList{"Command9"}
                             << "10 letters enciphered: %output" << false;
    QTest::newRow("Encrypt of a long message") << "v4" << none << QString(30, u'Q') << QStringList{"Command9"}
                                               << "30 letters enciphered: %output and more" << false;
    QTest::newRow("Encrypt of nothing") << "v5" << none << " " << QStringList{"Command9"}
                                        << "Nothing enciphered: the message is empty" << false;
    QTest::newRow("the warning empties the message")
        << "v5" << none << "AB1" << QStringList{"Command9"} << "Message emptied" << true;
    QTest::newRow("a window button") << "v5" << none << none << QStringList{"Command7"} << "Window 1 at 26"
                                     << false;
    QTest::newRow("a selector") << "v4" << none << none << QStringList{"Command14"} << "Key 5" << false;
    QTest::newRow("Set By Date") << "v5" << none << none << QStringList{"Command8"}
                                 << "Key 06, Key 12, Key 26, Key 64" << false;
    QTest::newRow("a copy") << "v5"
                            << "abc" << none << QStringList{"Command10"}
                            << "3 letters copied to the clipboard" << false;
    QTest::newRow("a copy of nothing") << "v4" << none << none << QStringList{"Command10"}
                                       << "Clipboard emptied: the output is empty" << false;
    QTest::newRow("Reset") << "v4"
                           << "ab" << none << QStringList{"Command1"}
                           << "Machine reset; typing goes to the message box" << false;
    QTest::newRow("F2, two-digit rows")
        << "v5"
        << "l" << none << QStringList{"F2"}
        << "L: out (\\d\\d, ){4}(\\d\\d); back (?!\\2,)(\\d\\d, ){2}\\d\\d; %output" << false;
    QTest::newRow("F2, letter rows") << "v4"
                                     << "l" << none << QStringList{"F2"}
                                     << "L: out ([A-Z], ){4}[A-Z]; back ([A-Z], ){2}[A-Z]; %output" << false;
    QTest::newRow("F2 once the path is cleared")
        << "v5"
        << "l" << none << QStringList{"Command2", "F2"} << "No letter lit" << false;
}

// Each result reaches a screen reader once, last, whatever has the focus.
void ActionsTest::resultsAreSpoken()
{
    QFETCH(QString, model);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QStringList, actions);
    QFETCH(QString, heard);
    QFETCH(bool, warns);
    Window window(test::model(model));
    showActive(window.form);
    if (!actions.isEmpty())
        typeInto(window.form, typed.toStdString());
    if (!message.isEmpty())
        text2(window.form)->setText(message);
    g_notices.clear();
    const ScreenReader reader(hearNotices);
    for (const QString& action : actions) {
        if (action != QLatin1String("F2")) {
            if (warns)
                whenMessageBoxShows([](QMessageBox&) {});
            press(window.form, action);
            continue;
        }
        text2(window.form)->setFocus();
        const QString before = text2(window.form)->text();
        QTest::keyClick(text2(window.form), Qt::Key_F2);
        QCOMPARE(text2(window.form)->text(), before); // F2 types nothing
    }
    if (actions.isEmpty())
        typeInto(window.form, typed.toStdString());
    heard.replace(QLatin1String("%output"), QRegularExpression::escape(text3(window.form)->text().left(20)));
    const QRegularExpression result(QRegularExpression::anchoredPattern(heard));
    QVERIFY2(!g_notices.isEmpty() && result.match(g_notices.last()).hasMatch(),
             qPrintable(g_notices.join(QLatin1String(" | "))));
    QCOMPARE(g_notices.filter(result).size(), 1);
}

QTEST_MAIN(ActionsTest)
#include "actions_test.moc"
