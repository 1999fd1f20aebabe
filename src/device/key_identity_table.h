#pragma once
// The codes that identify the keys of the keyboard and the buttons of the mouse.
//
// The firmware numbers its keys by key slot; the program numbers them by logical key (the key
// buttons of the device picture and the elements of a profile's key list). A logical key is found
// on the device by the code that its slot carries from the factory, so these tables are the only
// link between the two numberings. They are also the factory assignments of the profile templates.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zrv::device {

// A 3-byte key code: type, first value, second value. Type 0x20 is a keyboard key (first = modifier
// bits, second = HID keyboard usage), 0x30 a consumer-control usage (in the first value); other
// types are passed through unchanged.
struct KeyCode {
  uint8_t type = 0;
  uint8_t first = 0;
  uint8_t second = 0;

  // The form profiles keep: type × 65536 + first × 256 + second.
  constexpr uint32_t Packed() const { return (uint32_t{type} << 16) | (uint32_t{first} << 8) | uint32_t{second}; }
  static constexpr KeyCode FromPacked(uint32_t packed) {
    return {static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8), static_cast<uint8_t>(packed)};
  }
  friend constexpr bool operator==(const KeyCode&, const KeyCode&) = default;
};

// The keyboard: the default code of every logical key 0 … 125.
inline constexpr size_t kKeyboardLogicalKeys = 126;
extern const std::array<KeyCode, kKeyboardLogicalKeys> kKeyIdentityTable;

// The mouse: logical buttons 0 … 9, each with the language text id under which it is shown.
struct MouseKeyIdentity {
  KeyCode code;
  std::string_view name;
};
inline constexpr size_t kMouseLogicalKeys = 10;
extern const std::array<MouseKeyIdentity, kMouseLogicalKeys> kMouseKeyIdentityTable;

}  // namespace zrv::device
