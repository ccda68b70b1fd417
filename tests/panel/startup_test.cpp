// Start-up in the machine's order, the date boxes it fills, and the closing movement.
#include "tests/panel/panel_test_support.h"

#include "panel/window/closing.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace rovanta;
using namespace rovanta::test;

namespace {

// Records, in order, each element of a window that is given a palette of its own.
class PaletteLog : public QObject {
public:
    PaletteLog() { qApp->installEventFilter(this); }
    ~PaletteLog() override { qApp->removeEventFilter(this); }
    QStringList painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::PaletteChange && widget && widget->testAttribute(Qt::WA_SetPalette) &&
            !painted.contains(widget->objectName()))
            painted << widget->objectName();
        return false;
    }
};

// A window system as the closing movement sees it, in twips, that can refuse or clamp what it is asked.
class FakeGeometry final : public WindowGeometry {
public:
    FakeGeometry(int top, int screenWidth, int smallest, int lowestTop)
        : m_top(top), m_screenWidth(screenWidth), m_smallest(smallest), m_lowestTop(lowestTop)
    {
    }

    int left() const override { return m_left; }
    int top() const override { return m_top; }
    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void setLeft(int twips) override { m_left = twips; }
    void setTop(int twips) override
    {
        m_top = std::min(twips, m_lowestTop);
        ++m_passes;
    }
    void setWidth(int twips) override { m_width = std::max(twips, m_smallest); }
    void setHeight(int twips) override { m_height = std::max(twips, m_smallest); }
    int screenWidth() const override { return m_screenWidth; }
    int passes() const { return m_passes; }

private:
    int m_passes = 0;
    int m_left = 1500;
    int m_top;
    int m_width = 14430;
    int m_height = 7530;
    int m_screenWidth;
    int m_smallest;
    int m_lowestTop;
};

} // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void paintsInOrder_data();
    void paintsInOrder();
    void startState_data();
    void startState();
    void dateBoxes_data();
    void dateBoxes();
    void closingMovement_data();
    void closingMovement();
};

void StartUpTest::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void StartUpTest::paintsInOrder_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("order");
    QStringList v5{"Form1", "Label11", "Label12"};
    QStringList v4 = v5;
    for (int command = 1; command <= 14; ++command) {
        v5 << QStringLiteral("Command%1").arg(command);
        if (command != 8)
            v4 << QStringLiteral("Command%1").arg(command);
    }
    QTest::newRow("v5") << "v5" << v5;
    QTest::newRow("v4 has no Command8") << "v4" << v4;
}

void StartUpTest::paintsInOrder()
{
    QFETCH(QString, model);
    QFETCH(QStringList, order);
    PaletteLog log;
    Window window(test::model(model));
    QCOMPARE(log.painted, order);

    const QColor grey(192, 192, 192);
    QCOMPARE(window.form.palette().color(QPalette::Window), grey);
    for (const char* caption : {"Label11", "Label12"}) {
        const auto* label = element<QLabel>(window.form, QString::fromLatin1(caption));
        QCOMPARE(label->palette().color(QPalette::Window), grey);
        QVERIFY(label->autoFillBackground());
    }
    for (const QPushButton* button : window.form.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        QCOMPARE(button->palette().color(QPalette::Button), grey);
}

void StartUpTest::startState_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("titleLine");
    QTest::newRow("v5") << "v5"
                        << "Rovanta Machine V5.1";
    QTest::newRow("v4") << "v4"
                        << "Rovanta Machine V4";
}

void StartUpTest::startState()
{
    QFETCH(QString, model);
    QFETCH(QString, titleLine);
    const Model machine = test::model(model);
    Window window(machine);
    QCOMPARE(element<QLabel>(window.form, QStringLiteral("Label11"))->text(), titleLine);
    // Keys 1 to 4 of a book that is already complete, in the rows of Key 1 to Key 4.
    for (int selector = 1; selector <= kSelectors; ++selector) {
        QCOMPARE(element<QPushButton>(window.form, QStringLiteral("Command%1").arg(10 + selector))->text(),
                 QStringLiteral("Key %1").arg(selector));
        QCOMPARE(rowText(window.form, 10 - 2 * selector), keyAsShown(machine, selector));
    }
    // Every cell keeps the panel's standard colours: the system's Base and Text.
    for (int row = 1; row <= kRows; ++row) {
        for (int cell = 1; cell <= kCells; ++cell) {
            const auto* label = element<QLabel>(window.form, QStringLiteral("Label%1_%2").arg(row).arg(cell));
            QVERIFY(!label->testAttribute(Qt::WA_SetPalette));
            QCOMPARE(label->backgroundRole(), QPalette::Base);
            QCOMPARE(label->foregroundRole(), QPalette::Text);
        }
    }
}

