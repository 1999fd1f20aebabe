#include "sim/headset_model.h"

#include "sim/factory_settings.h"
#include "sim/report_descriptors.h"
#include "sim/sim_ids.h"

namespace zrv::sim {
namespace {

constexpr size_t kShootSize = 4096;
constexpr uint8_t kPower[] = {100, 0, 0, 0, 0, 0};

ModelIdentity HeadsetIdentity() {
  return ModelIdentity{.kind_name = "headset",
                       .kind = device::DeviceKind::kHeadset,
                       .vendor_id = kVendorId,
                       .product_id = kHeadsetProductId,
                       .version = kFirmwareVersion,
                       .interface_number = kHeadsetCommandInterface,
                       .descriptor = HeadsetInterfaceDescriptor(),
                       .command_collection = 0,
                       .notification_collection = 0};
}

// Light report layout.
constexpr size_t kTargetByte = 1;
constexpr size_t kPartByte = 2;
constexpr size_t kValuesByte = 4;
constexpr size_t kFirstHalf = 7;   // positions 0-6
constexpr size_t kSecondHalf = 6;  // positions 7-12

}  // namespace

std::shared_ptr<HeadsetModel> HeadsetModel::Create() { return std::make_shared<HeadsetModel>(); }

HeadsetModel::HeadsetModel() : FirmwareModel(HeadsetIdentity(), SettingsLayout{46, 46}) {
  auto lock = Lock();
  InitLocked(kProfiles, kLightPositions,
             AreaSizes{.keys = kKeyTableStride,
                       .custom_light = kCustomLightStride,
                       .light_frame = kLightPositions * 3,
                       .macros = 0,
                       .shoot = kShootSize},
             LightingFactorySettings(kProfiles), kPower);
}

bool HeadsetModel::OnOtherOutputReport(std::span<const uint8_t> report) {
  if (report.empty() || report[0] != kHeadsetLightReportId) return false;
  ++light_reports_;
  if (report.size() != kHeadsetLightReportSize) {
    ++malformed_light_reports_;
    return true;
  }
  const uint8_t target = report[kTargetByte];
  const uint8_t part = report[kPartByte];
  int side = target == kTargetA ? 0 : target == kTargetB ? 1 : -1;
  // Parts 0xAA..0xAC: red, green, blue of the first positions; 0xAD..0xAF: of the last ones.
  bool first_half = part >= 0xAA && part <= 0xAC;
  bool second_half = part >= 0xAD && part <= 0xAF;
  if (side < 0 || (!first_half && !second_half)) {
    ++malformed_light_reports_;
    return true;
  }
  const int component = (part - 0xAA) % 3;
  const size_t begin = first_half ? 0 : kFirstHalf;
  const size_t count = first_half ? kFirstHalf : kSecondHalf;
  std::lock_guard lock(light_mutex_);
  for (size_t i = 0; i < count; ++i) {
    Rgb& rgb = colours_[side][begin + i];
    uint8_t value = report[kValuesByte + i];
    (component == 0 ? rgb.red : component == 1 ? rgb.green : rgb.blue) = value;
  }
  return true;
}

HeadsetModel::LightColours HeadsetModel::Colours(uint8_t target) const {
  std::lock_guard lock(light_mutex_);
  if (target == kTargetA) return colours_[0];
  if (target == kTargetB) return colours_[1];
  return {};
}

}  // namespace zrv::sim
