#include "sim/mousepad_model.h"

#include "sim/factory_settings.h"
#include "sim/report_descriptors.h"
#include "sim/sim_ids.h"

namespace zrv::sim {
namespace {

constexpr size_t kShootSize = 4096;  // answered like the mouse's, never used
// 85 %, charging, charged wirelessly, a phone of the second kind on the pad.
constexpr uint8_t kPower[] = {85, 1, 0, 1, 0, 2};

}  // namespace

std::shared_ptr<MousePadModel> MousePadModel::Create() { return std::make_shared<MousePadModel>(); }

MousePadModel::MousePadModel()
    : FirmwareModel(InterfaceOneIdentity("mousepad", device::DeviceKind::kMousePad, kMousePadProductId,
                                         KeyboardInterfaceDescriptor()),
                    SettingsLayout{46, 46}) {
  auto lock = Lock();
  // No keys and no macro memory.
  InitLocked(kProfiles, kLedCount,
             AreaSizes{.keys = kKeyTableStride,
                       .custom_light = kCustomLightStride,
                       .light_frame = kLedCount * 3,
                       .macros = 0,
                       .shoot = kShootSize},
             LightingFactorySettings(kProfiles), kPower);
}

void MousePadModel::SetPower(const std::array<uint8_t, 6>& bytes) { SetAreaBytes(Area::kPower, 0, bytes); }

}  // namespace zrv::sim
