// The panel as laid out: every element's place and size, the window, fonts, colours and keyboard order.
#include "tests/panel/panel_test_support.h"

#include "panel/icon/panel_icon.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <array>

using namespace rovanta;
using namespace rovanta::test;

namespace {

// A place given in twips as left, top, width and height, in the toolkit's pixels.
QRect pixelRect(const QRect& twips)
{
    return {pixels(twips.left()), pixels(twips.top()), pixels(twips.width()), pixels(twips.height())};
}

// The panel as designed, from tests/panel_layout.txt: places in twips by model and element name, the tops
// of the rows and the lefts of the columns of cells, and every cell's size.
struct DesignedLayout {
    QMap<QString, QMap<QString, QRect>> places;
    std::array<int, kRows + 1> rowTop{};
    std::array<int, kCells + 1> columnLeft{};
    QSize cell;
};

const DesignedLayout& designedLayout()
{
    static const DesignedLayout layout = [] {
        DesignedLayout read;
        QFile file(QStringLiteral(ROVANTA_PANEL_LAYOUT));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            qFatal("cannot read %s", ROVANTA_PANEL_LAYOUT);
        while (!file.atEnd()) {
            const QStringList words =
                QString::fromLatin1(file.readLine()).simplified().split(QLatin1Char(' '));
            const QString& kind = words.first();
            const auto number = [&](qsizetype i) { return words.at(i).toInt(); };
            if (kind == QLatin1String("place")) {
                const QRect twips(number(3), number(4), number(5), number(6));
                for (const char* model : {"v5", "v4"}) {
                    if (words.at(1) == QLatin1String(model) || words.at(1) == QLatin1String("both"))
                        read.places[QLatin1String(model)][words.at(2)] = twips;
                }
            } else if (kind == QLatin1String("rows")) {
                for (int row = 1; row <= kRows; ++row)
                    read.rowTop[std::size_t(row)] = number(row);
            } else if (kind == QLatin1String("columns")) {
                for (int cell = 1; cell <= kCells; ++cell)
                    read.columnLeft[std::size_t(cell)] = number(cell);
            } else if (kind == QLatin1String("cell")) {
                read.cell = QSize(number(1), number(2));
            }
        }
        return read;
    }();
    return layout;
}

// The element of the panel that holds the focus, when the focus sits inside one (a date box's editor).
QString focusedElement(const QWidget& form)
{
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (widget->parentWidget() == &form)
            return widget->objectName();
    }
    return {};
}

QImage pixelsOf(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void elementPlaces_data();
    void elementPlaces();
    void designedPixels_data();
    void designedPixels();
    void cells_data();
    void cells();
    void cellsPaintAsPlainLabels_data();
    void cellsPaintAsPlainLabels();
    void window_data();
    void window();
    void fonts_data();
    void fonts();
    void captions_data();
    void captions();
    void designTexts_data();
    void designTexts();
    void onlyControlsTakeTheFocus();
    void keyboardOrder_data();
    void keyboardOrder();
    void fourModelHasNoDateControls();
    void spokenNames_data();
    void spokenNames();
};

void LayoutTest::elementPlaces_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    const DesignedLayout& layout = designedLayout();
    for (const QString& model : {QStringLiteral("v5"), QStringLiteral("v4")}) {
        const QMap<QString, QRect>& places = layout.places[model];
        for (auto place = places.begin(); place != places.end(); ++place)
            QTest::addRow("%s %s", qPrintable(model), qPrintable(place.key()))
                << model << place.key() << place.value();
    }
    QVERIFY(!layout.places[QStringLiteral("v4")].isEmpty());
}

void LayoutTest::elementPlaces()
{
    QFETCH(QString, model);
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    Window window(test::model(model));
    QWidget* widget = element<QWidget>(window.form, name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), pixelRect(twips));
}

