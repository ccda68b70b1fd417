#pragma once

#include <memory>

class QApplication;
class QWidget;

namespace rovanta {

// The toolkit's application on the display the environment names (QT_QPA_PLATFORM still chooses the kind).
// With no display to open, the program ends with one line on stderr and status 1, where the toolkit alone
// would abort.
std::unique_ptr<QApplication> openDisplay(int& argc, char** argv);

// Shows the one window and handles its events until the program ends: after the closing movement, or at once
// with status 0 when the window system takes the window away without a close request. A close request that
// comes while the warning box is open answers the box as OK, and the closing movement follows.
int runWindow(QWidget& window);

} // namespace rovanta
