#include "keysetting/window_buttons.h"

namespace rovanta {

void stepWindow(MachineState& machine, int window, WindowStep step)
{
    const int moved = machine.window(window) + static_cast<int>(step);
    machine.setWindow(window, moved > kCells ? 1 : moved < 1 ? kCells : moved);
    machine.sortwheels();
}

} // namespace rovanta
