#pragma once

#include "machine/position.h"

#include <array>
#include <cstddef>

// What each of the ten rows is for. Every question about a row's role is answered from kStages.
namespace rovanta {

inline constexpr int kEntryRow = 1;     // Label1: the entry scale, cell i shows i
inline constexpr int kReflectorRow = 9; // Label9: the reflector scale, cell i shows i
inline constexpr int kPartnerRow = 10;  // Label10: cell i shows 27 - i

// The entry stage is moved by nothing.
inline constexpr int kNoWindow = 0;

// A keyed stage: two rows standing in pairs, the first (the entry scale, or a ring row turned by a window)
// and the key row that a selector fills.
struct Stage {
    int firstRow;
    int keyRow;
    int selector;
    int window;
};

// From the entry scale outwards, in the order a letter meets them on its way to the reflector: the entry
// stage keyed by Key 4, then wheel stages 1 to 3 keyed by Keys 3 to 1 and turned by windows 1 to 3.
inline constexpr std::array<Stage, kSelectors> kStages{{
    {kEntryRow, 2, 4, kNoWindow},
    {3, 4, 3, 1},
    {5, 6, 2, 2},
    {7, 8, 1, 3},
}};

namespace detail {

struct RowRole {
    int selector = 0; // of a key row
    int window = 0;   // of a ring row
};

inline constexpr std::array<RowRole, kRows + 1> kRowRoles = [] {
    std::array<RowRole, kRows + 1> roles{};
    for (const Stage& stage : kStages) {
        roles[stage.keyRow].selector = stage.selector;
        roles[stage.firstRow].window = stage.window;
    }
    return roles;
}();

inline constexpr std::array<const Stage*, kSelectors + 1> kStageOfSelector = [] {
    std::array<const Stage*, kSelectors + 1> stages{};
    for (const Stage& stage : kStages)
        stages[stage.selector] = &stage;
    return stages;
}();

inline constexpr std::array<const Stage*, kWindows + 1> kStageOfWindow = [] {
    std::array<const Stage*, kWindows + 1> stages{};
    for (const Stage& stage : kStages) {
        if (stage.window != kNoWindow)
            stages[stage.window] = &stage;
    }
    return stages;
}();

} // namespace detail

// The key row that selector Key 1 to Key 4 fills.
constexpr int keyRowOfSelector(int selector)
{
    return detail::kStageOfSelector[selector]->keyRow;
}

// The ring row that window 1 to 3 turns.
constexpr int ringRowOfWindow(int window)
{
    return detail::kStageOfWindow[window]->firstRow;
}

constexpr bool isKeyRow(int row)
{
    return detail::kRowRoles[row].selector != 0;
}

// The window that turns a ring row; kNoWindow for every other row.
constexpr int windowOfRow(int row)
{
    return detail::kRowRoles[row].window;
}

} // namespace rovanta