// The days of each month and the lists are the date setting's (core tests); the panel shows them in three
// editable boxes, today's date standing in them even when the year is past the list.
void StartUpTest::dateBoxes_data()
{
    QTest::addColumn<QDate>("today");
    QTest::newRow("February of a leap year") << QDate(2024, 2, 29);
    QTest::newRow("a year past the list") << QDate(2101, 7, 4);
}

void StartUpTest::dateBoxes()
{
    QFETCH(QDate, today);
    const CalendarDate date{today.year(), today.month(), today.day()};
    Window window(fivePointOne(), date);
    const DateBoxes expected = setup(date);
    const std::array<std::pair<const char*, const std::vector<std::string>*>, 3> lists{
        {{"ComboDay", &expected.dayItems},
         {"ComboMonth", &expected.monthItems},
         {"ComboYear", &expected.yearItems}}};
    const std::array<QString, 3> shownToday{today.toString(QStringLiteral("dd")),
                                            today.toString(QStringLiteral("MM")),
                                            today.toString(QStringLiteral("yyyy"))};
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const auto* box = element<QComboBox>(window.form, QString::fromLatin1(lists[i].first));
        QVERIFY(box->isEditable());
        QCOMPARE(box->currentText(), shownToday[i]);
        QStringList items;
        for (const std::string& item : *lists[i].second)
            items << QString::fromStdString(item);
        QCOMPARE(box->count(), items.size());
        for (int item = 0; item < box->count(); ++item)
            QCOMPARE(box->itemText(item), items[item]);
    }
}

void StartUpTest::closingMovement_data()
{
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<int>("smallest");
    QTest::addColumn<int>("lowestTop");
    QTest::addColumn<int>("millisecondsPerPass");
    QTest::addColumn<int>("passes");
    QTest::addColumn<int>("finalTop");
    constexpr int kAnywhere = 1'000'000;
    QTest::newRow("1920 pixels wide, top at 1500") << 1500 << 28800 << 15 << kAnywhere << 0 << 911 << 28830;
    QTest::newRow("top already past the width") << 30000 << 28800 << 15 << kAnywhere << 0 << 1 << 30030;
    QTest::newRow("top exactly at the width") << 28800 << 28800 << 15 << kAnywhere << 0 << 1 << 28830;
    QTest::newRow("sizes refused throughout") << 1500 << 28800 << 14430 << kAnywhere << 0 << 911 << 28830;
    QTest::newRow("every move refused") << 1500 << 28800 << 15 << 1500 << 0 << 26 << 1500;
    QTest::newRow("moves clamped part of the way") << 1500 << 28800 << 15 << 9000 << 0 << 250 + 26 << 9000;
    // Eight milliseconds a pass, as under wine: the time limit ends the movement before the width.
    QTest::newRow("every pass slow") << 1500 << 28800 << 15 << kAnywhere << 8 << 125 << 1500 + 125 * 30;
}

void StartUpTest::closingMovement()
{
    QFETCH(int, top);
    QFETCH(int, screenWidth);
    QFETCH(int, smallest);
    QFETCH(int, lowestTop);
    QFETCH(int, millisecondsPerPass);
    QFETCH(int, passes);
    QFETCH(int, finalTop);
    FakeGeometry window(top, screenWidth, smallest, lowestTop);
    const ClosingClock elapsed = [&window, millisecondsPerPass] {
        return std::chrono::milliseconds(window.passes() * millisecondsPerPass);
    };
    QCOMPARE(rovanta::closingMovement(window, elapsed), passes);
    QCOMPARE(window.top(), finalTop);
    QCOMPARE(window.left(), 1500 + 30 * passes);
    QCOMPARE(window.width(), std::max(14430 - 60 * passes, smallest));
    QCOMPARE(window.height(), std::max(7530 - 60 * passes, smallest));
}

QTEST_MAIN(StartUpTest)
#include "startup_test.moc"