// The rounding from twips to pixels, worked out by hand.
void LayoutTest::designedPixels_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("v5 Command1 top 6100 rounds to 407") << "v5"
                                                        << "Command1" << QRect(24, 407, 57, 20);
    QTest::newRow("v4 Label12 reaches past the client area") << "v4"
                                                             << "Label12" << QRect(0, 456, 953, 17);
    QTest::newRow("day and month boxes overlap by 3") << "v5"
                                                      << "ComboMonth" << QRect(133, 400, 40, 24);
    QTest::newRow("v4 Label10 cell 26") << "v4"
                                        << "Label10_26" << QRect(904, 48, 27, 20);
}

void LayoutTest::designedPixels()
{
    QFETCH(QString, model);
    QFETCH(QString, name);
    QFETCH(QRect, expected);
    Window window(test::model(model));
    QCOMPARE(element<QWidget>(window.form, name)->geometry(), expected);
}

// Every cell of the ten rows in its column and on its row's line, bordered, its text centred.
void LayoutTest::cells_data()
{
    QTest::addColumn<QString>("model");
    for (const char* name : {"v5", "v4"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void LayoutTest::cells()
{
    QFETCH(QString, model);
    Window window(test::model(model));
    for (int row = 1; row <= kRows; ++row) {
        for (int cell = 1; cell <= kCells; ++cell) {
            const auto* label = element<QLabel>(window.form, QStringLiteral("Label%1_%2").arg(row).arg(cell));
            QVERIFY(label);
            const DesignedLayout& layout = designedLayout();
            const QRect twips(QPoint(layout.columnLeft[std::size_t(cell)], layout.rowTop[std::size_t(row)]),
                              layout.cell);
            QVERIFY2(label->geometry() == pixelRect(twips), qPrintable(label->objectName()));
            QCOMPARE(label->alignment(), Qt::AlignCenter);
            QCOMPARE(label->frameShape(), QFrame::Box);
            QCOMPARE(label->frameShadow(), QFrame::Plain);
            QCOMPARE(label->lineWidth(), 1);
        }
    }
}

// The cells paint themselves the cheap way; what they show must be what a plain bordered label with the
// same text, font and colours shows, lit or not, before the first clearing and after.
void LayoutTest::cellsPaintAsPlainLabels_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QByteArray>("typed");
    QTest::newRow("v5 at start") << "v5" << QByteArray();
    QTest::newRow("v5 after a letter") << "v5" << QByteArray("q");
    QTest::newRow("v4 after letters") << "v4" << QByteArray("rovanta");
}

void LayoutTest::cellsPaintAsPlainLabels()
{
    QFETCH(QString, model);
    QFETCH(QByteArray, typed);
    Window window(test::model(model));
    typeInto(window.form, typed.toStdString());
    static const QRegularExpression cellName(QStringLiteral("^Label(\\d+_\\d+|w_\\d)$"));
    for (QLabel* cell : window.form.findChildren<QLabel*>(cellName, Qt::FindDirectChildrenOnly)) {
        QLabel plain(cell->text());
        plain.setFixedSize(cell->size());
        plain.setFont(cell->font());
        plain.setFrameStyle(cell->frameStyle());
        plain.setLineWidth(cell->lineWidth());
        plain.setAlignment(cell->alignment());
        plain.setPalette(cell->palette());
        plain.setBackgroundRole(cell->backgroundRole());
        plain.setForegroundRole(cell->foregroundRole());
        plain.setAutoFillBackground(true);
        QVERIFY2(pixelsOf(*cell) == pixelsOf(plain), qPrintable(cell->objectName()));
    }
}

void LayoutTest::window_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("clientSize");
    QTest::newRow("v5") << "v5"
                        << " Rovanta Machine V5.1" << QSize(954, 474);
    QTest::newRow("v4") << "v4"
                        << " Rovanta Machine V4" << QSize(954, 472);
}

void LayoutTest::window()
{
    QFETCH(QString, model);
    QFETCH(QString, title);
    QFETCH(QSize, clientSize);
    Window window(test::model(model));
    QCOMPARE(window.form.objectName(), QStringLiteral("Form1"));
    QCOMPARE(window.form.windowTitle(), title);
    QCOMPARE(window.form.size(), clientSize);
    QCOMPARE(window.form.minimumSize(), clientSize);
    QCOMPARE(window.form.maximumSize(), clientSize);
    const QList<QSize> iconSizes = window.form.windowIcon().availableSizes();
    for (const int size : kPanelIconSizes) {
        QVERIFY(iconSizes.contains(QSize(size, size)));
        const QImage icon = panelIconImage(size);
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.colorCount() <= 16);
        // Laid out for its size, even the smallest keeps the frame, its shadow, the white cells and both
        // ways of the path.
        QSet<QRgb> colours;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x)
                colours.insert(icon.pixel(x, y));
        }
        QCOMPARE(colours.size(), 6);
    }

    const auto* label12 = element<QLabel>(window.form, QStringLiteral("Label12"));
    QVERIFY(label12->text().isEmpty());
    QVERIFY(!label12->toolTip().isEmpty());
    QVERIFY(!label12->toolTip().contains(QLatin1Char('\n')));
}

