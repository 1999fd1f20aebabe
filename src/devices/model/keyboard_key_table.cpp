#include "devices/model/keyboard_key_table.h"

#include <algorithm>
#include <string>

#include "devices/model/keyboard_key_maps.h"
#include "platform/debug_output.h"

namespace zrv::devices {
namespace {

constexpr size_t kInfoKeySlots = 5;

}  // namespace

void KeyboardKeyTable::Read(DeviceLinks& links, DeviceKeyMaps& maps) {
  if (!links.Connected()) return;
  device::DeviceLink& link = links.Command();
  // Maps of an earlier attach must not survive: until the tables are read, no key is placed.
  maps.Clear();
  default_keys_.clear();
  key_leds_.clear();

  link.Begin();
  // Only tables read whole are kept: the key table written later starts from the factory table, so
  // a half-read one would give every unread slot the code 0 and switch those keys off. Without the
  // information block there is no slot count to trust (the block may still hold an earlier keyboard's).
  // The sequence is closed in every case.
  const unsigned slot_count = link.ReadInfo(links.Info()) == 1 ? links.Info()[kInfoKeySlots] : 0;
  // More slots than a key table holds: nothing is read.
  if (slot_count == 0 || link.SetDataSize(slot_count * 3) != 1) {
    link.End();
    return;
  }
  std::vector<uint8_t> keys(size_t{slot_count} * 3, 0);
  std::vector<uint8_t> leds(slot_count, 0);
  const bool keys_read = link.ReadDefaultKeys(keys) == 1;
  // Without the LED table the keys are still placed, without LED indices.
  const bool leds_read = keys_read && link.ReadKeyLedMap(leds) == 1;
  link.End();
  if (!keys_read) return;
  default_keys_ = std::move(keys);
  if (leds_read) key_leds_ = std::move(leds);

  const KeyboardKeyMaps built = BuildKeyboardKeyMaps(default_keys_, key_leds_, slot_count);
  maps.Assign(built);
  for (const std::string& line : KeyMapTraceLines(built, slot_count)) platform::DebugOut(line);
}

int KeyboardKeyTable::WriteAssignments(DeviceLinks& links, const DeviceKeyMaps& maps, int profile_index,
                                       const std::vector<config::KeyRecord>& keys) const {
  // Without the factory table (not read whole at attach) there is nothing sound to write.
  if (!links.Connected() || default_keys_.empty()) return 0;
  device::DeviceLink& link = links.Command();
  link.ReadInfo(links.Info());
  std::vector<uint8_t> table = default_keys_;
  const KeyboardKeyMaps placed = maps.Get();
  const size_t count = std::min(keys.size(), kKeyboardMapSize);
  for (size_t j = 0; j < count; ++j) {
    const uint8_t slot = placed.slot[j];
    if (slot == kNoKeySlot || size_t{slot} * 3 + 2 >= table.size()) continue;
    const config::KeyHalf& assignment = keys[j].assignment;
    table[size_t{slot} * 3] = assignment.type;
    table[size_t{slot} * 3 + 1] = assignment.value;
    table[size_t{slot} * 3 + 2] = assignment.extra;
  }
  link.Begin();
  const int written = link.WriteKeys(table, profile_index);
  link.End();
  // The editor tells the user when the keyboard did not take its keys.
  return written == device::kLinkOk ? 1 : -1;
}

}  // namespace zrv::devices
