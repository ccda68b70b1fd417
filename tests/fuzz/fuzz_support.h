#pragma once

#include "keysetting/machine_controls.h"
#include "tests/reference/reference_machine.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the fuzzers share: the fuzzer's bytes read as text, and the reference machine, worked alongside the
// real one and compared with it after every operator action. A broken rule aborts, so the fuzzer keeps the
// input that broke it.
namespace fuzz {

// A mismatch ends the run with the input's crash report.
void expect(bool holds, std::string_view what);

// A code point in UTF-16: one unit, or a surrogate pair above the first plane.
void appendCodePoint(std::u16string& text, char32_t character);

// The bytes as UTF-8, read leniently: any lead byte with its continuation bytes gives a code point, even a
// surrogate or an overlong form, so every UTF-16 text (lone surrogates too) can be written in a seed
// file. A byte that fits no sequence stands for itself.
std::u16string textOf(const std::uint8_t* data, std::size_t size);

using Reference = reference::ReferenceMachine;
using reference::capitalsOf;
using reference::charactersOf;

// Windows, rows, captions, key book, colours, letternum, message and output of the real machine against the
// reference.
void expectAgree(const rovanta::MachineControls& machine, const Reference& reference);

// The machine as it stood before a run of letters turns the cipher they added to the output back into them.
void expectReciprocal(const rovanta::MachineControls& before, const rovanta::MachineControls& after,
                      std::u16string_view plain);

} // namespace fuzz
