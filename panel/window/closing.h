#pragma once

#include <chrono>
#include <functional>

class QWidget;

namespace rovanta {

// The window's outer frame and the screen, in twips, as the closing movement reads and sets them.
class WindowGeometry {
public:
    virtual ~WindowGeometry() = default;

    virtual int left() const = 0;
    virtual int top() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual void setLeft(int twips) = 0;
    virtual void setTop(int twips) = 0;
    virtual void setWidth(int twips) = 0;
    virtual void setHeight(int twips) = 0;
    virtual int screenWidth() const = 0;
};

// How many passes the closing movement may run without the top edge getting any lower before it gives up:
// a window system that refuses or clamps every move must not hold the close for ever.
inline constexpr int kStalledPassLimit = 26;

// How long the movement may run in all. A window system that answers every step slowly (each move a round
// trip to the display, as on Windows under wine with no window manager) must not hold the close for long
// either: the movement ends where it has got to.
inline constexpr std::chrono::milliseconds kClosingTimeLimit{1000};

// The time since the movement began.
using ClosingClock = std::function<std::chrono::milliseconds()>;

// The window shrinks about its centre, 30 twips a side per pass, and slides down until its top edge is
// past the screen's width (the width, not the height, as the machine always did it). At least one pass
// runs. Returns the number of passes. Without a clock, the steady clock times it.
int closingMovement(WindowGeometry& window, const ClosingClock& elapsed);
int closingMovement(WindowGeometry& window);

// A top-level widget's frame: positions through frameGeometry() and move(), which both count the frame,
// and sizes through resize() less the frame's own border. The size never goes below one pixel, since a
// window of no height is unmapped.
class FrameGeometry final : public WindowGeometry {
public:
    explicit FrameGeometry(QWidget& window);

    int left() const override;
    int top() const override;
    int width() const override;
    int height() const override;
    void setLeft(int twips) override;
    void setTop(int twips) override;
    void setWidth(int twips) override;
    void setHeight(int twips) override;
    int screenWidth() const override;

private:
    QWidget& m_window;
};

} // namespace rovanta
