#pragma once

#include <QIcon>
#include <QImage>

#include <array>

namespace rovanta {

// The sizes a desktop asks for, from a panel's list entry to a launcher's large tile.
inline constexpr std::array<int, 8> kPanelIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The window's icon in the 16 colours of the classic palette, drawn here rather than loaded so that the
// program carries no picture files and every size comes from one drawing. It shows a small panel: grey
// frame, rows of white cells, and one letter's path lit red going out and yellow coming back. Each size is
// laid out on its own pixel grid, so lines stay one sharp pixel wide (or a whole number of pixels) at any
// size rather than being scaled from another.
QImage panelIconImage(int size = 32);
// Every size in kPanelIconSizes.
QIcon panelIcon();

} // namespace rovanta
