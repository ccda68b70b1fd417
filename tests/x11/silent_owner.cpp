// A program that takes the clipboard and the primary selection and never answers a request for them, as
// a hung program holding a copied text does. It writes "owning" to standard error once it holds both, then
// waits to be killed.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <unistd.h>

int main()
{
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
    const char* name = "CLIPBOARD";
    xcb_intern_atom_reply_t* clipboard = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (!clipboard)
        return 1;
    for (const xcb_atom_t selection : {clipboard->atom, xcb_atom_t{XCB_ATOM_PRIMARY}})
        xcb_set_selection_owner(connection, window, selection, XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    std::fputs("owning\n", stderr);
    // Requests arrive as events that are never read.
    for (;;)
        pause();
}
