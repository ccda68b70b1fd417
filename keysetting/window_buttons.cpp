#include "keysetting/window_buttons.h"

namespace rovanta {

WindowButtonAction actionOf(WindowButton button)
{
    const int index = static_cast<int>(button) - static_cast<int>(WindowButton::Command2);
    return {kWindows - index / 2, index % 2 == 0 ? Step::Up : Step::Down};
}

void stepWindow(MachineState& machine, int window, Step step)
{
    const int moved = machine.window(window) + static_cast<int>(step);
    machine.setWindow(window, moved > kCells ? 1 : moved < 1 ? kCells : moved);
    machine.sortwheels();
}

} // namespace rovanta
