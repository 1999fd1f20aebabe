#pragma once
// KeyboardKeyTable: the keyboard's firmware key tables as read at the last attach (the factory key
// table, 3 bytes per key slot, and the key-to-LED table, 1 byte per slot) and the key table
// written from them. Reading them also fills the device's key maps. User-interface thread only.

#include <cstdint>
#include <vector>

#include "config/profile_records.h"
#include "devices/model/device_key_maps.h"
#include "devices/model/device_links.h"

namespace zrv::devices {

class KeyboardKeyTable {
 public:
  // Reads the information block and, when the slot count fits a key table (at most 170 slots),
  // the factory key table and the key-to-LED table, then rebuilds `maps`. A table that is not read
  // whole is not kept: no key is placed (no LED index, for the LED table). Nothing without a
  // connection.
  void Read(DeviceLinks& links, DeviceKeyMaps& maps);

  // Writes the key table: the factory codes with the assignments on the slots of their logical keys
  // (element j of `keys` belongs to logical key j). 0 without I/O when not connected or the factory
  // table was not read whole; 1 when the keyboard took the table, -1 when the write failed.
  int WriteAssignments(DeviceLinks& links, const DeviceKeyMaps& maps, int profile_index,
                       const std::vector<config::KeyRecord>& keys) const;

  const std::vector<uint8_t>& DefaultKeys() const { return default_keys_; }
  const std::vector<uint8_t>& KeyLeds() const { return key_leds_; }

 private:
  std::vector<uint8_t> default_keys_;  // slots x 3
  std::vector<uint8_t> key_leds_;      // slots
};

}  // namespace zrv::devices
