#pragma once

#include "panel/window/geometry.h"

#include <array>

namespace rovanta::v4 {

// The four model's panel is 30 twips shorter, with no date controls; Reset sits a little lower and
// shorter, and the title line runs almost the whole width.
inline constexpr std::array<ElementPlace, 2> kMovedElements{{
    {"Command1", {360, 6120, 855, 255}},
    {"Label11", {240, 120, 13815, 255}},
}};

inline constexpr PanelSettings kPanelSettings{7080, kMovedElements};

} // namespace rovanta::v4
