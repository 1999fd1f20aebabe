#include "device/device_grab_thread.h"

#include "device/discovery_scan.h"
#include "device/hid_interface.h"
#include "device/hid_path.h"
#include "platform/debug_output.h"

namespace zrv::device {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kExitTrace = "抓取设备线程设定退出";

}  // namespace

DeviceGrabThread::DeviceGrabThread(InterfaceList& list, DiscoverySink& sink) : list_(list), sink_(sink) {}

DeviceGrabThread::~DeviceGrabThread() { StopAndJoin(); }

bool DeviceGrabThread::Start() {
  if (running_.load()) return false;
  if (thread_.joinable()) thread_.join();  // ended on its own (enumeration failure) or stopped earlier
  stop_.Reset();
  {
    std::lock_guard lock(end_mutex_);
    ended_flag_ = false;
  }
  running_.store(true);
  thread_ = std::thread([this] { Run(); });
  return true;
}

void DeviceGrabThread::Stop() { stop_.Set(); }

bool DeviceGrabThread::WaitForEnd(std::chrono::milliseconds timeout) {
  std::unique_lock lock(end_mutex_);
  return ended_.wait_for(lock, timeout, [this] { return ended_flag_; });
}

void DeviceGrabThread::StopAndJoin() {
  Stop();
  if (thread_.joinable()) thread_.join();
}

void DeviceGrabThread::Run() {
  HidInterface probe;  // enumerator and probe, used by this thread only
  bool first_scan = true;
  Clock::time_point next = Clock::now();
  for (;;) {
    if (stop_.WaitUntil(next)) {
      platform::DebugOut(kExitTrace);
      break;
    }
    const Clock::time_point started = Clock::now();
    if (!list_.NothingLookedFor()) {
      if (!Scan(probe)) {
        // Without a list of interfaces nothing can be found any more.
        platform::DebugOut("枚举HID接口失败");
        platform::DebugOut(kExitTrace);
        break;
      }
      if (stop_.IsSet()) continue;
      if (first_scan) {
        first_scan = false;
        sink_.PostFirstScanDone();
      }
    }
    CheckPresence(probe);
    // Fixed rate; after an overlong round (a slow handler) pause a whole period rather than catch up.
    next = started + kPeriod;
    const Clock::time_point now = Clock::now();
    if (next <= now) next = now + kPeriod;
  }
  {
    std::lock_guard lock(end_mutex_);
    ended_flag_ = true;
    running_.store(false);
  }
  ended_.notify_all();
}

bool DeviceGrabThread::Scan(HidInterface& probe) {
  if (probe.EnumeratePaths() != 1) return false;
  scans_.fetch_add(1);
  while (auto path = probe.NextPath()) {
    if (stop_.IsSet()) break;
    const uint16_t vendor_id = PathVendorId(*path);
    const uint16_t product_id = PathProductId(*path);
    const uint16_t interface_number = PathInterfaceNumber(*path);
    const uint16_t collection = PathCollectionNumber(*path);
    if (!list_.IsLookedFor(vendor_id, product_id, interface_number, collection)) continue;
    const std::optional<ProbedInterface> probed = ProbeInterface(probe, *path);
    if (!probed) continue;  // tried again next round
    const std::optional<size_t> index = list_.Claim(*probed, *path);
    if (index && !SendAndWait(DiscoveryMessage::kDeviceAdd, *index)) break;
  }
  probe.FreePaths();
  return true;
}

void DeviceGrabThread::CheckPresence(HidInterface& probe) {
  for (const auto& [index, path] : list_.PresentPaths()) {
    if (stop_.IsSet()) return;
    // Without access rights the open only proves that the very same device is still there; a node
    // number taken over by another device has another path.
    if (probe.Open(path, false, false, false, false) == 1) {
      probe.Close();
      continue;
    }
    list_.Release(index);
    if (!SendAndWait(DiscoveryMessage::kDeviceRemove, index)) return;
  }
}

bool DeviceGrabThread::SendAndWait(DiscoveryMessage message, size_t index) {
  auto handover = std::make_shared<platform::Handover>(stop_);
  sink_.Send(message, index, handover);
  return handover->Wait();
}

}  // namespace zrv::device
