#include "sim/wireless_mouse_model.h"

#include "sim/sim_ids.h"

namespace zrv::sim {

std::shared_ptr<WirelessMouseModel> WirelessMouseModel::Create() { return std::make_shared<WirelessMouseModel>(); }

WirelessMouseModel::WirelessMouseModel() : MouseModel("wireless-mouse", device::DeviceKind::kWirelessMouse) {
  // On battery, as a wireless mouse is when it is not on its cable.
  const uint8_t power[kPowerSize] = {80, 2, 0, 0, 0, 0};
  SetAreaBytes(Area::kPower, 0, power);
}

FirmwareModel::Gate WirelessMouseModel::GateCommand(uint8_t command) const {
  if (reachable_.load() || command == command::kProbe) return Gate::kProcess;
  return unreachable_answer_.load() == UnreachableAnswer::kNoAnswer ? Gate::kNoAnswer : Gate::kFail;
}

uint8_t WirelessMouseModel::ProbeAnswer() const { return reachable_.load() ? kProbeReachable : 0x00; }

}  // namespace zrv::sim
