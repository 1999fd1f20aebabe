#include "sim/mousepad_model.h"

#include "sim/factory_settings.h"
#include "sim/report_descriptors.h"
#include "sim/sim_ids.h"

namespace zrv::sim {
namespace {

constexpr size_t kMacroSize = 0;      // the pad has no keys and no macro memory
constexpr size_t kShootSize = 4096;   // answered like the mouse's, never used

ModelIdentity MousePadIdentity() {
  return ModelIdentity{.kind_name = "mousepad",
                       .kind = kKindMousePad,
                       .vendor_id = kVendorId,
                       .product_id = kMousePadProductId,
                       .version = kFirmwareVersion,
                       .interface_number = kCommandInterface,
                       .descriptor = KeyboardInterfaceDescriptor(),
                       .command_collection = kCommandCollection - 1,
                       .notification_collection = kNotificationCollection - 1};
}

}  // namespace

std::shared_ptr<MousePadModel> MousePadModel::Create() { return std::make_shared<MousePadModel>(); }

MousePadModel::MousePadModel() : FirmwareModel(MousePadIdentity(), SettingsLayout{46, 46}) {
  auto lock = Lock();
  auto& info = AreaLocked(Area::kInfo).Bytes();
  info[0] = 0x01;
  info[1] = static_cast<uint8_t>(kFirmwareVersion);
  info[2] = static_cast<uint8_t>(kFirmwareVersion >> 8);
  info[3] = kKindMousePad;
  info[4] = kProfiles;
  info[7] = kLedCount;
  AreaLocked(Area::kSettings).Bytes() = LightingFactorySettings(kProfiles);
  AreaLocked(Area::kKeys).Resize(kKeyTableStride);
  AreaLocked(Area::kCustomLight).Resize(kCustomLightStride);
  AreaLocked(Area::kLightFrame).Resize(kLedCount * 3);
  AreaLocked(Area::kMacros).Resize(kMacroSize);
  AreaLocked(Area::kShoot).Resize(kShootSize);
  // 85 %, charging, charged wirelessly, a phone of the second kind on the pad.
  const uint8_t power[kPowerSize] = {85, 1, 0, 1, 0, 2};
  AreaLocked(Area::kPower).Write(0, power);
}

void MousePadModel::SetPower(const std::array<uint8_t, 6>& bytes) { SetAreaBytes(Area::kPower, 0, bytes); }

}  // namespace zrv::sim
