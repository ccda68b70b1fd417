#pragma once

#include "machine/machine_state.h"

#include <QTimer>

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QWidget;

namespace rovanta {

class TextBox;

// The elements that show the machine's state.
struct PanelElements {
    std::array<std::array<QLabel*, kCells + 1>, kRows + 1> cells{};
    // What a screen reader reads of each row: its cells' texts and its lit cells, as one line.
    std::array<QLabel*, kRows + 1> rows{};
    std::array<QLabel*, kWindows + 1> windows{};
    std::array<QPushButton*, kSelectors + 1> selectors{};
    // Each window's two buttons, which tell a reader where their window stands.
    std::array<std::vector<QPushButton*>, kWindows + 1> windowButtons{};
    TextBox* message = nullptr;
    TextBox* output = nullptr;
};

// Brings the elements up to the machine's state at the end of an event, writing only what changed since
// the last show. It alone knows what each element shows, so an event only acts on the machine and then
// shows the state reached.
class PanelView {
public:
    explicit PanelView(const PanelElements& elements);

    void show(const MachineState& state);
    // Brings a window button's spoken description up to date as the focus comes to it.
    void describeFocus(QWidget* focus);

private:
    void showRows(const MachineState& state);
    void showColours(const MachineState& state);
    void nameRowsWhenStill(const MachineState& state);
    void nameRows(const MachineState& state);
    void paintCell(int row, int cell, CellColour colour);
    void repaintTogether(QLabel* first, QLabel* last);
    void showWindows(const MachineState& state);
    void describeWindowButton(QPushButton* button, int window);
    void showSelectors(const MachineState& state);
    void showMessage(const MachineState& state);
    void showOutput(const MachineState& state);

    PanelElements m_elements;

    std::array<std::uint64_t, kRows + 1> m_shownRowRevision{};
    CellColour m_shownBase = CellColour::Standard;
    std::array<std::array<CellColour, kCells + 1>, kRows + 1> m_shownColour{};
    std::vector<CellRef> m_shownLit;
    // Rows whose texts or lit cells may have changed since their names were last written.
    std::array<bool, kRows + 1> m_rowToName{};
    static constexpr std::chrono::milliseconds kStill{150};
    QTimer m_naming;
    const MachineState* m_named = nullptr;
    std::array<int, kWindows + 1> m_shownWindow{};
    std::array<std::string, kSelectors + 1> m_shownCaption{};
    std::uint64_t m_shownMessageRevision = 0;
    std::uint64_t m_shownOutputRevision = 0;
    std::uint64_t m_shownOutputEdit = 0;
    std::size_t m_shownOutputLength = 0;
};

} // namespace rovanta
