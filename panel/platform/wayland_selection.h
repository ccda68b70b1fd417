#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <optional>

namespace rovanta {

// Whether wl-paste is at hand and the compositor lets a program read the clipboard without the keyboard
// focus (a data-control protocol), so that wl-paste can read it as a program apart; asked once, over a
// connection of its own.
bool wlPasteCanRead();

// The text of the clipboard, or of the primary selection, as `type`, read by wl-paste as a child process.
// It gives up, with no text, when the holder stays silent for `patience`, when wl-paste fails, or when
// `stop` is set; wl-paste and anything it started then end at once.
std::optional<QString> readWaylandSelection(bool primary, const QString& type,
                                            std::chrono::milliseconds patience,
                                            const std::atomic<bool>& stop);

} // namespace rovanta
