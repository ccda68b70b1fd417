#pragma once

#include "machine/position.h"

#include <array>
#include <span>
#include <string_view>

// Where every element of the panel stands. Positions and sizes are in twips, 1440 to the inch and 15 to
// a pixel at 96 dots per inch, measured from the top-left corner of the window's client area.
namespace rovanta {

struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Place&, const Place&) = default;
};

inline constexpr int kTwipsPerPixel = 15;

// Twips to the toolkit's device-independent pixels, rounded to the nearest (Command1's top 6100 is pixel
// 407). A screen with another scale factor shows the same panel, scaled.
constexpr int pixels(int twips)
{
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline constexpr int kClientWidth = 14310;

struct ElementPlace {
    std::string_view name;
    Place place;
};

// The elements with a place of their own, top to bottom, then left to right, where the five-point-one
// panel has them. The rows' cells and the windows follow from cellPlace and windowPlace.
inline constexpr std::array<ElementPlace, 21> kElementPlaces{{
    {"Label11", {3360, 120, 7215, 255}},    {"Command11", {360, 1680, 1095, 300}},
    {"Command2", {360, 2040, 300, 300}},    {"Command3", {720, 2040, 300, 300}},
    {"Command12", {360, 2640, 1095, 300}},  {"Command4", {360, 3000, 300, 300}},
    {"Command5", {720, 3000, 300, 300}},    {"Command13", {360, 3600, 1095, 300}},
    {"Command6", {360, 3960, 300, 300}},    {"Command7", {720, 3960, 300, 300}},
    {"Command14", {360, 4560, 1095, 300}},  {"Command10", {360, 5520, 855, 495}},
    {"Text3", {1440, 5520, 12495, 375}},    {"ComboDay", {1440, 6000, 600, 360}},
    {"ComboMonth", {1995, 6000, 600, 360}}, {"ComboYear", {2580, 6000, 900, 360}},
    {"Command8", {3480, 6000, 1215, 360}},  {"Command1", {360, 6100, 855, 300}},
    {"Command9", {360, 6480, 855, 375}},    {"Text2", {1440, 6480, 12495, 375}},
    {"Label12", {0, 6840, 14295, 255}},
}};

// The tops of rows Label1 to Label10: five stage pairs, each key row above its ring row.
inline constexpr std::array<int, kRows + 1> kRowTop{0,    4920, 4560, 3960, 3600, 3000,
                                                    2640, 2055, 1680, 1095, 720};
// The tops of windows Labelw(1) to Labelw(3), each on the line of the ring row it turns.
inline constexpr std::array<int, kWindows + 1> kWindowTop{0, 3960, 3000, 2040};

inline constexpr int kCellWidth = 405;
inline constexpr int kCellHeight = 300;

// Cell i of every row stands in column i: 1560 for cell 1, 13560 for cell 26.
constexpr Place cellPlace(int row, int cell)
{
    return {1560 + 480 * (cell - 1), kRowTop[row], kCellWidth, kCellHeight};
}

// A whole row, as a screen reader reads it: from its first cell's left edge to its last cell's right edge.
constexpr Place rowPlace(int row)
{
    const Place first = cellPlace(row, 1);
    const Place last = cellPlace(row, kCells);
    return {first.left, first.top, last.left + last.width - first.left, first.height};
}

constexpr Place windowPlace(int window)
{
    return {1080, kWindowTop[window], kCellWidth, kCellHeight};
}

// What a model's panel has of its own: its client height and the elements that stand elsewhere than in
// kElementPlaces.
struct PanelSettings {
    int clientHeight = 0;
    std::span<const ElementPlace> moved;
};

// An element's place on a model's panel.
constexpr Place placeOf(std::string_view name, const PanelSettings& panel)
{
    for (const ElementPlace& element : panel.moved) {
        if (element.name == name)
            return element.place;
    }
    for (const ElementPlace& element : kElementPlaces) {
        if (element.name == name)
            return element.place;
    }
    return {};
}

} // namespace rovanta
