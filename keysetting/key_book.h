#pragma once

#include "keysetting/model_settings.h"
#include "machine/machine_state.h"

#include <string_view>

namespace rovanta {

// Number N of a key text in the model's form: characters 2N-1 and 2N ("07") or character N ("G"). 0 when
// those characters are not a position number.
int keyNumber(CellAlphabet alphabet, std::string_view keyText, int n);

// Fills the key book from the program's built-in keys, slots firstFilledSlot to 100, once at start-up.
void RandKeys(MachineState& machine, const ModelSettings& settings);

// The highest key number a caption can name.
inline constexpr int kLastKey = MachineState::kBookSlots - 1;

// Copies key `slot` into the key row of selector 1 to 4: cell i gets Number i. The one way a key reaches
// the panel.
void copyKey(MachineState& machine, int slot, int selector);

} // namespace rovanta
