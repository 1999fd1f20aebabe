#include "platform/input/xkb_autorepeat.h"

// The XKB header names a member "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <cstdint>
#include <cstdlib>

namespace zrv::platform::input {

bool MakeAutorepeatDetectable(xcb_connection_t* connection) {
  xcb_xkb_use_extension_reply_t* use =
      xcb_xkb_use_extension_reply(connection, xcb_xkb_use_extension(connection, 1, 0), nullptr);
  const bool supported = use != nullptr && use->supported != 0;
  std::free(use);
  if (!supported) return false;
  const std::uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
  xcb_xkb_per_client_flags_reply_t* flags = xcb_xkb_per_client_flags_reply(
      connection, xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0), nullptr);
  const bool set = flags != nullptr && (flags->value & flag) != 0;
  std::free(flags);
  return set;
}

}  // namespace zrv::platform::input
