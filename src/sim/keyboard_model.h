#pragma once
// The keyboard (kind 1): interface 1 of 0x320F:0x505B.
//
// Information block: byte 5 key slots (126 unless configured), byte 6 macro memory in units of 128
// bytes. Factory key codes and LED indices follow the firmware's own slot order (key_tables.h).
// Settings: 46-byte records at profile x 46. Custom lighting: 8 groups of 378 bytes.

#include <memory>

#include "sim/firmware_model.h"

namespace zrv::sim {

struct KeyboardOptions {
  size_t key_slots = 126;      // at most 126
  uint8_t macro_units = 0x40;  // 8 KiB of macro memory
  // Lookalikes that discovery must ignore: the same ids on another interface, or a command
  // collection under a foreign usage page.
  int interface_number = 1;
  uint16_t command_usage_page = 0xFF1C;
};

class KeyboardModel : public FirmwareModel {
 public:
  static constexpr size_t kSettingsRecordSize = 46;
  static constexpr size_t kCustomLightGroups = 8;
  static constexpr size_t kProfiles = 4;

  static std::shared_ptr<KeyboardModel> Create(KeyboardOptions options = {});

  // Changes the key-slot count: information byte 5, the factory table, the key table and the LED
  // map follow.
  void SetKeySlotCount(size_t slots);
  size_t KeySlotCount() const;

  // Slot that carries a logical key's default code first (what the host's slot map should find),
  // or -1 when none of the keyboard's slots does.
  int SlotOfLogicalKey(size_t logical_key) const;

  explicit KeyboardModel(KeyboardOptions options);

 private:
  void BuildKeyAreasLocked(size_t slots);
};

}  // namespace zrv::sim
