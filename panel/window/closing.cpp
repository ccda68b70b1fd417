#include "panel/window/closing.h"

#include "panel/window/geometry.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace rovanta {

int closingMovement(WindowGeometry& window, const ClosingClock& elapsed)
{
    constexpr int kStep = 30;
    int passes = 0;
    int lowestTop = window.top();
    int stalled = 0;
    while (true) {
        // Each value is read back from the window at that moment, so a refused step is simply lost.
        window.setTop(window.top() + kStep);
        window.setLeft(window.left() + kStep);
        window.setWidth(window.width() - 2 * kStep);
        window.setHeight(window.height() - 2 * kStep);
        ++passes;

        const int top = window.top();
        if (top > window.screenWidth())
            return passes;
        if (top > lowestTop) {
            lowestTop = top;
            stalled = 0;
        } else if (++stalled >= kStalledPassLimit) {
            return passes;
        }
        if (elapsed() >= kClosingTimeLimit)
            return passes;
    }
}

int closingMovement(WindowGeometry& window)
{
    const auto began = std::chrono::steady_clock::now();
    return closingMovement(window, [began] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     began);
    });
}

namespace {

int twips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

} // namespace

FrameGeometry::FrameGeometry(QWidget& window) : m_window(window) {}

int FrameGeometry::left() const
{
    return twips(m_window.frameGeometry().x());
}

int FrameGeometry::top() const
{
    return twips(m_window.frameGeometry().y());
}

int FrameGeometry::width() const
{
    return twips(m_window.frameGeometry().width());
}

int FrameGeometry::height() const
{
    return twips(m_window.frameGeometry().height());
}

void FrameGeometry::setLeft(int twips)
{
    m_window.move(pixels(twips), m_window.frameGeometry().y());
}

void FrameGeometry::setTop(int twips)
{
    m_window.move(m_window.frameGeometry().x(), pixels(twips));
}

void FrameGeometry::setWidth(int twips)
{
    const int border = m_window.frameGeometry().width() - m_window.width();
    m_window.resize(std::max(1, pixels(twips) - border), m_window.height());
}

void FrameGeometry::setHeight(int twips)
{
    const int border = m_window.frameGeometry().height() - m_window.height();
    m_window.resize(m_window.width(), std::max(1, pixels(twips) - border));
}

int FrameGeometry::screenWidth() const
{
    const QScreen* screen = m_window.screen();
    return screen ? twips(screen->geometry().width()) : 0;
}

} // namespace rovanta
