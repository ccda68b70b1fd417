#pragma once

#include "keysetting/model_settings.h"

#include <array>
#include <string_view>

namespace rovanta::v5 {

extern const std::array<std::string_view, 101> kKeyBook;

// The five-point-one model: two-digit rows, 101 keys, setting by date.
ModelSettings modelSettings();

} // namespace rovanta::v5
