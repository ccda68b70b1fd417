#pragma once

#include "machine/machine_state.h"

#include <array>
#include <cstdint>

namespace rovanta {

// The six window buttons, named as on the panel.
enum class WindowButton : std::uint8_t { Command2 = 2, Command3, Command4, Command5, Command6, Command7 };

// Which way a window button turns its window.
enum class WindowStep : std::int8_t { Down = -1, Up = 1 };

struct WindowButtonAction {
    int window;
    WindowStep step;
};

// Command2/3 turn window 3, Command4/5 window 2, Command6/7 window 1; the first of each pair steps up.
constexpr WindowButtonAction actionOf(WindowButton button)
{
    const int index = static_cast<int>(button) - static_cast<int>(WindowButton::Command2);
    return {kWindows - index / 2, index % 2 == 0 ? WindowStep::Up : WindowStep::Down};
}

// One window one step, wrapping within 1 to 26, with no carry into its neighbour; the rings follow.
void stepWindow(MachineState& machine, int window, WindowStep step);

} // namespace rovanta
