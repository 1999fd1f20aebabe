#pragma once
// MouseKeyTable: the mouse's factory key table as read at the last attach, the map from logical
// mouse buttons to key slots built from it, and the key table written from them. A mouse behind a
// wireless receiver (a slow link) is probed before each step, so that a mouse that went to sleep
// ends the operation at once instead of waiting out every step. User-interface thread only.

#include <array>
#include <cstdint>
#include <vector>

#include "config/profile_records.h"
#include "device/key_identity_table.h"
#include "devices/model/device_links.h"

namespace zrv::devices {

class MouseKeyTable {
 public:
  static constexpr uint8_t kNoSlot = 126;  // the logical button is not on this mouse
  static constexpr size_t kMaxTableBytes = 512;
  using KeyMap = std::array<uint8_t, device::kMouseLogicalKeys>;

  // Reads the information block and the factory key table, then maps every logical button to the
  // first slot carrying its factory code. A table not read whole is not kept: no button is
  // placed. Nothing without a connection.
  void Read(DeviceLinks& links);

  // Writes the key table: the factory codes with the assignments of `keys` (element j belongs to
  // logical button j) on the slots of their buttons. 0 without I/O when not connected or the
  // factory table was not read whole; -1 when a probe of a slow link fails or the mouse refuses the
  // table; else 1.
  int WriteAssignments(DeviceLinks& links, int profile_index, const std::vector<config::KeyRecord>& keys) const;

  const std::vector<uint8_t>& DefaultKeys() const { return default_keys_; }
  const KeyMap& Map() const { return map_; }
  // Whether logical button `key` is on the attached mouse.
  bool Present(int key) const;

  // The map of a factory table holding `slot_count` slots (3 bytes each).
  static KeyMap BuildMap(const std::vector<uint8_t>& default_keys, size_t slot_count);

 private:
  std::vector<uint8_t> default_keys_;  // slots x 3
  KeyMap map_ = EmptyMap();

  static KeyMap EmptyMap();
};

}  // namespace zrv::devices
