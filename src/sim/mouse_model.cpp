#include "sim/mouse_model.h"

#include "sim/factory_settings.h"
#include "sim/key_tables.h"
#include "sim/report_descriptors.h"
#include "sim/sim_ids.h"

namespace zrv::sim {
namespace {

constexpr size_t kShootSize = 4096;  // four guns of 180 events need 2920 bytes

ModelIdentity MouseIdentity(std::string kind_name, int kind) {
  return ModelIdentity{.kind_name = std::move(kind_name),
                       .kind = kind,
                       .vendor_id = kVendorId,
                       .product_id = kMouseProductId,
                       .version = kFirmwareVersion,
                       .interface_number = kCommandInterface,
                       .descriptor = MouseInterfaceDescriptor(),
                       .command_collection = kCommandCollection - 1,
                       .notification_collection = kNotificationCollection - 1};
}

}  // namespace

std::shared_ptr<MouseModel> MouseModel::Create() { return std::make_shared<MouseModel>(); }

MouseModel::MouseModel() : MouseModel("mouse", kKindMouse) {}

MouseModel::MouseModel(std::string kind_name, int kind)
    : FirmwareModel(MouseIdentity(std::move(kind_name), kind), SettingsLayout{kSettingsStride, kSettingsReadSize}) {
  auto lock = Lock();
  const std::vector<uint8_t> factory = MouseFactoryKeys();
  const size_t slots = factory.size() / 3;
  auto& info = AreaLocked(Area::kInfo).Bytes();
  info[0] = 0x01;
  info[1] = static_cast<uint8_t>(kFirmwareVersion);
  info[2] = static_cast<uint8_t>(kFirmwareVersion >> 8);
  info[3] = static_cast<uint8_t>(kind);
  info[4] = kProfiles;
  info[kInfoKeySlots] = static_cast<uint8_t>(slots);
  info[kInfoMacroUnits] = kMacroUnits;
  info[7] = kLedCount;
  info[kInfoDpiFactor] = kDpiFactor;
  info[kInfoDpiMax] = static_cast<uint8_t>(kDpiMax);
  info[kInfoDpiMax + 1] = static_cast<uint8_t>(kDpiMax >> 8);
  info[kInfoDpiMin] = static_cast<uint8_t>(kDpiMin);
  info[kInfoDpiMin + 1] = static_cast<uint8_t>(kDpiMin >> 8);

  AreaLocked(Area::kSettings).Bytes() = MouseFactorySettings(kProfiles);
  AreaLocked(Area::kDefaultKeys).Bytes() = factory;
  auto& keys = AreaLocked(Area::kKeys);
  keys.Resize(kKeyTableStride);
  keys.Write(0, factory);
  std::vector<uint8_t> leds;
  for (size_t k = 0; k < slots; ++k) leds.push_back(static_cast<uint8_t>(k));
  AreaLocked(Area::kKeyLedMap).Bytes() = leds;
  AreaLocked(Area::kCustomLight).Resize(kCustomLightStride);
  AreaLocked(Area::kLightFrame).Resize(kLedCount * 3);
  AreaLocked(Area::kMacros).Resize(size_t{kMacroUnits} * kMacroUnit);
  AreaLocked(Area::kShoot).Resize(kShootSize);
  const uint8_t power[kPowerSize] = {100, 0, 0, 0, 0, 0};
  AreaLocked(Area::kPower).Write(0, power);
}

}  // namespace zrv::sim
