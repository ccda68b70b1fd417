#pragma once

#include "keysetting/machine_controls.h"

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

// What the tests share: the panel's state read out of the model as texts and colour numbers, and a few
// operator shortcuts.
namespace coretest {

// A cleared cell's colour number.
inline constexpr std::uint32_t kWhite = 16777215;
// The panel's own background before the first clearing: no colour number the machine ever writes.
inline constexpr std::uint32_t kStandard = 0xFF000000;

// The colour number the panel paints for a model colour; Standard has none and reads as kStandard.
std::uint32_t colourNumberOf(rovanta::CellColour colour);

// A text of the machine's ASCII alphabet; any other character becomes '?'.
std::string ascii(std::u16string_view text);

// Everything the panel shows, for "nothing changed" checks.
struct Panel {
    std::array<std::string, 261> texts{}; // (row - 1) * 26 + cell; index 0 unused
    std::array<std::uint32_t, 261> colours{};
    std::array<std::string, 4> windows;
    std::array<std::string, 5> captions;
    std::u16string letternum;
    std::u16string message;
    std::u16string output;
    friend bool operator==(const Panel&, const Panel&) = default;
};
Panel panelOf(const rovanta::MachineState& state);
// The first differences between two panels, one per line; empty when they are the same.
std::string differences(const Panel& actual, const Panel& expected);

// Presses a window's button until the window shows `position`. A full turn reaches every position, so a
// window that has not arrived by then fails the test, named, instead of spinning it.
void pressUntil(int window, int position, const std::function<int()>& shown,
                const std::function<void()>& press);

// The windows set with the window buttons, as an operator would.
void setWindows(rovanta::MachineControls& machine, int w1, int w2, int w3);

// The two models, for tests that run in both.
enum class Model { V5, V4 };
rovanta::ModelSettings settingsOf(Model model);
std::string nameOf(Model model); // "v5" or "v4", for test names
void PrintTo(Model model, std::ostream* out);

// A started machine of either model.
rovanta::MachineControls started(Model model);
rovanta::MachineControls startedV5();

// The cell of a row lit in a colour, or 0.
int cellOfColour(const rovanta::MachineState& state, int row, rovanta::CellColour colour);

} // namespace coretest
