#include "vm/kernel_hid_support.h"

#include <unistd.h>

#include "sim/simulated_devices.h"

namespace zrv::vmtest {

Bridged PlugThroughUhid(const std::string& kind) {
  Bridged bridged;
  bridged.model = sim::CreateModel(kind);
  if (!bridged.model) {
    ADD_FAILURE() << "no simulated " << kind;
    return {};
  }
  std::string error;
  bridged.device = sim::UhidDevice::Create(bridged.model, error);
  if (!bridged.device) {
    ADD_FAILURE() << "plugging the " << kind << " through uhid: " << error;
    return {};
  }
  return bridged;
}

std::vector<std::string> EnumeratePaths() {
  device::HidInterface enumerator;
  EXPECT_EQ(enumerator.EnumeratePaths(), 1);
  std::vector<std::string> paths;
  while (auto path = enumerator.NextPath()) paths.push_back(*path);
  return paths;
}

std::vector<std::string> PathsOf(const sim::UhidDevice& device) {
  std::vector<std::string> mine;
  const std::string tag = "#" + device.HidName() + "#";
  for (auto& path : EnumeratePaths()) {
    if (path.find(tag) != std::string::npos) mine.push_back(std::move(path));
  }
  return mine;
}

std::string CollectionPath(const sim::UhidDevice& device, int collection) {
  char token[8];
  std::snprintf(token, sizeof token, "&col%02x", collection);
  for (auto& path : PathsOf(device)) {
    if (path.ends_with(token)) return path;
  }
  return {};
}

bool Connect(device::DeviceLink& link, const std::string& path) {
  if (link.Hid().Open(path, true, true, true, false) != 1) return false;
  link.SetConnected(true);
  return true;
}

bool HaveUhid() { return ::access("/dev/uhid", R_OK | W_OK) == 0; }

}  // namespace zrv::vmtest
