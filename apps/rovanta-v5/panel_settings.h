#pragma once

#include "panel/window/geometry.h"

namespace rovanta::v5 {

// The five-point-one panel stands exactly as laid out, 954 by 474 pixels.
inline constexpr PanelSettings kPanelSettings{7110, {}};

} // namespace rovanta::v5
