#pragma once
// DeviceKeyMaps: a device's logical key -> key slot and logical key -> LED index (255: none).
//
// A kind writes them when it reads its key tables (user-interface thread); the notification thread
// looks key slots up in them. They have their own lock, held only for the copy or the look-up.

#include <cstdint>
#include <mutex>
#include <vector>

#include "devices/model/keyboard_key_maps.h"

namespace zrv::devices {

class DeviceKeyMaps {
 public:
  // No key placed.
  void Clear();
  void Assign(const KeyboardKeyMaps& maps);
  // A copy of both maps.
  KeyboardKeyMaps Get() const;
  // The logical key on key slot `slot`; -1 when no key is placed there.
  int LogicalKeyOfSlot(unsigned slot) const;
  std::vector<uint8_t> SlotMap() const;
  std::vector<uint8_t> LedMap() const;

 private:
  mutable std::mutex mutex_;
  KeyboardKeyMaps maps_;
};

}  // namespace zrv::devices
