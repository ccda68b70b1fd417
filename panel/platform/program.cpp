#include "panel/platform/program.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <memory>

#ifdef ROVANTA_XCB
#include "panel/platform/x11/x11_window_watch.h"
#endif

namespace rovanta {

namespace {

// The window system's watch over the window, where the toolkit needs one.
std::unique_ptr<QAbstractNativeEventFilter> windowWatch(QWidget& window)
{
#ifdef ROVANTA_XCB
    return x11WindowWatch(window);
#else
    Q_UNUSED(window);
    return nullptr;
#endif
}

} // namespace

int runWindow(QWidget& window)
{
    // The watch takes itself off the application when it goes, after the last event.
    const std::unique_ptr<QAbstractNativeEventFilter> watch = windowWatch(window);
    if (watch)
        QCoreApplication::instance()->installNativeEventFilter(watch.get());
    window.show();
    const int status = QApplication::exec();
    // On Wayland the toolkit's client can hang in its own shutdown, waiting for its event thread for ever.
    // Nothing is handed over there at the end (no clipboard manager takes a program's clipboard as it
    // ends), so the program ends at once, as its window has closed.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

} // namespace rovanta
