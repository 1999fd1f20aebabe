#include "devices/model/mouse_key_table.h"

#include <algorithm>

#include "devices/model/slow_link.h"

namespace zrv::devices {
namespace {

constexpr size_t kInfoKeySlots = 5;

}  // namespace

MouseKeyTable::KeyMap MouseKeyTable::EmptyMap() {
  KeyMap map;
  map.fill(kNoSlot);
  return map;
}

MouseKeyTable::KeyMap MouseKeyTable::BuildMap(const std::vector<uint8_t>& default_keys, size_t slot_count) {
  KeyMap map = EmptyMap();
  const size_t slot_total = std::min(slot_count, default_keys.size() / 3);
  for (size_t j = 0; j < map.size(); ++j) {
    const device::KeyCode code = device::kMouseKeyIdentityTable[j].code;
    for (size_t k = 0; k < slot_total && k < kNoSlot; ++k) {
      if (default_keys[k * 3] == code.type && default_keys[k * 3 + 1] == code.first &&
          default_keys[k * 3 + 2] == code.second) {
        map[j] = static_cast<uint8_t>(k);
        break;
      }
    }
  }
  return map;
}

bool MouseKeyTable::Present(int key) const {
  return key >= 0 && static_cast<size_t>(key) < map_.size() && map_[static_cast<size_t>(key)] != kNoSlot;
}

void MouseKeyTable::Read(DeviceLinks& links) {
  if (!links.Connected()) return;
  device::DeviceLink& link = links.Command();
  // Nothing of an earlier attach survives: until the table is read, no button is placed.
  default_keys_.clear();
  map_ = EmptyMap();

  if (!ProbeIfSlow(link)) return;
  link.Begin();
  const bool info_read = link.ReadInfo(links.Info()) == 1;
  const size_t slot_count = info_read ? links.Info()[kInfoKeySlots] : 0;
  if (slot_count == 0 || slot_count * 3 > kMaxTableBytes ||
      link.SetDataSize(static_cast<uint32_t>(slot_count * 3)) != 1) {
    link.End();
    return;
  }
  std::vector<uint8_t> keys(slot_count * 3, 0);
  const bool keys_read = link.ReadDefaultKeys(keys) == 1;
  link.End();
  // A half-read table would give the unread slots code 0 in the next key table written.
  if (!keys_read) return;
  default_keys_ = std::move(keys);
  map_ = BuildMap(default_keys_, slot_count);
}

int MouseKeyTable::WriteAssignments(DeviceLinks& links, int profile_index,
                                    const std::vector<config::KeyRecord>& keys) const {
  if (!links.Connected() || default_keys_.empty()) return 0;
  device::DeviceLink& link = links.Command();
  // A mouse that does not answer (asleep behind its receiver) did not take its keys: the editor
  // tells the user (-1), instead of the 0 that means nothing was there to write.
  if (!ProbeIfSlow(link) || link.ReadInfo(links.Info()) != 1) return -1;
  std::vector<uint8_t> table = default_keys_;
  const size_t count = std::min(keys.size(), map_.size());
  for (size_t j = 0; j < count; ++j) {
    const size_t slot = map_[j];
    if (slot == kNoSlot || slot * 3 + 2 >= table.size()) continue;
    const config::KeyHalf& assignment = keys[j].assignment;
    table[slot * 3] = assignment.type;
    table[slot * 3 + 1] = assignment.value;
    table[slot * 3 + 2] = assignment.extra;
  }
  if (!ProbeIfSlow(link)) return -1;
  link.Begin();
  if (!ProbeIfSlow(link)) return -1;
  const int written = link.WriteKeys(table, profile_index);
  if (!ProbeIfSlow(link)) return -1;
  link.End();
  return written == device::kLinkOk ? 1 : -1;
}

}  // namespace zrv::devices