void LayoutTest::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("family"); // empty: the toolkit's default font
    QTest::addColumn<qreal>("points");
    QTest::newRow("cell") << "Label3_1"
                          << "Arial" << 12.0;
    QTest::newRow("window") << "Labelw_2"
                            << "Arial" << 12.0;
    QTest::newRow("message") << "Text2"
                             << "Arial" << 12.0;
    QTest::newRow("output") << "Text3"
                            << "Arial" << 12.0;
    QTest::newRow("day") << "ComboDay"
                         << "Courier New" << 9.75;
    QTest::newRow("year") << "ComboYear"
                          << "Courier New" << 9.75;
    QTest::newRow("button") << "Command9"
                            << "" << 0.0;
    QTest::newRow("caption line") << "Label11"
                                  << "" << 0.0;
}

void LayoutTest::fonts()
{
    QFETCH(QString, name);
    QFETCH(QString, family);
    QFETCH(qreal, points);
    Window window(fivePointOne());
    const QFont font = element<QWidget>(window.form, name)->font();
    if (family.isEmpty()) {
        QCOMPARE(font, QApplication::font());
        return;
    }
    QCOMPARE(font.family(), family);
    QCOMPARE(font.pointSizeF(), points);
    QVERIFY(font.bold());
}

void LayoutTest::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Command1") << "Command1"
                              << "Reset";
    QTest::newRow("Command8") << "Command8"
                              << "Set By Date";
    QTest::newRow("Command9") << "Command9"
                              << "Encrypt";
    QTest::newRow("Command10") << "Command10"
                               << "Copy To ClipBoard";
    QTest::newRow("Command11") << "Command11"
                               << "Key 1";
    QTest::newRow("Command14") << "Command14"
                               << "Key 4";
    for (int command = 2; command <= 7; ++command)
        QTest::addRow("window button Command%d", command) << QStringLiteral("Command%1").arg(command) << "";
}

void LayoutTest::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Window window(fivePointOne());
    QCOMPARE(element<QPushButton>(window.form, name)->text(), caption);
}

void LayoutTest::designTexts_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    const QString numbers = QStringLiteral("0102030405060708091011121314151617181920212223242526");
    QString reversed;
    for (int n = 26; n >= 1; --n)
        reversed += QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    for (int row : {1, 3, 5, 7, 9})
        QTest::addRow("v5 Label%d", row) << "v5" << row << numbers;
    QTest::newRow("v5 Label10") << "v5" << 10 << reversed;
    for (int row : {1, 3, 5, 7, 9})
        QTest::addRow("v4 Label%d", row) << "v4" << row << "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QTest::newRow("v4 Label10") << "v4" << 10 << "ZYXWVUTSRQPONMLKJIHGFEDCBA";
}

void LayoutTest::designTexts()
{
    QFETCH(QString, model);
    QFETCH(int, row);
    QFETCH(QString, text);
    Window window(test::model(model));
    QCOMPARE(rowText(window.form, row), text);
    for (int w = 1; w <= kWindows; ++w)
        QCOMPARE(windowText(window.form, w), QStringLiteral("01"));
}

