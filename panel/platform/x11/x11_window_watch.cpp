#include "panel/platform/x11/x11_window_watch.h"

#include "panel/platform/x11/x11_atom.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QWidget>

#include <xcb/xcb.h>

namespace rovanta {

namespace {

// Watches the X events of the one window for the two endings the toolkit does not carry to it: the window
// destroyed from outside (xdotool windowclose, a session tearing down its windows), which the toolkit only
// notes, and a close request while the warning box is open, which the toolkit drops because the box blocks
// the window. A warning box destroyed from outside is likewise taken as answered.
class X11WindowWatch final : public QAbstractNativeEventFilter {
public:
    X11WindowWatch(QWidget& window, xcb_connection_t* connection)
        : m_window(window), m_protocols(x11Atom(connection, "WM_PROTOCOLS")),
          m_deleteWindow(x11Atom(connection, "WM_DELETE_WINDOW"))
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

} // namespace

std::unique_ptr<QAbstractNativeEventFilter> x11WindowWatch(QWidget& window)
{
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return nullptr;
    return std::make_unique<X11WindowWatch>(window, x11->connection());
}

} // namespace rovanta
