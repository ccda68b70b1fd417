#pragma once

#include <QAccessible>
#include <QString>

#include <array>
#include <memory>

class QWidget;

namespace rovanta {

class SpokenNotice;

// Speaks a result to a screen reader, and shows nothing. A reader follows the element with the focus, so
// the machine's answers that land elsewhere (a cipher letter in the output box, a window's new position, a
// selector's new key) would pass unheard. Each result goes out as a notification of the window's status
// line, which the reader speaks when it is shown and keeps in its list of notifications; the status line
// belongs to no row of the panel and takes no room on it.
//
// A reader asks for a notification's text after the event, while the operator may already have typed the
// next letter, so every notice keeps its own text until a few dozen newer ones have gone out.
class Announcer {
public:
    explicit Announcer(QWidget* window);
    ~Announcer();
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;

    void announce(const QString& text);

    // The text of the notice that went out last, empty before the first.
    QString lastAnnounced() const;

    static constexpr int kNotices = 32;

private:
    QAccessibleInterface* m_statusLine = nullptr;
    std::array<SpokenNotice*, kNotices> m_notices{};
    std::array<QAccessible::Id, 2 * kNotices + 1> m_ids{};
    int m_next = 0;
    int m_last = -1;
};

} // namespace rovanta
