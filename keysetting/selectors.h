#pragma once

#include "machine/machine_state.h"

#include <optional>
#include <string>
#include <string_view>

namespace rovanta {

// The caption of key number n: "Key " and n in plain decimal ("Key 7", "Key 100").
std::string selectorCaption(int keyNumber);
// "Key " and a number's text as it stands ("Key 06" from the day "06").
std::string selectorCaption(std::string_view number);

// The key number a caption shows: "Key " followed by one or more digits whose value is 0 to 100. Set By
// Date writes captions with a leading zero ("Key 06", "Key 00"); they show 6 and 0.
std::optional<int> keyNumberOfCaption(std::string_view caption);

// A press of selector 1 to 4 (Command11 to Command14): on to the next key after the one its caption
// shows, 100 wrapping to 1, and that key into its key row. Slot 0 is never reached by a press.
void pressSelector(MachineState& machine, int selector);

// Selectors back to "Key 1" to "Key 4", and keys 1 to 4 into their key rows.
void Reset1234(MachineState& machine);

// Keys 1 to 4 into the key rows, leaving the captions alone: the four model's start-up.
void copyStartKeys(MachineState& machine);

} // namespace rovanta
