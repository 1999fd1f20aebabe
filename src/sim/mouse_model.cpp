#include "sim/mouse_model.h"

#include "sim/factory_settings.h"
#include "sim/key_tables.h"
#include "sim/report_descriptors.h"
#include "sim/sim_ids.h"

namespace zrv::sim {
namespace {

constexpr size_t kShootSize = 4096;  // four guns of 180 events need 2920 bytes
constexpr uint8_t kPower[] = {100, 0, 0, 0, 0, 0};

}  // namespace

std::shared_ptr<MouseModel> MouseModel::Create() { return std::make_shared<MouseModel>(); }

MouseModel::MouseModel() : MouseModel("mouse", device::DeviceKind::kMouse) {}

MouseModel::MouseModel(std::string kind_name, device::DeviceKind kind)
    : FirmwareModel(InterfaceOneIdentity(std::move(kind_name), kind, kMouseProductId, MouseInterfaceDescriptor()),
                    SettingsLayout{kSettingsStride, kSettingsReadSize}) {
  auto lock = Lock();
  InitLocked(kProfiles, kLedCount,
             AreaSizes{.keys = kKeyTableStride,
                       .custom_light = kCustomLightStride,
                       .light_frame = kLedCount * 3,
                       .macros = size_t{kMacroUnits} * kMacroUnit,
                       .shoot = kShootSize},
             MouseFactorySettings(kProfiles), kPower);
  const std::vector<uint8_t> factory = MouseFactoryKeys();
  const size_t slots = factory.size() / 3;
  auto& info = AreaLocked(Area::kInfo).Bytes();
  info[kInfoKeySlots] = static_cast<uint8_t>(slots);
  info[kInfoMacroUnits] = kMacroUnits;
  info[kInfoDpiFactor] = kDpiFactor;
  info[kInfoDpiMax] = static_cast<uint8_t>(kDpiMax);
  info[kInfoDpiMax + 1] = static_cast<uint8_t>(kDpiMax >> 8);
  info[kInfoDpiMin] = static_cast<uint8_t>(kDpiMin);
  info[kInfoDpiMin + 1] = static_cast<uint8_t>(kDpiMin >> 8);

  AreaLocked(Area::kDefaultKeys).Bytes() = factory;
  AreaLocked(Area::kKeys).Write(0, factory);
  std::vector<uint8_t> leds;
  for (size_t k = 0; k < slots; ++k) leds.push_back(static_cast<uint8_t>(k));
  AreaLocked(Area::kKeyLedMap).Bytes() = leds;
}

}  // namespace zrv::sim
