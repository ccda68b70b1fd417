#include "panel/window/form1.h"

#include "panel/accessible/announcer.h"
#include "panel/window/cell_label.h"
#include "panel/window/closing.h"
#include "panel/textbox/message_input.h"
#include "panel/icon/panel_icon.h"
#include "panel/accessible/spoken.h"
#include "panel/textbox/text_box.h"
#include "panel/accessible/text_box_accessible.h"
#include "panel/accessible/texts.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace rovanta {

namespace {

const QColor kPanelGrey(192, 192, 192);

QFont cellFont()
{
    return QFont(QStringLiteral("Arial"), 12, QFont::Bold);
}

QFont dateFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    return font;
}

// A palette that sets one role and leaves the others to the parent.
QPalette withColour(QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette;
    palette.setColor(role, colour);
    return palette;
}

// Qt's default style draws buttons with a gradient of its own; the classic style draws a flat face in the
// button's colour, which start-up paints panel grey, narrow date boxes whose two digits still show, and
// the text boxes' sunken frames to match.
// One instance serves every window of the process.
QStyle* classicStyle()
{
    static QStyle* const style = [] {
        QStyle* flat = QStyleFactory::create(QStringLiteral("Windows"));
        if (flat)
            flat->setParent(QCoreApplication::instance());
        return flat;
    }();
    return style;
}

void drawClassic(QWidget* widget)
{
    if (QStyle* classic = classicStyle())
        widget->setStyle(classic);
}

// A push button whose caption wraps onto a second line where it does not fit on one, as "Copy To
// ClipBoard" must on its narrow button, and that Enter presses as well as Space.
class PanelButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    // Enter and Return press a focused button as Space does: the panel has no default button to take them.
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (!enter || (event->modifiers() & ~Qt::KeypadModifier)) {
            QPushButton::keyPressEvent(event);
            return;
        }
        event->accept();
        click();
    }

    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        if (caption.isEmpty())
            return;
        QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        if (isDown())
            area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
        painter.setFont(fittingFont(caption, area));
        painter.drawItemText(area, kCaptionFlags, palette(), isEnabled(), caption, QPalette::ButtonText);
    }

private:
    static constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap;

    // The button's own font, a little smaller where a word would not fit the button otherwise.
    QFont fittingFont(const QString& caption, const QRect& area) const
    {
        QFont font = this->font();
        constexpr qreal kSmallest = 6.0;
        while (font.pointSizeF() > kSmallest) {
            const QRect needed = QFontMetrics(font).boundingRect(area, kCaptionFlags, caption);
            if (needed.width() <= area.width() && needed.height() <= area.height())
                break;
            font.setPointSizeF(font.pointSizeF() - 0.5);
        }
        return font;
    }
};

QString cellName(int row, int cell)
{
    return QStringLiteral("Label%1_%2").arg(row).arg(cell);
}

// The window buttons have no caption: their names say which window they turn, and which way.
QString windowButtonName(int command)
{
    const WindowButtonAction action = actionOf(static_cast<WindowButton>(command));
    return (action.step == Step::Up ? QStringLiteral("Window %1 up") : QStringLiteral("Window %1 down"))
        .arg(action.window);
}

// The selectors are named by their captions, which change with the key; the description says which
// selector it is.
QString selectorDescription(int selector)
{
    return QStringLiteral("Key selector %1: press for the next key").arg(selector);
}

enum class CommandRole : std::uint8_t { Reset, WindowButton, SetByDate, Encrypt, Copy, Selector };

// Command1 to Command14: the caption each is laid out with (the selectors then show the machine's
// captions), what a press does, and where the button stands in the keyboard order.
struct CommandButton {
    int number;
    const char* caption;
    CommandRole role;
    int tabPlace;
};
constexpr std::array<CommandButton, 14> kCommandButtons{{
    {1, "Reset", CommandRole::Reset, 14},
    {2, "", CommandRole::WindowButton, 8},
    {3, "", CommandRole::WindowButton, 7},
    {4, "", CommandRole::WindowButton, 6},
    {5, "", CommandRole::WindowButton, 5},
    {6, "", CommandRole::WindowButton, 4},
    {7, "", CommandRole::WindowButton, 3},
    {8, "Set By Date", CommandRole::SetByDate, 18},
    {9, "Encrypt", CommandRole::Encrypt, 2},
    {10, "Copy To ClipBoard", CommandRole::Copy, 1},
    {11, "", CommandRole::Selector, 10},
    {12, "", CommandRole::Selector, 11},
    {13, "", CommandRole::Selector, 12},
    {14, "", CommandRole::Selector, 13},
}};
static_assert(std::ranges::all_of(kCommandButtons, [](const CommandButton& command) {
    return &command == &kCommandButtons[static_cast<std::size_t>(command.number - 1)];
}));

