#pragma once

#include "keysetting/window_buttons.h"
#include "machine/position.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace rovanta {

enum class CommandRole : std::uint8_t { Reset, WindowButton, SetByDate, Encrypt, Copy, Selector };

// Command1 to Command14: the caption each is laid out with (the selectors then show the machine's
// captions), what a press does, where the button stands in the keyboard order, and the selector or the
// window that a selector or a window button works (0 for the others).
struct CommandButton {
    int number;
    const char* caption;
    CommandRole role;
    int tabPlace;
    int selector;
    int window;
};
inline constexpr std::array<CommandButton, 14> kCommandButtons{{
    {1, "Reset", CommandRole::Reset, 14, 0, 0},
    {2, "", CommandRole::WindowButton, 8, 0, 3},
    {3, "", CommandRole::WindowButton, 7, 0, 3},
    {4, "", CommandRole::WindowButton, 6, 0, 2},
    {5, "", CommandRole::WindowButton, 5, 0, 2},
    {6, "", CommandRole::WindowButton, 4, 0, 1},
    {7, "", CommandRole::WindowButton, 3, 0, 1},
    {8, "Set By Date", CommandRole::SetByDate, 18, 0, 0},
    {9, "Encrypt", CommandRole::Encrypt, 2, 0, 0},
    {10, "Copy To ClipBoard", CommandRole::Copy, 1, 0, 0},
    {11, "", CommandRole::Selector, 10, 1, 0},
    {12, "", CommandRole::Selector, 11, 2, 0},
    {13, "", CommandRole::Selector, 12, 3, 0},
    {14, "", CommandRole::Selector, 13, 4, 0},
}};
// Each row stands at its number, and a window button turns the window the machine steps for it.
static_assert(std::ranges::all_of(kCommandButtons, [](const CommandButton& command) {
    return &command == &kCommandButtons[static_cast<std::size_t>(command.number - 1)] &&
           (command.role != CommandRole::WindowButton ||
            command.window == actionOf(static_cast<WindowButton>(command.number)).window) &&
           command.selector >= 0 && command.selector <= kSelectors;
}));

constexpr const CommandButton& commandButton(int number)
{
    return kCommandButtons[static_cast<std::size_t>(number - 1)];
}

constexpr const CommandButton& commandOf(CommandRole role)
{
    return *std::ranges::find(kCommandButtons, role, &CommandButton::role);
}

// The other elements' places in the keyboard order, which opens in Text2.
inline constexpr int kText2Place = 0;
inline constexpr int kText3Place = 9;
inline constexpr int kMonthPlace = 15;
inline constexpr int kDayPlace = 16;
inline constexpr int kYearPlace = 17;
inline constexpr int kKeyboardPlaces = 19;

} // namespace rovanta
