#pragma once

#include "keysetting/model_settings.h"

#include <array>
#include <string_view>

namespace rovanta::v4 {

extern const std::array<std::string_view, 101> kKeyBook;

// The four model: letter rows, 100 keys, no setting by date; Reset keeps the keys and the window buttons
// keep the highlight.
ModelSettings modelSettings();

} // namespace rovanta::v4