// The other elements' places in the keyboard order, which opens in Text2.
constexpr int kText2Place = 0;
constexpr int kText3Place = 9;
constexpr int kMonthPlace = 15;
constexpr int kDayPlace = 16;
constexpr int kYearPlace = 17;
constexpr int kKeyboardPlaces = 19;

// Command11 to Command14 are the selectors Key 1 to Key 4.
constexpr int selectorOf(int command)
{
    return command - 10;
}

constexpr const CommandButton& commandOf(CommandRole role)
{
    return *std::ranges::find(kCommandButtons, role, &CommandButton::role);
}

} // namespace

Form1::Form1(const ModelSettings& model, const PanelSettings& panel, Clock clock, QWidget* parent)
    : QWidget(parent), m_machine(model), m_panel(panel), m_clock(std::move(clock))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(latinText(model.title));
    setWindowIcon(panelIcon());
    setFixedSize(pixels(kClientWidth), pixels(m_panel.clientHeight));
    // The window is fixed, so its title bar offers close and minimise but no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    buildCaptionLines();
    buildRows();
    buildWindows();
    buildButtons();
    buildTextBoxes();
    if (model.hasSettingByDate)
        buildDateControls();
    setKeyboardOrder();
    PanelElements shown{m_cells, m_rows, m_windows, {}, {}, m_text2, m_text3};
    for (const CommandButton& command : kCommandButtons) {
        if (command.role == CommandRole::Selector)
            shown.selectors[selectorOf(command.number)] = m_commands[command.number];
        if (command.role == CommandRole::WindowButton)
            shown.windowButtons[actionOf(static_cast<WindowButton>(command.number)).window].push_back(
                m_commands[command.number]);
    }
    m_view = std::make_unique<PanelView>(shown);
    m_followFocus = connect(qApp, &QApplication::focusChanged, this,
                            [this](QWidget*, QWidget* now) { m_view->describeFocus(now); });
    m_announcer = std::make_unique<Announcer>(this);
    showMachine();

    startUp();
}

// The focus moves while the widgets go, after the view is gone: the window stops following it first.
Form1::~Form1()
{
    disconnect(m_followFocus);
}

template <typename Widget> Widget* Form1::placed(Widget* widget, const QString& name, const Place& place)
{
    widget->setObjectName(name);
    widget->setGeometry(pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height));
    return widget;
}

void Form1::buildCaptionLines()
{
    m_label11 = placed(new QLabel(QStringLiteral("Label11"), this), QStringLiteral("Label11"),
                       placeOf("Label11", m_panel));
    m_label11->setAlignment(Qt::AlignCenter);
    m_label12 = placed(new QLabel(this), QStringLiteral("Label12"), placeOf("Label12", m_panel));
    m_label12->setToolTip(tr("Rovanta wheel-cipher machine: set the keys and windows, then type or Encrypt"));
    m_label12->setAccessibleName(QStringLiteral("Note"));
}

QLabel* Form1::newCell(const QString& name, const Place& place)
{
    static const QFont font = cellFont();
    QLabel* label = placed(new CellLabel(this), name, place);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(font);
    // The system's own window background and text colours until the machine paints the cell.
    label->setBackgroundRole(QPalette::Base);
    label->setForegroundRole(QPalette::Text);
    // A cell never changes size; fixed, it asks the panel for no new layout at every new text.
    label->setFixedSize(label->size());
    return label;
}

void Form1::buildRows()
{
    readCellsWithTheirRows();
    for (int row = 1; row <= kRows; ++row) {
        // Beneath its cells, a row shows nothing and takes no click: it is the line a screen reader reads.
        // Having nothing to paint, it is left out of the cells' repaints.
        m_rows[row] = placed(new QLabel(this), QStringLiteral("Label%1").arg(row), rowPlace(row));
        m_rows[row]->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_rows[row]->setUpdatesEnabled(false);
        for (int cell = 1; cell <= kCells; ++cell) {
            m_cells[row][cell] = newCell(cellName(row, cell), cellPlace(row, cell));
            static_cast<CellLabel*>(m_cells[row][cell])->setReadWithRow();
        }
    }
}

void Form1::buildWindows()
{
    for (int window = 1; window <= kWindows; ++window)
        m_windows[window] = newCell(QStringLiteral("Labelw_%1").arg(window), windowPlace(window));
}

