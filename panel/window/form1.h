#pragma once

#include "keysetting/date_setting.h"
#include "keysetting/machine_controls.h"
#include "panel/window/commands.h"
#include "panel/window/geometry.h"
#include "panel/window/panel_view.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace rovanta {

class Announcer;
struct Change;
class MessageInput;
class TextBox;

// The machine's one window. Each event asks the machine to act, then showMachine() brings the elements
// up to the state reached, touching only what changed (PanelView). The model's differences come in as its
// settings and its panel settings; the date comes through a clock so that any day can be started.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    Form1(const ModelSettings& model, const PanelSettings& panel, Clock clock, QWidget* parent = nullptr);
    ~Form1() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The panel as laid out, before start-up.
    QLabel* newCell(const QString& name, const Place& place);
    void buildRows();
    void buildWindows();
    void buildButtons();
    void buildTextBoxes();
    void buildDateControls();
    void buildCaptionLines();
    void setKeyboardOrder();
    QPushButton* newCommand(int command);
    PanelElements shownElements() const;

    // Start-up, in the machine's order.
    void startUp();
    void paintPanelGrey();
    void setup();

    // Operator actions: a command button's press is passed on by what the button does.
    void commandPressed(int command);
    void resetPressed();
    void windowButtonPressed(int command);
    void setByDatePressed();
    void encryptPressed();
    void copyPressed();
    void selectorPressed(int selector);
    void outputEdited(const Change& change);
    void warnCapitalsOnly();
    void lettersTyped();
    void speakLitPath();

    // The state reached, onto the elements.
    void showMachine();

    MachineControls m_machine;
    PanelSettings m_panel;
    Clock m_clock;

    std::array<std::array<QLabel*, kCells + 1>, kRows + 1> m_cells{};
    std::array<QLabel*, kRows + 1> m_rows{};
    std::array<QLabel*, kWindows + 1> m_windows{};
    // Command1 to Command14 at their numbers; Command8 is one of the date controls.
    std::array<QPushButton*, kCommandButtons.size() + 1> m_commands{};
    MessageInput* m_text2 = nullptr;
    TextBox* m_text3 = nullptr;
    QLabel* m_label11 = nullptr;
    QLabel* m_label12 = nullptr;
    // Only on a panel with setting by date.
    struct DateControls {
        QComboBox* day = nullptr;
        QComboBox* month = nullptr;
        QComboBox* year = nullptr;
    };
    std::optional<DateControls> m_date;

    std::unique_ptr<PanelView> m_view;
    std::unique_ptr<Announcer> m_announcer;
    QMetaObject::Connection m_followFocus;
    // How long the output was when last shown: what an event appends after it is what it enciphered.
    std::size_t m_shownOutput = 0;
};

} // namespace rovanta
