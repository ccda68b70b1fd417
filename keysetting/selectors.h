#pragma once

#include "machine/machine_state.h"

#include <optional>
#include <string>
#include <string_view>

namespace rovanta {

// A press of selector 1 to 4 (Command11 to Command14): on to the next key after the one its caption
// shows, 100 wrapping to 1, and that key into its key row. Slot 0 is never reached by a press.
void pressSelector(MachineState& machine, int selector);

// Selectors back to "Key 1" to "Key 4", and keys 1 to 4 into their key rows.
void Reset1234(MachineState& machine);

// Keys 1 to 4 into the key rows, leaving the captions alone: the four model's start-up.
void copyStartKeys(MachineState& machine);

} // namespace rovanta
