// The text of a text box without a widget: steps over the characters a reader sees, edits, undo and redo,
// and the change each edit reports.
#include "panel/textbox/line_text.h"

#include <QTest>

using namespace rovanta;

namespace {

const QString kSmiley = QStringLiteral("😀");
// An e with its accent as a separate combining character: one character to a reader, two to the string.
const QString kAccented = QStringLiteral("e\u0301");

// A few steps, one word each, as the box's keys make them: t:TEXT types letter by letter, a:TEXT appends,
// s:TEXT sets the text; L and R step left and right, < and > select while stepping, W and w step a word
// left and right, {{ and }} select a word left and right, H and E go home and to the end, ^H selects to the
// start; B is Backspace, D is Delete, z undoes and Z redoes.
Change play(LineText& line, const QString& script)
{
    using Step = LineText::Step;
    struct Move {
        const char16_t* word;
        Step step;
        bool mark;
    };
    static const Move kMoves[] = {{u"L", Step::PreviousChar, false}, {u"R", Step::NextChar, false},
                                  {u"<", Step::PreviousChar, true},  {u">", Step::NextChar, true},
                                  {u"W", Step::PreviousWord, false}, {u"w", Step::NextWord, false},
                                  {u"{{", Step::PreviousWord, true}, {u"}}", Step::NextWord, true},
                                  {u"H", Step::Start, false},        {u"E", Step::End, false},
                                  {u"^H", Step::Start, true}};
    Change last;
    for (const QString& word : script.split(u' ', Qt::SkipEmptyParts)) {
        const QString argument = word.mid(2);
        if (word.startsWith(u"t:")) {
            for (const QChar character : argument)
                last = line.insert(QString(character));
        } else if (word.startsWith(u"a:")) {
            last = line.append(argument);
        } else if (word.startsWith(u"s:")) {
            last = line.reset(argument);
        } else if (word == u"B") {
            last = line.erase(line.previousCharacter(line.caret()));
        } else if (word == u"D") {
            last = line.erase(line.nextCharacter(line.caret()));
        } else if (word == u"z") {
            last = line.undo();
        } else if (word == u"Z") {
            last = line.redo();
        }
        for (const Move& move : kMoves) {
            if (word == QStringView(move.word))
                line.moveCaret(line.target(move.step, move.mark), move.mark);
        }
    }
    return last;
}

QString told(const Change& change)
{
    return change.isEmpty()
               ? QString()
               : QStringLiteral("%1 -%2 +%3").arg(change.position).arg(change.removed, change.inserted);
}

} // namespace

class LineTextTest : public QObject {
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void undoRedo_data();
    void undoRedo();
};

