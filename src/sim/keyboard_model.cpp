#include "sim/keyboard_model.h"

#include <algorithm>

#include "sim/factory_settings.h"
#include "sim/key_tables.h"
#include "sim/report_descriptors.h"
#include "sim/sim_ids.h"

namespace zrv::sim {
namespace {

constexpr size_t kLedCount = 126;
constexpr size_t kKeyTables = 1;        // WriteKeys accepts table 0 only
constexpr size_t kShootSize = 4096;     // not used by a keyboard, but answered like the mouse's

ModelIdentity KeyboardIdentity() {
  return ModelIdentity{.kind_name = "keyboard",
                       .kind = kKindKeyboard,
                       .vendor_id = kVendorId,
                       .product_id = kKeyboardProductId,
                       .version = kFirmwareVersion,
                       .interface_number = kCommandInterface,
                       .descriptor = KeyboardInterfaceDescriptor(),
                       .command_collection = kCommandCollection - 1,
                       .notification_collection = kNotificationCollection - 1};
}

}  // namespace

std::shared_ptr<KeyboardModel> KeyboardModel::Create(KeyboardOptions options) {
  return std::make_shared<KeyboardModel>(options);
}

KeyboardModel::KeyboardModel(KeyboardOptions options)
    : FirmwareModel(KeyboardIdentity(), SettingsLayout{kSettingsRecordSize, kSettingsRecordSize}) {
  auto lock = Lock();
  auto& info = AreaLocked(Area::kInfo).Bytes();
  info[0] = 0x01;  // block layout
  info[1] = static_cast<uint8_t>(kFirmwareVersion);
  info[2] = static_cast<uint8_t>(kFirmwareVersion >> 8);
  info[3] = kKindKeyboard;
  info[4] = kProfiles;
  info[kInfoMacroUnits] = options.macro_units;
  info[7] = kLedCount;

  AreaLocked(Area::kSettings).Bytes() = KeyboardFactorySettings(kProfiles);
  AreaLocked(Area::kCustomLight).Resize(kCustomLightGroups * kCustomLightStride);
  AreaLocked(Area::kLightFrame).Resize(kLedCount * 3);
  AreaLocked(Area::kMacros).Resize(size_t{options.macro_units} * kMacroUnit);
  AreaLocked(Area::kShoot).Resize(kShootSize);
  const uint8_t power[kPowerSize] = {100, 0, 0, 0, 0, 0};
  AreaLocked(Area::kPower).Write(0, power);
  BuildKeyAreasLocked(options.key_slots);
}

void KeyboardModel::BuildKeyAreasLocked(size_t slots) {
  slots = std::min(slots, kMaxKeyboardSlots);
  AreaLocked(Area::kInfo).Bytes()[kInfoKeySlots] = static_cast<uint8_t>(slots);
  std::vector<uint8_t> factory = KeyboardFactoryKeys(slots);
  AreaLocked(Area::kDefaultKeys).Bytes() = factory;
  AreaLocked(Area::kKeyLedMap).Bytes() = KeyboardLedMap(slots);
  auto& keys = AreaLocked(Area::kKeys);
  keys.Bytes().assign(kKeyTables * kKeyTableStride, 0);
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