void LayoutTest::onlyControlsTakeTheFocus()
{
    Window window(fivePointOne());
    for (const QLabel* label : window.form.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
}

void LayoutTest::keyboardOrder_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("order");
    const QStringList shared{"Text2",     "Command10", "Command9",  "Command7",  "Command6",
                             "Command5",  "Command4",  "Command3",  "Command2",  "Text3",
                             "Command11", "Command12", "Command13", "Command14", "Command1"};
    QTest::newRow("v5") << "v5" << shared + QStringList{"ComboMonth", "ComboDay", "ComboYear", "Command8"};
    QTest::newRow("v4 ends at Command1") << "v4" << shared;
}

void LayoutTest::keyboardOrder()
{
    QFETCH(QString, model);
    QFETCH(QStringList, order);
    Window window(test::model(model));
    window.form.show();
    window.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window.form));
    QCOMPARE(focusedElement(window.form), QStringLiteral("Text2"));
    QStringList visited{focusedElement(window.form)};
    for (qsizetype i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusedElement(window.form);
    }
    QCOMPARE(visited, order + QStringList{"Text2"});
}

void LayoutTest::fourModelHasNoDateControls()
{
    Window window(four());
    for (const char* name : {"ComboDay", "ComboMonth", "ComboYear", "Command8"})
        QVERIFY2(!element<QWidget>(window.form, QString::fromLatin1(name)), name);
    QVERIFY(!window.form.findChild<QComboBox*>());
}

void LayoutTest::spokenNames_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("five-point-one") << "v5";
    QTest::newRow("four") << "v4";
}

namespace {

QString spokenName(QWidget* widget)
{
    // On Linux a combo box is spoken by its text: a reader names the date box by its label.
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        const auto labels = QAccessible::queryAccessibleInterface(combo)->relations(QAccessible::Label);
        return labels.size() == 1 ? labels.front().first->text(QAccessible::Name) : QString();
    }
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(widget);
    return spoken ? spoken->text(QAccessible::Name) : QString();
}

// A row's line: some name, then its cells' texts in column order, then where it is lit.
QString rowLine(const QWidget& form, int row)
{
    QStringList texts;
    for (int cell = 1; cell <= kCells; ++cell)
        texts << cellText(form, row, cell);
    return texts.join(u' ');
}

} // namespace

// What a screen reader says of each element: every control, window and row has a name of its own; a
// button's name follows its caption, a window's its position, a row's its cells and the lit path.
void LayoutTest::spokenNames()
{
    QFETCH(QString, model);
    Window window(test::model(model));
    typeInto(window.form, "L");
    press(window.form, QStringLiteral("Command14"));
    QSet<QString> names;
    QStringList unnamed;
    const auto named = [&](QWidget* widget) {
        const QString name = spokenName(widget);
        if (name.trimmed().isEmpty() || names.contains(name))
            unnamed << widget->objectName() + u'=' + name;
        names.insert(name);
        return name;
    };
    for (QWidget* widget : window.form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(&window.form))
            continue;
        const QString name = named(widget);
        if (auto* button = qobject_cast<QPushButton*>(widget); button && !button->text().isEmpty())
            QCOMPARE(name, button->text());
    }
    for (int w = 1; w <= kWindows; ++w)
        QVERIFY(named(element<QWidget>(window.form, QStringLiteral("Labelw_%1").arg(w)))
                    .endsWith(windowText(window.form, w)));
    for (int row = 1; row <= kRows; ++row) {
        const QString name = named(element<QWidget>(window.form, QStringLiteral("Label%1").arg(row)));
        const QRegularExpression line(QStringLiteral("^.+: %1((?:; (?:red|yellow) at \\d+)*)$")
                                          .arg(QRegularExpression::escape(rowLine(window.form, row))));
        const QRegularExpressionMatch match = line.match(name);
        QVERIFY2(match.hasMatch(), qPrintable(name));
        QStringList colours;
        const QRegularExpression litCell(QStringLiteral("(red|yellow) at (\\d+)"));
        for (const auto& lit : litCell.globalMatch(match.captured(1))) {
            colours << lit.captured(1);
            QCOMPARE(cellBackground(window.form, row, lit.captured(2).toInt()), QColor(lit.captured(1)));
        }
        colours.sort();
        QCOMPARE(colours, (QStringList{"red", "yellow"})); // one letter crosses every row once each way
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1String(", "))));
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