void Form1::buildButtons()
{
    for (const CommandButton& command : kCommandButtons) {
        if (command.role == CommandRole::SetByDate)
            continue; // one of the date controls
        QPushButton* button = newCommand(command.number);
        if (command.role == CommandRole::WindowButton)
            button->setAccessibleName(windowButtonName(command.number));
        if (command.role == CommandRole::Selector)
            button->setAccessibleDescription(selectorDescription(selectorOf(command.number)));
    }
}

QPushButton* Form1::newCommand(int command)
{
    const QString name = QStringLiteral("Command%1").arg(command);
    auto* button = placed(new PanelButton(QString::fromLatin1(kCommandButtons[command - 1].caption), this),
                          name, placeOf(name.toStdString(), m_panel));
    button->setAutoDefault(false);
    drawClassic(button);
    connect(button, &QPushButton::clicked, this, [this, command] { commandPressed(command); });
    m_commands[command] = button;
    return button;
}

void Form1::buildTextBoxes()
{
    installTextBoxAccessibility();
    m_text3 = placed(new TextBox(this), QStringLiteral("Text3"), placeOf("Text3", m_panel));
    m_text2 = placed(new MessageInput([this](char32_t character) { return m_machine.type(character); }, this),
                     QStringLiteral("Text2"), placeOf("Text2", m_panel));
    m_text2->setAccessibleName(QStringLiteral("Message"));
    m_text3->setAccessibleName(QStringLiteral("Output"));
    for (TextBox* box : {static_cast<TextBox*>(m_text2), m_text3}) {
        box->setFont(cellFont());
        drawClassic(box);
    }
    connect(m_text2, &MessageInput::typed, this, &Form1::lettersTyped);
    // F2 types nothing: the operator hears the path of the last letter without leaving the message box.
    auto* pathKey = new QShortcut(QKeySequence(Qt::Key_F2), m_text2, nullptr, nullptr, Qt::WidgetShortcut);
    connect(pathKey, &QShortcut::activated, this, &Form1::speakLitPath);
    connect(m_text3, &TextBox::operatorEdited, this, &Form1::outputEdited);
}

void Form1::buildDateControls()
{
    DateControls& date = m_date.emplace();
    const QFont font = dateFont();
    struct DateBox {
        QComboBox** box;
        const char* name;
        const char* spoken;
    };
    for (auto [box, name, spoken] :
         {DateBox{&date.day, "ComboDay", "Day"}, DateBox{&date.month, "ComboMonth", "Month"},
          DateBox{&date.year, "ComboYear", "Year"}}) {
        auto* combo = placed(new QComboBox(this), QString::fromLatin1(name), placeOf(name, m_panel));
        combo->setEditable(true);
        // On Linux a screen reader names a combo box by its text, so the editor inside carries the name too,
        // and a label that is never shown tells the reader the box's name before its value.
        combo->setAccessibleName(QString::fromLatin1(spoken));
        combo->lineEdit()->setAccessibleName(QString::fromLatin1(spoken));
        auto* label = new QLabel(QString::fromLatin1(spoken), this);
        label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Name"));
        label->setBuddy(combo);
        label->hide();
        // The operator's typed text is read as it stands: no completion that turns "1" into "10", and
        // no typed text added to the list.
        combo->setCompleter(nullptr);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setFont(font);
        drawClassic(combo);
        *box = combo;
    }
    newCommand(commandOf(CommandRole::SetByDate).number);
}

void Form1::setKeyboardOrder()
{
    std::array<QWidget*, kKeyboardPlaces> order{};
    order[kText2Place] = m_text2;
    order[kText3Place] = m_text3;
    for (const CommandButton& command : kCommandButtons)
        order[command.tabPlace] = m_commands[command.number];
    if (m_date) {
        order[kMonthPlace] = m_date->month;
        order[kDayPlace] = m_date->day;
        order[kYearPlace] = m_date->year;
    }
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (!widget)
            continue; // no date controls on this panel
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void Form1::startUp()
{
    paintPanelGrey();
    m_label11->setText(latinText(m_machine.settings().titleLine));
    m_machine.startUp();
    if (m_date)
        setup();
    showMachine();
    // Text2 leads the keyboard order, so the window opens with the focus in it.
    m_text2->setFocus();
}

void Form1::paintPanelGrey()
{
    setPalette(withColour(QPalette::Window, kPanelGrey));
    setAutoFillBackground(true);
    for (QLabel* caption : {m_label11, m_label12}) {
        caption->setPalette(withColour(QPalette::Window, kPanelGrey));
        caption->setAutoFillBackground(true);
    }
    for (QPushButton* button : m_commands) {
        if (button)
            button->setPalette(withColour(QPalette::Button, kPanelGrey));
    }
}

namespace {

// Filling an empty list makes its first item current, so the text of the day is set after the list.
void fillDateBox(QComboBox& box, const std::vector<std::string>& items, const std::string& current)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items)
        list.append(QString::fromStdString(item));
    box.addItems(list);
    const QString text = QString::fromStdString(current);
    const int index = box.findText(text);
    if (index >= 0)
        box.setCurrentIndex(index);
    else
        box.setEditText(text);
}

} // namespace

