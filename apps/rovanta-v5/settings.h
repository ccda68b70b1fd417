#pragma once

#include "keysetting/model_settings.h"

#include <string_view>

namespace rovanta::v5 {

extern const KeyBookTexts kKeyBook;

// The five-point-one model: two-digit rows, 101 keys, setting by date.
ModelSettings modelSettings();

} // namespace rovanta::v5