void LineTextTest::steps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caretAfter");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("change");
    const QString pair = u'A' + kSmiley + u'B';
    const QString accented = u'A' + kAccented + u'B';
    QTest::newRow("Left") << "ABC" << 2 << 2 << "L"
                          << "ABC" << 1 << ""
                          << "";
    QTest::newRow("Right over a surrogate pair") << pair << 1 << 1 << "R" << pair << 3 << ""
                                                 << "";
    QTest::newRow("Right over a letter with its accent") << accented << 1 << 1 << "R" << accented << 3 << ""
                                                         << "";
    QTest::newRow("Right over CR LF") << "A\r\nB" << 1 << 1 << "R"
                                      << "A\r\nB" << 3 << ""
                                      << "";
    QTest::newRow("Shift+Left selects") << "ABC" << 3 << 3 << "<"
                                        << "ABC" << 2 << "C"
                                        << "";
    QTest::newRow("Left collapses a selection") << "ABCD" << 1 << 3 << "L"
                                                << "ABCD" << 1 << ""
                                                << "";
    QTest::newRow("Right collapses a selection") << "ABCD" << 3 << 1 << "R"
                                                 << "ABCD" << 3 << ""
                                                 << "";
    QTest::newRow("Home") << "ABC" << 2 << 2 << "H"
                          << "ABC" << 0 << ""
                          << "";
    QTest::newRow("Shift+Home") << "ABC" << 2 << 2 << "^H"
                                << "ABC" << 0 << "AB"
                                << "";
    QTest::newRow("End") << "ABC" << 1 << 1 << "E"
                         << "ABC" << 3 << ""
                         << "";
    QTest::newRow("word right") << "one two" << 0 << 0 << "w"
                                << "one two" << 4 << ""
                                << "";
    QTest::newRow("word left") << "one two" << 6 << 6 << "W"
                               << "one two" << 4 << ""
                               << "";
    QTest::newRow("word left over spaces and punctuation") << "one, two" << 5 << 5 << "W W"
                                                           << "one, two" << 0 << ""
                                                           << "";
    QTest::newRow("select a word right") << "one two" << 0 << 0 << "}}"
                                         << "one two" << 4 << "one "
                                         << "";
    QTest::newRow("Backspace") << "ABC" << 2 << 2 << "B"
                               << "AC" << 1 << ""
                               << "1 -B +";
    QTest::newRow("Backspace over a surrogate pair") << pair << 3 << 3 << "B"
                                                     << "AB" << 1 << ""
                                                     << "1 -" + kSmiley + " +";
    QTest::newRow("Backspace over a letter with its accent") << accented << 3 << 3 << "B"
                                                             << "AB" << 1 << ""
                                                             << "1 -" + kAccented + " +";
    QTest::newRow("Backspace at the start") << "AB" << 0 << 0 << "B"
                                            << "AB" << 0 << ""
                                            << "";
    QTest::newRow("Delete over a flag") << QStringLiteral("A🇩🇪B") << 1 << 1 << "D"
                                        << "AB" << 1 << "" << QStringLiteral("1 -🇩🇪 +");
    QTest::newRow("Backspace deletes the selection") << "ABCD" << 1 << 3 << "B"
                                                     << "AD" << 1 << ""
                                                     << "1 -BC +";
    QTest::newRow("Delete") << "ABC" << 1 << 1 << "D"
                            << "AC" << 1 << ""
                            << "1 -B +";
    QTest::newRow("deleting the word before") << "one two" << 7 << 7 << "{{ D"
                                              << "one " << 4 << ""
                                              << "4 -two +";
    QTest::newRow("typing replaces the selection") << "ABCD" << 1 << 3 << "t:x"
                                                   << "AxD" << 2 << ""
                                                   << "1 -BC +x";
    QTest::newRow("appending leaves the caret at the end") << "AB" << 0 << 0 << "a:CD"
                                                           << "ABCD" << 4 << ""
                                                           << "2 - +CD";
    QTest::newRow("a new text") << "AB" << 0 << 0 << "s:XY"
                                << "XY" << 2 << ""
                                << "0 -AB +XY";
    QTest::newRow("the same text again changes nothing") << "AB" << 0 << 0 << "s:AB"
                                                         << "AB" << 2 << ""
                                                         << "";
}

void LineTextTest::steps()
{
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, script);
    LineText line;
    line.reset(text);
    line.select(anchor, caret);
    const Change change = play(line, script);
    QTEST(line.text(), "after");
    QTEST(int(line.caret()), "caretAfter");
    QTEST(line.selectedText(), "selected");
    QTEST(told(change), "change");
}

void LineTextTest::undoRedo_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("change");
    QTest::newRow("typing is one step") << "t:abc z"
                                        << ""
                                        << "0 -abc +";
    QTest::newRow("redo") << "t:abc z Z"
                          << "abc"
                          << "0 - +abc";
    QTest::newRow("a caret move ends a step") << "t:ab L t:x z"
                                              << "ab"
                                              << "1 -x +";
    QTest::newRow("backspace is a step of its own") << "t:abc B z"
                                                    << "abc"
                                                    << "2 - +c";
    QTest::newRow("typing over a selection is a step of its own") << "t:ab < t:x z"
                                                                  << "ab"
                                                                  << "1 -x +b";
    QTest::newRow("an append is no step") << "t:ab a:CD z"
                                          << "CD"
                                          << "0 -ab +";
    QTest::newRow("an append survives undo and redo") << "t:ab a:CD z Z"
                                                      << "abCD"
                                                      << "0 - +ab";
    QTest::newRow("a new edit drops the redo") << "t:ab B z t:x Z"
                                               << "abx"
                                               << "";
    QTest::newRow("setting the text forgets the steps") << "t:ab s:X z"
                                                        << "X"
                                                        << "";
    QTest::newRow("nothing to undo") << "z"
                                     << ""
                                     << "";
}

void LineTextTest::undoRedo()
{
    QFETCH(QString, script);
    LineText line;
    const Change change = play(line, script);
    QTEST(line.text(), "after");
    QTEST(told(change), "change");
}

QTEST_APPLESS_MAIN(LineTextTest)
#include "line_text_test.moc"
