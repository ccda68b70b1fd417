#include "panel/platform/x11/x11_selection.h"

#include "panel/platform/x11/x11_atom.h"

#include <xcb/xcb.h>

#include <poll.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace rovanta {

namespace {

using Clock = std::chrono::steady_clock;

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> Owned<Reply> owned(Reply* reply)
{
    return Owned<Reply>(reply, &std::free);
}

// How often a wait looks whether it is to stop.
constexpr std::chrono::milliseconds kPollSlice{50};

// One request's worth of a reader's side of the selection protocol.
class Reader {
public:
    Reader(xcb_connection_t* connection, std::chrono::milliseconds patience, const std::atomic<bool>& stop)
        : m_connection(connection), m_patience(patience), m_stop(stop)
    {
    }

    bool open(xcb_window_t root, xcb_visualid_t visual)
    {
        m_window = xcb_generate_id(m_connection);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, visual, XCB_CW_EVENT_MASK, &events);
        m_property = x11Atom(m_connection, "ROVANTA_PASTE");
        m_incremental = x11Atom(m_connection, "INCR");
        return m_property != XCB_ATOM_NONE;
    }

    // Asks the holder for the selection as `target`; false when it gave no answer in time.
    bool convert(xcb_atom_t selection, xcb_atom_t target, bool& refused)
    {
        xcb_convert_selection(m_connection, m_window, selection, target, m_property, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
        const auto notify = waitFor([](const xcb_generic_event_t& event) {
            return (event.response_type & 0x7f) == XCB_SELECTION_NOTIFY;
        });
        if (!notify)
            return false;
        refused =
            reinterpret_cast<const xcb_selection_notify_event_t*>(notify.get())->property == XCB_ATOM_NONE;
        return true;
    }

    // Takes the answer off the window: at once, or piece by piece when the holder sends it incrementally.
    std::optional<QByteArray> take()
    {
        xcb_atom_t type = XCB_ATOM_NONE;
        QByteArray text = takeProperty(type);
        if (type != m_incremental)
            return text;
        text.clear();
        for (;;) {
            const auto piece = waitFor([this](const xcb_generic_event_t& event) {
                const auto& changed = reinterpret_cast<const xcb_property_notify_event_t&>(event);
                return (event.response_type & 0x7f) == XCB_PROPERTY_NOTIFY && changed.atom == m_property &&
                       changed.state == XCB_PROPERTY_NEW_VALUE;
            });
            if (!piece)
                return std::nullopt;
            const QByteArray more = takeProperty(type);
            if (more.isEmpty())
                return text;
            text += more;
        }
    }

private:
    QByteArray takeProperty(xcb_atom_t& type)
    {
        const auto cookie = xcb_get_property(m_connection, 1, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY,
                                             0, UINT32_MAX / 4);
        const auto reply = owned(xcb_get_property_reply(m_connection, cookie, nullptr));
        if (!reply)
            return {};
        type = reply->type;
        return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                          xcb_get_property_value_length(reply.get()));
    }

    // The first event that `wanted` accepts, or nothing when the holder stays silent for the patience.
    template <typename Wanted> Owned<xcb_generic_event_t> waitFor(Wanted wanted)
    {
        const Clock::time_point deadline = Clock::now() + m_patience;
        const pollfd watched{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        while (!m_stop && !xcb_connection_has_error(m_connection) && Clock::now() < deadline) {
            while (auto event = owned(xcb_poll_for_event(m_connection))) {
                if (wanted(*event))
                    return event;
            }
            pollfd ready = watched;
            poll(&ready, 1, static_cast<int>(kPollSlice.count()));
        }
        return owned<xcb_generic_event_t>(nullptr);
    }

    xcb_connection_t* m_connection;
    std::chrono::milliseconds m_patience;
    const std::atomic<bool>& m_stop;
    xcb_window_t m_window = XCB_WINDOW_NONE;
    xcb_atom_t m_property = XCB_ATOM_NONE;
    xcb_atom_t m_incremental = XCB_ATOM_NONE;
};

// Connecting reads the X authority file's name into a buffer libXau keeps for the whole program, so two
// pastes read at once connect one after the other.
Connection connect(const QByteArray& display, int& screenNumber)
{
    static std::mutex connecting;
    const std::lock_guard lock(connecting);
    return Connection(xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber));
}

xcb_screen_t* screenOf(xcb_connection_t* connection, int number)
{
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; screens.rem > 0; xcb_screen_next(&screens), --number) {
        if (number == 0)
            return screens.data;
    }
    return nullptr;
}

} // namespace

std::optional<QString> readX11Selection(const QByteArray& display, Selection selection,
                                        std::chrono::milliseconds patience, const std::atomic<bool>& stop)
{
    int screenNumber = 0;
    const Connection connection = connect(display, screenNumber);
    if (xcb_connection_has_error(connection.get()))
        return std::nullopt;
    const xcb_screen_t* screen = screenOf(connection.get(), screenNumber);
    Reader reader(connection.get(), patience, stop);
    if (!screen || !reader.open(screen->root, screen->root_visual))
        return std::nullopt;
    const xcb_atom_t name = selection == Selection::Primary ? xcb_atom_t{XCB_ATOM_PRIMARY}
                                                            : x11Atom(connection.get(), "CLIPBOARD");
    // Text as UTF-8, else from an older holder as Latin-1.
    for (const char* target : {"UTF8_STRING", "STRING"}) {
        bool refused = false;
        if (!reader.convert(name, x11Atom(connection.get(), target), refused))
            return std::nullopt;
        if (refused)
            continue;
        const std::optional<QByteArray> text = reader.take();
        if (!text)
            return std::nullopt;
        return target[0] == 'U' ? QString::fromUtf8(*text) : QString::fromLatin1(*text);
    }
    return QString();
}

} // namespace rovanta
