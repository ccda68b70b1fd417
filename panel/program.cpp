#include "panel/program.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef ROVANTA_XCB
#include <xcb/xcb.h>
#endif

namespace rovanta {

namespace {

// What the toolkit says while it opens the display is held back: when the display opens, it is passed on as
// it came; when it cannot, the platform's reason is given in the one line the operator sees.
struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

QtMessageHandler g_passOn = nullptr;
std::vector<HeldMessage> g_held;

// The platform plugin's first complaint names the cause ("could not connect to display :1"); the fatal
// message after it only says that no plugin could be loaded.
QString openingFailure(const QString& fatal)
{
    for (const HeldMessage& held : g_held) {
        if (held.category.starts_with("qt.qpa"))
            return held.text;
    }
    return fatal.section(QLatin1Char('\n'), 0, 0);
}

void holdOpeningMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        g_held.push_back({type, context.category ? context.category : "", text});
        return;
    }
    const QString reason = openingFailure(text);
    const QString line = QCoreApplication::applicationName() + QStringLiteral(": cannot open its window: ") +
                         reason.trimmed() + QLatin1Char('\n');
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    // The toolkit would abort after this message; nothing has been built yet that needs to end.
    std::_Exit(EXIT_FAILURE);
}

void passOnHeldMessages()
{
    for (const HeldMessage& held : g_held) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.c_str());
        g_passOn(held.type, context, held.text);
    }
    g_held.clear();
}

#ifdef ROVANTA_XCB

// Watches the X events of the one window for the window destroyed from outside (xdotool windowclose, a
// session tearing down its windows), which the toolkit only notes.
class X11WindowWatch final : public QAbstractNativeEventFilter {
public:
    explicit X11WindowWatch(QWidget& window) : m_window(window) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case 0:
            // The requests the toolkit still makes on the vanished window fail; that is expected now.
            return m_gone && reinterpret_cast<const xcb_generic_error_t*>(event)->resource_id == m_gone;
        case XCB_DESTROY_NOTIFY:
            return windowDestroyed(reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window);
        default:
            return false;
        }
    }

private:
    bool isWindow(xcb_window_t id) const { return id != 0 && id == m_window.internalWinId(); }

    bool windowDestroyed(xcb_window_t id)
    {
        if (!isWindow(id))
            return false;
        // The window is gone and nothing is lost with it that a close would keep: the program ends as the
        // operator's close ends it, with status 0. There is no window left to move.
        m_gone = id;
        QCoreApplication::exit(0);
        return true;
    }

    QWidget& m_window;
    xcb_window_t m_gone = 0;
};

std::unique_ptr<QAbstractNativeEventFilter> windowWatch(QWidget& window)
{
    if (!qApp->nativeInterface<QNativeInterface::QX11Application>())
        return nullptr;
    return std::make_unique<X11WindowWatch>(window);
}

#else

std::unique_ptr<QAbstractNativeEventFilter> windowWatch(QWidget&)
{
    return nullptr;
}

#endif

} // namespace

std::unique_ptr<QApplication> openDisplay(int& argc, char** argv)
{
    g_passOn = qInstallMessageHandler(holdOpeningMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(g_passOn);
    passOnHeldMessages();
    return application;
}

int runWindow(QWidget& window)
{
    window.show();
    const std::unique_ptr<QAbstractNativeEventFilter> watch = windowWatch(window);
    if (watch)
        QCoreApplication::instance()->installNativeEventFilter(watch.get());
    const int status = QApplication::exec();
    if (watch)
        QCoreApplication::instance()->removeNativeEventFilter(watch.get());
    return status;
}

} // namespace rovanta
