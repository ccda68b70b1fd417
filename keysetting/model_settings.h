#pragma once

#include "machine/machine_state.h"

#include <array>
#include <string_view>

namespace rovanta {

// A program's built-in key texts, slots 0 to 100.
using KeyBookTexts = std::array<std::string_view, MachineState::kBookSlots>;

// Everything in which the two models differ, handed in by each program. The shared code branches on these
// in one place each: the alphabet in the position texts (machine/position.cpp), the key book in RandKeys,
// the start keys in MachineControls::takeStartKeys, the highlight in MachineControls::pressWindowButton,
// setting by date where Form1 builds its date controls, the titles where Form1 writes them.
struct ModelSettings {
    // Two-digit cells ("01") or letter cells ("A"); the key book's form follows it: 52 digits or 26 letters.
    CellAlphabet alphabet = CellAlphabet::TwoDigit;
    // Slots before firstFilledSlot are left empty.
    KeyBookTexts keybook{};
    int firstFilledSlot = 0;
    // Start-up and Reset put the selectors back to keys 1 to 4 (Reset1234); otherwise start-up copies
    // keys 1 to 4 itself and Reset keeps the operator's keys.
    bool resetRestoresStartKeys = true;
    bool windowButtonsClearHighlight = true;
    bool hasSettingByDate = true;
    std::string_view title;     // the window's title, with its leading space
    std::string_view titleLine; // the caption line Label11
};

} // namespace rovanta
