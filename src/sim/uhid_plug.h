#pragma once
// Plugging the simulated devices of a --simulate style LIST into the kernel through /dev/uhid.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/firmware_model.h"
#include "sim/uhid_device.h"

namespace zrv::sim {

struct UhidPlugResult {
  // In list order; devices[i] bridges models[i].
  std::vector<std::shared_ptr<FirmwareModel>> models;
  std::vector<std::unique_ptr<UhidDevice>> devices;
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// Creates the models LIST names and plugs each through uhid. All or nothing: on failure the
// devices already plugged are unplugged again and the result holds only the error.
UhidPlugResult PlugSimulatedThroughUhid(std::string_view list, const UhidOptions& options = {});

}  // namespace zrv::sim
