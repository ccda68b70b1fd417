#pragma once

#include <xcb/xcb.h>

namespace rovanta {

// The atom X knows by `name`, interned if it is new; XCB_ATOM_NONE when the server gives no answer.
xcb_atom_t x11Atom(xcb_connection_t* connection, const char* name);

} // namespace rovanta
