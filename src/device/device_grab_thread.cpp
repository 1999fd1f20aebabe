#include "device/device_grab_thread.h"

#include "device/discovery_scan.h"
#include "device/hid_interface.h"
#include "device/hid_path.h"
#include "platform/debug_output.h"
#include "platform/handover.h"

namespace zrv::device {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kExitTrace = "抓取设备线程设定退出";

}  // namespace

DeviceGrabThread::DeviceGrabThread(InterfaceList& list, DiscoverySink& sink) : list_(list), sink_(sink) {}

bool DeviceGrabThread::Start() {
  return worker_.Start([this](const platform::StopEvent& stop) { Run(stop); });
}

void DeviceGrabThread::Run(const platform::StopEvent& stop) {
  HidInterface probe;  // enumerator and probe, used by this thread only
  bool first_scan = true;
  Clock::time_point next = Clock::now();
  for (;;) {
    if (stop.WaitUntil(next)) {
      platform::DebugOut(kExitTrace);
      break;
    }
    const Clock::time_point started = Clock::now();
    if (!list_.NothingLookedFor()) {
      if (!Scan(probe, stop)) {
        // Without a list of interfaces nothing can be found any more.
        platform::DebugOut("枚举HID接口失败");
        platform::DebugOut(kExitTrace);
        break;
      }
      if (stop.IsSet()) continue;
      if (first_scan) {
        first_scan = false;
        sink_.PostFirstScanDone();
      }
    }
    CheckPresence(probe, stop);
    // Fixed rate; after an overlong round (a slow handler) pause a whole period rather than catch up.
    next = started + kPeriod;
    const Clock::time_point now = Clock::now();
    if (next <= now) next = now + kPeriod;
  }
}

bool DeviceGrabThread::Scan(HidInterface& probe, const platform::StopEvent& stop) {
  if (probe.EnumeratePaths() != 1) return false;
  scans_.fetch_add(1);
  while (auto path = probe.NextPath()) {
    if (stop.IsSet()) break;
    const uint16_t vendor_id = PathVendorId(*path);
    const uint16_t product_id = PathProductId(*path);
    const uint16_t interface_number = PathInterfaceNumber(*path);
    const uint16_t collection = PathCollectionNumber(*path);
    if (!list_.IsLookedFor(vendor_id, product_id, interface_number, collection)) continue;
    const std::optional<ProbedInterface> probed = ProbeInterface(probe, *path);
    if (!probed) continue;  // tried again next round
    const std::optional<size_t> index = list_.Claim(*probed, *path);
    if (index && !SendAndWait(DiscoveryMessage::kDeviceAdd, *index, stop)) break;
  }
  probe.FreePaths();
  return true;
}

void DeviceGrabThread::CheckPresence(HidInterface& probe, const platform::StopEvent& stop) {
  for (const auto& [index, path] : list_.PresentPaths()) {
    if (stop.IsSet()) return;
    // Without access rights the open only proves that the very same device is still there; a node
    // number taken over by another device has another path.
    if (probe.Open(path, false, false, false, false) == 1) {
      probe.Close();
      continue;
    }
    list_.Release(index);
    if (!SendAndWait(DiscoveryMessage::kDeviceRemove, index, stop)) return;
  }
}

bool DeviceGrabThread::SendAndWait(DiscoveryMessage message, size_t index, const platform::StopEvent& stop) {
  auto handover = std::make_shared<platform::Handover>(stop);
  sink_.Send(message, index, handover);
  return handover->Wait();
}

}  // namespace zrv::device
