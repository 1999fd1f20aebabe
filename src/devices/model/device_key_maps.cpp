#include "devices/model/device_key_maps.h"

#include <algorithm>

namespace zrv::devices {

void DeviceKeyMaps::Clear() {
  std::lock_guard lock(mutex_);
  maps_ = KeyboardKeyMaps();
}

void DeviceKeyMaps::Assign(const KeyboardKeyMaps& maps) {
  std::lock_guard lock(mutex_);
  maps_ = maps;
}

KeyboardKeyMaps DeviceKeyMaps::Get() const {
  std::lock_guard lock(mutex_);
  return maps_;
}

int DeviceKeyMaps::LogicalKeyOfSlot(unsigned slot) const {
  if (slot == kNoKeySlot) return -1;
  std::lock_guard lock(mutex_);
  const auto found = std::find(maps_.slot.begin(), maps_.slot.end(), static_cast<uint8_t>(slot));
  return found != maps_.slot.end() ? static_cast<int>(found - maps_.slot.begin()) : -1;
}

std::vector<uint8_t> DeviceKeyMaps::SlotMap() const {
  std::lock_guard lock(mutex_);
  return {maps_.slot.begin(), maps_.slot.end()};
}

std::vector<uint8_t> DeviceKeyMaps::LedMap() const {
  std::lock_guard lock(mutex_);
  return {maps_.led.begin(), maps_.led.end()};
}

}  // namespace zrv::devices
