// A program that takes the clipboard and the primary selection and answers requests for their text the way
// a troublesome holder does:
//
//     paste_owner once|slow|silent|huge TEXT...
//
// once answers the first request at once and never another; slow answers each after half a second;
// silent never answers; huge answers each at once with its text a hundred thousand times over. The n-th
// answer carries the n-th TEXT (the last one again once they run out). It writes "owning" to standard
// error once it holds both selections and "answered N" after each answer, and runs until killed.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return value;
}

void answer(xcb_connection_t* connection, const xcb_selection_request_event_t& request, xcb_atom_t property)
{
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    xcb_send_event(connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
    xcb_flush(connection);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string_view mode = argv[1];
    const std::vector<std::string> texts(argv + 2, argv + argc);
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection))
        return 1;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; screenNumber > 0; --screenNumber)
        xcb_screen_next(&screens);
    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screens.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screens.data->root_visual, 0, nullptr);
    const xcb_atom_t utf8 = atom(connection, "UTF8_STRING");
    const xcb_atom_t targets = atom(connection, "TARGETS");
    for (const xcb_atom_t selection : {atom(connection, "CLIPBOARD"), xcb_atom_t{XCB_ATOM_PRIMARY}})
        xcb_set_selection_owner(connection, window, selection, XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    std::fputs("owning\n", stderr);

    std::size_t answered = 0;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool isRequest = (event->response_type & 0x7f) == XCB_SELECTION_REQUEST;
        const auto request = *reinterpret_cast<const xcb_selection_request_event_t*>(event);
        std::free(event);
        if (!isRequest || mode == "silent" || (mode == "once" && answered > 0))
            continue;
        if (mode == "slow")
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        std::string text = texts[std::min(answered, texts.size() - 1)];
        if (mode == "huge") {
            std::string many;
            for (int copy = 0; copy < 100000; ++copy)
                many += text;
            text = std::move(many);
        }
        xcb_atom_t property = request.property;
        if (request.target == targets) {
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM,
                                32, 1, &utf8);
        } else if (request.target == utf8 || request.target == XCB_ATOM_STRING) {
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                request.target, 8, static_cast<uint32_t>(text.size()), text.data());
            ++answered;
        } else {
            property = XCB_ATOM_NONE;
        }
        answer(connection, request, property);
        if (property != XCB_ATOM_NONE && request.target != targets)
            std::fprintf(stderr, "answered %zu\n", answered);
    }
    return 0;
}
