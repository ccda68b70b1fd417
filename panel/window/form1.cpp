#include "panel/window/form1.h"

#include "panel/accessible/announcer.h"
#include "panel/accessible/spoken.h"
#include "panel/accessible/texts.h"
#include "panel/icon/panel_icon.h"
#include "panel/textbox/message_input.h"
#include "panel/window/closing.h"
#include "panel/window/commands.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

#include <utility>

namespace rovanta {

namespace {

const QColor kPanelGrey(192, 192, 192);

// A palette that sets one role and leaves the others to the parent.
QPalette withColour(QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette;
    palette.setColor(role, colour);
    return palette;
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
    m_view = std::make_unique<PanelView>(shownElements());
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
    switch (commandButton(command).role) {
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
        selectorPressed(commandButton(command).selector);
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
    m_announcer->announce(spoken::windowPosition(m_machine.state(), commandButton(command).window));
}

void Form1::setByDatePressed()
{
    m_machine.setByDate(machineView(m_date->day->currentText()), machineView(m_date->month->currentText()),
                        machineView(m_date->year->currentText()));
    showMachine();
    m_text2->setFocus();
    m_announcer->announce(spoken::keysByDate(m_machine.state()));
}

void Form1::encryptPressed()
{
    const QString message = m_text2->text();
    const std::size_t before = m_shownOutput;
    const Encrypted result = m_machine.encrypt(machineView(message));
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
                         static_cast<std::size_t>(change.removed.size()), machineView(change.inserted));
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
