#pragma once

#include <memory>

class QApplication;

namespace rovanta {

// The toolkit's application on the display the environment names (QT_QPA_PLATFORM still chooses the kind).
// With no display to open, the program ends with one line on stderr and status 1, where the toolkit alone
// would abort.
std::unique_ptr<QApplication> openDisplay(int& argc, char** argv);

} // namespace rovanta
