#pragma once

#include "keysetting/model_settings.h"

#include <string_view>

namespace rovanta::v4 {

extern const KeyBookTexts kKeyBook;

// The four model: letter rows, 100 keys, no setting by date; Reset keeps the keys and the window buttons
// keep the highlight.
ModelSettings modelSettings();

} // namespace rovanta::v4