void Form1::setup()
{
    const DateBoxes boxes = rovanta::setup(m_clock());
    fillDateBox(*m_date->month, boxes.monthItems, boxes.monthText);
    fillDateBox(*m_date->year, boxes.yearItems, boxes.yearText);
    fillDateBox(*m_date->day, boxes.dayItems, boxes.dayText);
}

void Form1::commandPressed(int command)
{
    switch (kCommandButtons[command - 1].role) {
    case CommandRole::Reset:
        resetPressed();
        break;
    case CommandRole::WindowButton:
        windowButtonPressed(command);
        break;
    case CommandRole::SetByDate:
        setByDatePressed();
        break;
    case CommandRole::Encrypt:
        encryptPressed();
        break;
    case CommandRole::Copy:
        copyPressed();
        break;
    case CommandRole::Selector:
        selectorPressed(selectorOf(command));
        break;
    }
}

void Form1::resetPressed()
{
    m_machine.reset();
    showMachine();
    m_text2->setFocus();
    m_announcer->announce(spoken::reset());
}

void Form1::windowButtonPressed(int command)
{
    m_machine.pressWindowButton(static_cast<WindowButton>(command));
    showMachine();
    m_announcer->announce(
        spoken::windowPosition(m_machine.state(), actionOf(static_cast<WindowButton>(command)).window));
}

void Form1::setByDatePressed()
{
    m_machine.setByDate(textView(m_date->day->currentText()), textView(m_date->month->currentText()),
                        textView(m_date->year->currentText()));
    showMachine();
    m_text2->setFocus();
    m_announcer->announce(spoken::keysByDate(m_machine.state()));
}

void Form1::encryptPressed()
{
    const QString message = m_text2->text();
    const std::size_t before = m_shownOutput;
    const Encrypted result = m_machine.encrypt(textView(message));
    if (result.outcome == EncryptOutcome::Rejected) {
        // The warning stands over the cleaned message; the box is emptied once it is closed.
        m_text2->setText(QString::fromStdU16String(result.cleaned));
        warnCapitalsOnly();
    }
    showMachine();
    m_announcer->announce(result.outcome == EncryptOutcome::Rejected
                              ? spoken::messageEmptied()
                              : spoken::enciphered(m_machine.state().output(), before));
}

void Form1::warnCapitalsOnly()
{
    QString warning = QString::fromStdU16String(std::u16string(kCapitalsOnlyText));
    warning.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::Warning, QString::fromStdU16String(std::u16string(kCapitalsOnlyTitle)),
                    warning, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    // A reader names the box by its title as it takes the focus; its words are spoken after that.
    connect(qApp, &QGuiApplication::focusWindowChanged, &box, [this, &box, warning](QWindow* focus) {
        if (focus && focus == box.windowHandle())
            m_announcer->announce(warning.simplified());
    });
    box.exec();
}

void Form1::copyPressed()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_text3->text());
    m_announcer->announce(spoken::copied(static_cast<std::size_t>(m_text3->text().size())));
}

void Form1::selectorPressed(int selector)
{
    m_machine.pressSelector(selector);
    showMachine();
    m_announcer->announce(spoken::keyOf(m_machine.state(), selector));
}

void Form1::outputEdited(const Change& change)
{
    m_machine.editOutput(static_cast<std::size_t>(change.position),
                         static_cast<std::size_t>(change.removed.size()), textView(change.inserted));
    showMachine();
}

void Form1::closeEvent(QCloseEvent* event)
{
    // The fixed size would make every resize a no-op; the movement shrinks the window to a pixel at least.
    setMinimumSize(1, 1);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // Only the window's frame moves: some window systems would repaint the whole panel at every step.
    setUpdatesEnabled(false);
    FrameGeometry frame(*this);
    closingMovement(frame);
    // The program ends the usual way once its one window is closed, so a clipboard manager can still
    // take over the copied output.
    event->accept();
}

void Form1::lettersTyped()
{
    const std::size_t before = m_shownOutput;
    showMachine();
    const QString cipher = spoken::cipherLetters(m_machine.state().output(), before);
    if (!cipher.isEmpty())
        m_announcer->announce(cipher);
}

void Form1::speakLitPath()
{
    m_announcer->announce(spoken::litPath(m_machine.state()));
}

void Form1::showMachine()
{
    m_view->show(m_machine.state());
    m_shownOutput = m_machine.state().output().size();
}

} // namespace rovanta
