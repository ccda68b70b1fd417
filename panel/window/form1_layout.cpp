#include "panel/window/form1.h"

#include "panel/accessible/cell_reading.h"
#include "panel/accessible/text_box_accessible.h"
#include "panel/textbox/message_input.h"
#include "panel/window/cell_label.h"
#include "panel/window/commands.h"
#include "panel/window/panel_button.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

// The panel as laid out, before start-up: every element named and placed, and the keyboard order.
namespace rovanta {

namespace {

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

QString cellName(int row, int cell)
{
    return QStringLiteral("Label%1_%2").arg(row).arg(cell);
}

// The window buttons have no caption: their names say which window they turn, and which way.
QString windowButtonName(int command)
{
    const WindowButtonAction action = actionOf(static_cast<WindowButton>(command));
    return (action.step == WindowStep::Up ? QStringLiteral("Window %1 up") : QStringLiteral("Window %1 down"))
        .arg(action.window);
}

// The selectors are named by their captions, which change with the key; the description says which
// selector it is.
QString selectorDescription(int selector)
{
    return QStringLiteral("Key selector %1: press for the next key").arg(selector);
}

// An element named as the panel names it, at its place.
template <typename Widget> Widget* placeElement(Widget* widget, const QString& name, const Place& place)
{
    widget->setObjectName(name);
    widget->setGeometry(pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height));
    return widget;
}

} // namespace

void Form1::buildCaptionLines()
{
    m_label11 = placeElement(new QLabel(QStringLiteral("Label11"), this), QStringLiteral("Label11"),
                             placeOf("Label11", m_panel));
    m_label11->setAlignment(Qt::AlignCenter);
    m_label12 = placeElement(new QLabel(this), QStringLiteral("Label12"), placeOf("Label12", m_panel));
    m_label12->setToolTip(tr("Rovanta wheel-cipher machine: set the keys and windows, then type or Encrypt"));
    m_label12->setAccessibleName(QStringLiteral("Note"));
}

QLabel* Form1::newCell(const QString& name, const Place& place)
{
    static const QFont font = cellFont();
    QLabel* label = placeElement(new CellLabel(this), name, place);
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
    for (int row = 1; row <= kRows; ++row) {
        // Beneath its cells, a row shows nothing and takes no click: it is the line a screen reader reads.
        // Having nothing to paint, it is left out of the cells' repaints.
        m_rows[row] = placeElement(new QLabel(this), QStringLiteral("Label%1").arg(row), rowPlace(row));
        m_rows[row]->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_rows[row]->setUpdatesEnabled(false);
        for (int cell = 1; cell <= kCells; ++cell) {
            m_cells[row][cell] = newCell(cellName(row, cell), cellPlace(row, cell));
            readWithRow(*m_cells[row][cell]);
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
            button->setAccessibleDescription(selectorDescription(command.selector));
    }
}

QPushButton* Form1::newCommand(int command)
{
    const QString name = QStringLiteral("Command%1").arg(command);
    auto* button = placeElement(new PanelButton(QString::fromLatin1(commandButton(command).caption), this),
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
    m_text3 = placeElement(new TextBox(this), QStringLiteral("Text3"), placeOf("Text3", m_panel));
    m_text2 =
        placeElement(new MessageInput([this](char32_t character) { return m_machine.type(character); }, this),
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
        auto* combo = placeElement(new QComboBox(this), QString::fromLatin1(name), placeOf(name, m_panel));
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

PanelElements Form1::shownElements() const
{
    PanelElements shown{m_cells, m_rows, m_windows, {}, {}, m_text2, m_text3};
    for (const CommandButton& command : kCommandButtons) {
        if (command.role == CommandRole::Selector)
            shown.selectors[command.selector] = m_commands[command.number];
        if (command.role == CommandRole::WindowButton)
            shown.windowButtons[command.window].push_back(m_commands[command.number]);
    }
    return shown;
}

} // namespace rovanta
