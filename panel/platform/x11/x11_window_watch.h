#pragma once

#include <memory>

class QAbstractNativeEventFilter;
class QWidget;

namespace rovanta {

// Watches the X events of the one window for the two endings the toolkit does not carry to it: the window
// destroyed from outside, which ends the program, and a close request while the warning box is open,
// which answers the box as OK and then closes the window. Nothing when the display is not X.
std::unique_ptr<QAbstractNativeEventFilter> x11WindowWatch(QWidget& window);

} // namespace rovanta
