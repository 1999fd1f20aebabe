#pragma once
// From the keyboard's key slots to the program's logical keys.
//
// The firmware numbers its keys by slot (0 … n - 1, n = information byte 5); the program by
// logical key (0 … 125: the key buttons of the picture and the profile's key list). The only link
// is the factory code of each slot: logical key j sits on the first slot whose factory code is
// kKeyIdentityTable[j]. Its LED index is then the key-to-LED table's entry of that slot.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/key_identity_table.h"

namespace zrv::devices {

inline constexpr size_t kKeyboardMapSize = device::kKeyboardLogicalKeys;
inline constexpr uint8_t kNoKeySlot = 255;
// LED indices run below this (the LEDs of a custom lighting group); others count as none.
inline constexpr uint8_t kKeyboardLeds = 126;
// The most key slots whose factory table (3 bytes each) fits the 512 bytes of a key table.
inline constexpr unsigned kMaxKeySlots = 170;

struct KeyboardKeyMaps {
  std::array<uint8_t, kKeyboardMapSize> slot;  // logical key -> key slot (255: none)
  std::array<uint8_t, kKeyboardMapSize> led;   // logical key -> LED index (255: none)
  KeyboardKeyMaps() {
    slot.fill(kNoKeySlot);
    led.fill(kNoKeySlot);
  }
};

// The maps of a keyboard with `slot_count` key slots, from its factory key table (3 bytes per
// slot) and its key-to-LED table (1 byte per slot); slots that the tables do not hold count as absent.
// Equal factory codes on two slots: the lower slot wins. As the firmware tables are read, LED
// indices are looked up for the logical keys below the slot count only; an LED index of
// kKeyboardLeds or above counts as none.
KeyboardKeyMaps BuildKeyboardKeyMaps(std::span<const uint8_t> default_keys, std::span<const uint8_t> key_leds,
                                     size_t slot_count);

// The debug lines "logical key,LED index" of the logical keys below the slot count.
std::vector<std::string> KeyMapTraceLines(const KeyboardKeyMaps& maps, size_t slot_count);

}  // namespace zrv::devices
