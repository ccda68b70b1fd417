#pragma once

#include "keysetting/date_setting.h"
#include "keysetting/machine.h"
#include "panel/geometry.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace rovanta {

class MessageInput;
class TextBox;

// How often the panel has written a cell's text or colour. A typed letter changes at most the three ring
// rows and the cells lit before and after it, so its writes stay bounded however the panel grows.
struct CellWrites {
    std::uint64_t texts = 0;
    std::uint64_t colours = 0;
};

// The machine's one window. Each event asks the machine to act, then showMachine() brings the elements
// up to the state reached, touching only what changed. The model's differences come in as its settings
// and its panel settings; the date comes through a clock so that any day can be started.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    Form1(const ModelSettings& model, const PanelSettings& panel, Clock clock, QWidget* parent = nullptr);
    ~Form1() override;

    const CellWrites& cellWrites() const { return m_cellWrites; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The panel as laid out, before start-up.
    QLabel* newCell(const QString& name, const Place& place);
    void buildRows();
    void buildWindows();
    void buildButtons();
    void buildTextBoxes();
    void buildDateBoxes();
    void buildCaptionLines();
    void setKeyboardOrder();
    template <typename Widget> Widget* placed(Widget* widget, const QString& name, const Place& place);

    // Start-up, in the machine's order.
    void startUp();
    void paintPanelGrey();
    void setup();

    // Operator actions.
    void resetPressed();
    void windowButtonPressed(int command);
    void setByDatePressed();
    void encryptPressed();
    void copyPressed();
    void selectorPressed(int selector);
    void outputEdited(const QString& text);
    void warnCapitalsOnly();

    // The state reached, onto the elements.
    void showMachine();
    void showRows();
    void showColours();
    void paintCell(int row, int cell, CellColour colour);
    void showWindows();
    void showSelectors();
    void showMessage();
    void showOutput();

    Machine m_machine;
    PanelSettings m_panel;
    Clock m_clock;

    std::array<std::array<QLabel*, kCells + 1>, kRows + 1> m_cells{};
    std::array<QLabel*, kWindows + 1> m_windows{};
    // Command1 to Command14; Command8 only on a panel with setting by date.
    std::array<QPushButton*, 15> m_commands{};
    MessageInput* m_text2 = nullptr;
    TextBox* m_text3 = nullptr;
    QComboBox* m_comboDay = nullptr;
    QComboBox* m_comboMonth = nullptr;
    QComboBox* m_comboYear = nullptr;
    QLabel* m_label11 = nullptr;
    QLabel* m_label12 = nullptr;

    // What the elements show, so that showMachine() writes only what changed.
    std::array<std::uint64_t, kRows + 1> m_shownRowRevision{};
    CellColour m_shownBase = CellColour::Standard;
    std::array<std::array<CellColour, kCells + 1>, kRows + 1> m_shownColour{};
    std::vector<CellRef> m_shownLit;
    std::array<int, kWindows + 1> m_shownWindow{};
    std::array<std::string, kSelectors + 1> m_shownCaption{};
    std::uint64_t m_shownMessageRevision = 0;
    std::uint64_t m_shownOutputRevision = 0;
    std::size_t m_shownOutputLength = 0;

    CellWrites m_cellWrites;
};

} // namespace rovanta
