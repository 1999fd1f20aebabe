#include "device/discovery_scan.h"

#include "device/hid_interface.h"
#include "device/hid_path.h"

namespace zrv::device {

std::optional<ProbedInterface> ProbeInterface(HidInterface& probe, const std::string& path) {
  if (probe.Open(path, true, false, true, false) != 1) return std::nullopt;
  const ProbedInterface probed{probe.VendorId(),           probe.ProductId(), PathInterfaceNumber(path),
                               PathCollectionNumber(path), probe.UsagePage(), probe.Usage()};
  probe.Close();
  return probed;
}

bool FindSupportedInterfaces(const InterfaceList& list, std::vector<FoundInterface>& found) {
  HidInterface hid;
  if (hid.EnumeratePaths() != 1) return false;
  HidInterface probe;
  while (auto path = hid.NextPath()) {
    if (!list.Identifies(PathVendorId(*path), PathProductId(*path), PathInterfaceNumber(*path),
                         PathCollectionNumber(*path))) {
      continue;
    }
    const std::optional<ProbedInterface> probed = ProbeInterface(probe, *path);
    if (!probed) continue;
    if (auto index = list.Match(*probed)) found.push_back({*index, *path, *probed});
  }
  return true;
}

}  // namespace zrv::device
