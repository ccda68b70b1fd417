#pragma once

class QWidget;

namespace rovanta {

// Shows the one window and handles its events until the program ends: after the closing movement, or at once
// with status 0 when the window system takes the window away without a close request. A close request that
// comes while the warning box is open answers the box as OK, and the closing movement follows.
int runWindow(QWidget& window);

} // namespace rovanta
