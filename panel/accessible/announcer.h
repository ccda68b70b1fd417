#pragma once

#include <QAccessible>
#include <QString>
#include <QtGlobal>

#include <array>

class QWidget;

// Qt 6.8 brought an announcement of its own, which a reader speaks as the plain words it carries. Before
// it, the words go out as notifications of a status line that no widget stands behind.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#define ROVANTA_TOOLKIT_ANNOUNCES 1
#else
#define ROVANTA_TOOLKIT_ANNOUNCES 0
#endif

namespace rovanta {

class SpokenNotice;

// Speaks a result to a screen reader, and shows nothing. A reader follows the element with the focus, so
// the machine's answers that land elsewhere (a cipher letter in the output box, a window's new position, a
// selector's new key) would pass unheard. Each result goes out as an announcement from the element with
// the focus, spoken politely after what the reader is saying.
//
// Without the toolkit's own announcement, each result is shown as a notification of the window's status
// line, which the reader speaks when it is shown. A reader asks for a notification's text after the
// event, while the operator may already have typed the next letter, so every notice keeps its own text
// until a few dozen newer ones have gone out.
class Announcer {
public:
    explicit Announcer(QWidget* window);
    ~Announcer();
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;

    void announce(const QString& text);

private:
    QWidget* m_window;
#if ROVANTA_TOOLKIT_ANNOUNCES
    static constexpr int kDistinct = 32;
    int m_next = 0;
#else
    static constexpr int kNotices = 32;
    std::array<SpokenNotice*, kNotices> m_notices{};
    std::array<QAccessible::Id, 2 * kNotices + 1> m_ids{};
    int m_next = 0;
#endif
};

} // namespace rovanta
