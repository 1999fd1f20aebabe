#pragma once

#include <xcb/xcb.h>

namespace zrv::platform::input {

// Asks the server to report a held key's repeats as presses only (no release before each repeat)
// to this connection; false when its XKB extension cannot.
bool MakeAutorepeatDetectable(xcb_connection_t* connection);

}  // namespace zrv::platform::input
