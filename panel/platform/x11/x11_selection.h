#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <optional>

namespace rovanta {

enum class Selection { Clipboard, Primary };

// The text another program holds on an X selection, read over a connection of its own so that
// nothing else waits for it. It gives up, with no text, when the holder stays silent for `patience` (the
// whole read may take longer while a large text keeps arriving), when the connection fails, or when `stop`
// is set. A holder that refuses to hand out text gives an empty text.
std::optional<QString> readX11Selection(const QByteArray& display, Selection selection,
                                        std::chrono::milliseconds patience, const std::atomic<bool>& stop);

} // namespace rovanta
