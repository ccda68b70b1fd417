#include "panel/platform/program.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
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

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::char_traits<char>::length(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// Watches the X events of the one window for the two endings the toolkit does not carry to it: the window
// destroyed from outside (xdotool windowclose, a session tearing down its windows), which the toolkit only
// notes, and a close request while the warning box is open, which the toolkit drops because the box blocks
// the window. A warning box destroyed from outside is likewise taken as answered.
class X11WindowWatch final : public QAbstractNativeEventFilter {
public:
    X11WindowWatch(QWidget& window, xcb_connection_t* connection)
        : m_window(window), m_protocols(internAtom(connection, "WM_PROTOCOLS")),
          m_deleteWindow(internAtom(connection, "WM_DELETE_WINDOW"))
    {
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case XCB_DESTROY_NOTIFY:
            // Acted on, and passed on: the toolkit keeps its own account of destroyed windows.
            windowDestroyed(reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window);
            return false;
        case XCB_CLIENT_MESSAGE:
            return closeRequested(*reinterpret_cast<const xcb_client_message_event_t*>(event));
        default:
            return false;
        }
    }

private:
    bool isWindow(xcb_window_t id) const { return id != 0 && id == m_window.internalWinId(); }

    void windowDestroyed(xcb_window_t id)
    {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (box && id != 0 && id == box->internalWinId()) {
            // A box taken away unanswered would block the window for ever: it counts as answered OK.
            box->accept();
        } else if (isWindow(id)) {
            // The window is gone and nothing is lost with it that a close would keep: the program ends as the
            // operator's close ends it, with status 0. There is no window left to move.
            QCoreApplication::exit(0);
        }
    }

    bool closeRequested(const xcb_client_message_event_t& event)
    {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box || !isWindow(event.window) || event.format != 32 || event.type != m_protocols ||
            event.data.data32[0] != m_deleteWindow)
            return false;
        // Closing takes the request and never cancels it: the box is answered as OK, its event ends as
        // after any OK, and then the window closes as if the box had never been there.
        box->accept();
        QMetaObject::invokeMethod(&m_window, &QWidget::close, Qt::QueuedConnection);
        return true;
    }

    QWidget& m_window;
    xcb_atom_t m_protocols;
    xcb_atom_t m_deleteWindow;
};

std::unique_ptr<QAbstractNativeEventFilter> windowWatch(QWidget& window)
{
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return nullptr;
    return std::make_unique<X11WindowWatch>(window, x11->connection());
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
