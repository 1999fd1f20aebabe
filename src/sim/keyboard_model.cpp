#include "sim/keyboard_model.h"

#include <algorithm>

#include "sim/factory_settings.h"
#include "sim/key_tables.h"
#include "sim/report_descriptors.h"
#include "sim/sim_ids.h"

namespace zrv::sim {
namespace {

constexpr size_t kLedCount = 126;
constexpr size_t kKeyTables = 1;     // WriteKeys accepts table 0 only
constexpr size_t kShootSize = 4096;  // not used by a keyboard, but answered like the mouse's
constexpr uint8_t kPower[] = {100, 0, 0, 0, 0, 0};

}  // namespace

std::shared_ptr<KeyboardModel> KeyboardModel::Create(KeyboardOptions options) {
  return std::make_shared<KeyboardModel>(options);
}

KeyboardModel::KeyboardModel(KeyboardOptions options)
    : FirmwareModel(
          InterfaceOneIdentity("keyboard", device::DeviceKind::kKeyboard, kKeyboardProductId,
                               KeyboardInterfaceDescriptor(options.command_usage_page), options.interface_number),
          SettingsLayout{kSettingsRecordSize, kSettingsRecordSize}) {
  auto lock = Lock();
  InitLocked(kProfiles, kLedCount,
             AreaSizes{.keys = kKeyTables * kKeyTableStride,
                       .custom_light = kCustomLightGroups * kCustomLightStride,
                       .light_frame = kLedCount * 3,
                       .macros = size_t{options.macro_units} * kMacroUnit,
                       .shoot = kShootSize},
             KeyboardFactorySettings(kProfiles), kPower);
  AreaLocked(Area::kInfo).Bytes()[kInfoMacroUnits] = options.macro_units;
  BuildKeyAreasLocked(options.key_slots);
}

void KeyboardModel::BuildKeyAreasLocked(size_t slots) {
  slots = std::min(slots, kMaxKeyboardSlots);
  AreaLocked(Area::kInfo).Bytes()[kInfoKeySlots] = static_cast<uint8_t>(slots);
  std::vector<uint8_t> factory = KeyboardFactoryKeys(slots);
  AreaLocked(Area::kDefaultKeys).Bytes() = factory;
  AreaLocked(Area::kKeyLedMap).Bytes() = KeyboardLedMap(slots);
  auto& keys = AreaLocked(Area::kKeys);
  keys.Fill(0);
  keys.Write(0, factory);
}

void KeyboardModel::SetKeySlotCount(size_t slots) {
  auto lock = Lock();
  BuildKeyAreasLocked(slots);
}

size_t KeyboardModel::KeySlotCount() const {
  auto lock = Lock();
  return AreaLocked(Area::kInfo).Bytes()[kInfoKeySlots];
}

int KeyboardModel::SlotOfLogicalKey(size_t logical_key) const {
  if (logical_key >= kLogicalKeyCount) return -1;
  const KeyCode wanted = KeyboardKeyIdentity()[logical_key];
  auto lock = Lock();
  const auto& factory = AreaLocked(Area::kDefaultKeys).Bytes();
  for (size_t k = 0; k * 3 + 2 < factory.size(); ++k) {
    if (KeyCode{factory[k * 3], factory[k * 3 + 1], factory[k * 3 + 2]} == wanted) return static_cast<int>(k);
  }
  return -1;
}

}  // namespace zrv::sim
