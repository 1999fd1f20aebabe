#include "sim/uhid_plug.h"

#include "sim/simulated_devices.h"

namespace zrv::sim {

UhidPlugResult PlugSimulatedThroughUhid(std::string_view list, const UhidOptions& options) {
  UhidPlugResult result;
  std::vector<std::string> names;
  if (!ParseSimulateList(list, names, result.error)) return result;
  for (const auto& name : names) {
    auto model = CreateModel(name);
    std::string error;
    auto device = model ? UhidDevice::Create(model, error, options) : nullptr;
    if (!device) {
      result.devices.clear();  // unplugs
      result.models.clear();
      result.error = "could not plug the simulated " + name + " through uhid: " + error;
      return result;
    }
    result.models.push_back(std::move(model));
    result.devices.push_back(std::move(device));
  }
  return result;
}

}  // namespace zrv::sim
