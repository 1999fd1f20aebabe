#include "devices/model/keyboard_key_maps.h"

#include <algorithm>
#include <cstdio>

namespace zrv::devices {

KeyboardKeyMaps BuildKeyboardKeyMaps(std::span<const uint8_t> default_keys, std::span<const uint8_t> key_leds,
                                     size_t slot_count) {
  KeyboardKeyMaps maps;
  // Slot 255 would read as "none".
  const size_t coded = std::min({slot_count, default_keys.size() / 3, size_t{kNoKeySlot}});
  for (size_t j = 0; j < kKeyboardMapSize; ++j) {
    const device::KeyCode wanted = device::kKeyIdentityTable[j];
    for (size_t k = 0; k < coded; ++k) {
      const device::KeyCode code{default_keys[3 * k], default_keys[3 * k + 1], default_keys[3 * k + 2]};
      if (code == wanted) {
        maps.slot[j] = static_cast<uint8_t>(k);
        break;
      }
    }
  }
  const size_t keys = std::min(slot_count, kKeyboardMapSize);
  for (size_t l = 0; l < keys; ++l) {
    const uint8_t slot = maps.slot[l];
    // A custom lighting group has kKeyboardLeds LEDs: an index beyond them would put the key's
    // colour outside its group.
    if (slot != kNoKeySlot && slot < key_leds.size() && key_leds[slot] < kKeyboardLeds) maps.led[l] = key_leds[slot];
  }
  return maps;
}

std::vector<std::string> KeyMapTraceLines(const KeyboardKeyMaps& maps, size_t slot_count) {
  std::vector<std::string> lines;
  const size_t keys = std::min(slot_count, kKeyboardMapSize);
  lines.reserve(keys);
  for (size_t l = 0; l < keys; ++l) {
    char line[16];
    std::snprintf(line, sizeof line, "%d,%d", static_cast<int>(l), static_cast<int>(maps.led[l]));
    lines.emplace_back(line);
  }
  return lines;
}

}  // namespace zrv::devices
