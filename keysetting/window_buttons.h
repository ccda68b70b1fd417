#pragma once

#include "machine/machine_state.h"

#include <array>
#include <cstdint>

namespace rovanta {

// The six window buttons, named as on the panel.
enum class WindowButton : std::uint8_t { Command2 = 2, Command3, Command4, Command5, Command6, Command7 };

enum class Step : std::int8_t { Down = -1, Up = 1 };

struct WindowButtonAction {
    int window;
    Step step;
};

// Command2/3 turn window 3, Command4/5 window 2, Command6/7 window 1; the first of each pair steps up.
WindowButtonAction actionOf(WindowButton button);

// One window one step, wrapping within 1 to 26, with no carry into its neighbour; the rings follow.
void stepWindow(MachineState& machine, int window, Step step);

} // namespace rovanta
