#pragma once
// Linux key codes (an X keycode minus 8, an evdev code) to the PC set-1 scan codes by which the
// key table recognises a captured key.

#include <cstdint>
#include <optional>

namespace zrv::platform::input {

struct ScanCode {
  std::uint8_t code = 0;
  bool extended = false;  // sent with the E0 prefix

  friend bool operator==(const ScanCode&, const ScanCode&) = default;
};

// Nothing for keys a PC keyboard has no scan code for.
std::optional<ScanCode> ScanCodeForLinuxKey(std::uint32_t linux_key);

}  // namespace zrv::platform::input
