#pragma once
// What the input capture hands over: one record per key or mouse-button event, in input order.
//
// The numbers of the message kinds are those the receivers (key assignment, macro recording) were
// written for: key down/up and system key down/up, and press/release of each mouse button.

#include <cstdint>

namespace zrv::platform::input {

enum class KeyMessage : std::uint32_t {
  kKeyDown = 0x0100,
  kKeyUp = 0x0101,
  kSystemKeyDown = 0x0104,  // with Alt held and no Ctrl (or Alt itself)
  kSystemKeyUp = 0x0105,
};

struct KeyRecord {
  KeyMessage message = KeyMessage::kKeyDown;
  std::uint32_t scan_code = 0;  // PC set-1 scan code; 0 for a key that has none
  bool extended = false;        // the E0 prefix
  std::uint32_t linux_key = 0;  // the Linux key code it came from (X keycode - 8)
};

enum class ButtonMessage : std::uint32_t {
  kLeftDown = 0x0201,
  kLeftUp = 0x0202,
  kRightDown = 0x0204,
  kRightUp = 0x0205,
  kMiddleDown = 0x0207,
  kMiddleUp = 0x0208,
  kXDown = 0x020B,
  kXUp = 0x020C,
};

struct ButtonRecord {
  ButtonMessage message = ButtonMessage::kLeftDown;
  std::int32_t x = 0;  // screen coordinates (device pixels)
  std::int32_t y = 0;
  std::uint32_t mouse_data = 0;  // high 16 bits: X button 1 (back) or 2 (forward)
};

// Where input is captured: on the whole desktop (keys taken away from every other program,
// buttons observed), only inside this program's windows while they have the focus, or not at all.
enum class CaptureScope { kNone = 0, kDesktop = 1, kWindow = 2 };

// The record of a key event. alt_held/ctrl_held: the modifier state before the event; they make
// the message a system key message (Alt held without Ctrl, or Alt itself).
KeyRecord MakeKeyRecord(bool press, std::uint32_t linux_key, bool alt_held, bool ctrl_held);

// The button message of a pointer button (1 left, 2 middle, 3 right, 8 back, 9 forward as X and
// evdev number them); false for buttons without one (the wheel).
bool ButtonMessageFor(unsigned x_button, bool press, ButtonMessage& message, std::uint32_t& mouse_data);

// Caps Lock, Num Lock and Scroll Lock: they keep working for the whole desktop while keys are
// captured.
bool IsLockKey(std::uint32_t linux_key);

}  // namespace zrv::platform::input
