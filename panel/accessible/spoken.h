#pragma once

#include "machine/machine_state.h"

#include <QString>

#include <cstddef>
#include <string_view>

// What the machine says to an operator who works it by ear: each result in a few words, the thing asked
// about first.
namespace rovanta::spoken {

// The cipher letters an event appended to the output.
QString cipherLetters(std::u16string_view output, std::size_t from);
// Encrypt's result: how many letters, then the cipher text, only its first letters for a long message.
QString enciphered(std::u16string_view output, std::size_t from);
QString messageEmptied();
QString windowPosition(const MachineState& state, int window);
QString keyOf(const MachineState& state, int selector);
QString keysByDate(const MachineState& state);
QString copied(std::size_t letters);
QString reset();
// The last letter's lit path: the letter, the numbers it passes out to the reflector and back, and its
// cipher letter, in the cells' own writing.
QString litPath(const MachineState& state);

} // namespace rovanta::spoken
