#include "platform/input/input_records.h"

#include <linux/input-event-codes.h>

#include "platform/input/scan_codes.h"

namespace zrv::platform::input {

KeyRecord MakeKeyRecord(bool press, std::uint32_t linux_key, bool alt_held, bool ctrl_held) {
  KeyRecord record;
  record.linux_key = linux_key;
  const bool is_alt = linux_key == KEY_LEFTALT || linux_key == KEY_RIGHTALT;
  if ((alt_held || is_alt) && !ctrl_held) {
    record.message = press ? KeyMessage::kSystemKeyDown : KeyMessage::kSystemKeyUp;
  } else {
    record.message = press ? KeyMessage::kKeyDown : KeyMessage::kKeyUp;
  }
  if (const auto scan = ScanCodeForLinuxKey(linux_key)) {
    record.scan_code = scan->code;
    record.extended = scan->extended;
  }
  return record;
}

bool ButtonMessageFor(unsigned x_button, bool press, ButtonMessage& message, std::uint32_t& mouse_data) {
  mouse_data = 0;
  switch (x_button) {
    case 1: message = press ? ButtonMessage::kLeftDown : ButtonMessage::kLeftUp; return true;
    case 2: message = press ? ButtonMessage::kMiddleDown : ButtonMessage::kMiddleUp; return true;
    case 3: message = press ? ButtonMessage::kRightDown : ButtonMessage::kRightUp; return true;
    case 8:
    case 9:
      message = press ? ButtonMessage::kXDown : ButtonMessage::kXUp;
      mouse_data = (x_button == 8 ? 1u : 2u) << 16;
      return true;
    default: return false;  // 4-7: the wheel
  }
}

bool IsLockKey(std::uint32_t linux_key) {
  return linux_key == KEY_CAPSLOCK || linux_key == KEY_NUMLOCK || linux_key == KEY_SCROLLLOCK;
}

}  // namespace zrv::platform::input
