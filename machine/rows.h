#pragma once

#include "machine/position.h"

#include <algorithm>
#include <array>

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

// The key row that selector Key 1 to Key 4 fills.
constexpr int keyRowOfSelector(int selector)
{
    return std::ranges::find(kStages, selector, &Stage::selector)->keyRow;
}

// The ring row that window 1 to 3 turns.
constexpr int ringRowOfWindow(int window)
{
    return std::ranges::find(kStages, window, &Stage::window)->firstRow;
}

constexpr bool isKeyRow(int row)
{
    return std::ranges::find(kStages, row, &Stage::keyRow) != kStages.end();
}

// The window that turns a ring row; kNoWindow for every other row.
constexpr int windowOfRow(int row)
{
    const auto stage = std::ranges::find(kStages, row, &Stage::firstRow);
    return stage == kStages.end() ? kNoWindow : stage->window;
}

} // namespace rovanta
