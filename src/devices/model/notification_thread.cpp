#include "devices/model/notification_thread.h"

#include <vector>

#include "device/hid_interface.h"
#include "platform/debug_output.h"

namespace zrv::devices {
namespace {

// The first usage of the first data item, 0 when the report carries none.
uint16_t FirstUsage(const std::vector<device::HidDataItem>& items) {
  if (items.empty()) return 0;
  const device::HidDataItem& item = items.front();
  if (!item.is_set) return 0;
  if (item.is_button) return item.usages.empty() ? 0 : item.usages.front();
  return static_cast<uint16_t>(item.raw_value);
}

}  // namespace

NotificationThread::NotificationThread(device::DeviceLink& link, Handler handler)
    : link_(link), handler_(std::move(handler)) {}

NotificationThread::~NotificationThread() { RequestStop(); }

NotificationThread::StartResult NotificationThread::Start() {
  // A private copy of the capabilities: the interface may be closed (and its capabilities
  // cleared) by another thread while the listener decodes.
  const device::HidCollectionInfo caps = link_.Hid().Capabilities();
  {
    std::lock_guard lock(mutex_);
    caps_ = caps;
    if (listening_) {
      // The stop ends the listener's current turn (at once when it waits for the link); it then
      // takes up the new capabilities instead of ending.
      hand_over_ = true;
      worker_.RequestStop();
      return StartResult::kHandOver;
    }
    listening_ = true;
  }
  // A listener that has just decided to end may not have returned yet; it does so at once.
  while (!worker_.WaitForEnd(kIdleWait)) {}
  worker_.Start([this](const platform::StopEvent& stop) { Run(stop); });
  return StartResult::kStarted;
}

void NotificationThread::RequestStop() {
  std::lock_guard lock(mutex_);
  hand_over_ = false;
  worker_.RequestStop();
}

bool NotificationThread::WaitForEnd(std::chrono::milliseconds timeout) { return worker_.WaitForEnd(timeout); }

bool NotificationThread::Running() const {
  std::lock_guard lock(mutex_);
  return listening_;
}

void NotificationThread::Run(const platform::StopEvent& stop) {
  while (true) {
    device::HidCollectionInfo caps;
    {
      std::lock_guard lock(mutex_);
      caps = caps_;
    }
    Listen(caps, stop);
    std::lock_guard lock(mutex_);
    if (hand_over_) {
      hand_over_ = false;
      worker_.ClearStop();
      continue;
    }
    listening_ = false;
    platform::DebugOut("MS设备同步线程设定退出");
    return;
  }
}

void NotificationThread::Listen(const device::HidCollectionInfo& caps, const platform::StopEvent& stop) {
  using device::HidReportType;
  const uint16_t length = caps.report_byte_length[device::Index(HidReportType::kInput)];
  std::vector<uint8_t> report(length == 0 ? 64 : length);
  const auto rest = [&stop] { stop.WaitUntil(std::chrono::steady_clock::now() + kIdleWait); };

  while (!stop.IsSet()) {
    if (!link_.Connected()) {
      rest();
      continue;
    }
    uint32_t got = 0;
    if (link_.Hid().ReadReport(static_cast<uint32_t>(report.size()), &got, report.data(),
                               device::HidInterface::kInfinite) != 1) {
      rest();
      continue;
    }
    if (stop.IsSet()) break;
    // Fresh items per report: an item of another report ID must not keep the last one's usages.
    std::vector<device::HidDataItem> items = device::BuildDataItems(caps, HidReportType::kInput);
    device::UnpackInputReport(items, std::span<const uint8_t>(report.data(), got), HidReportType::kInput, caps);
    const uint16_t code = FirstUsage(items);
    reports_.fetch_add(1);
    platform::DebugOut("接收到自动添加设备的同步信息要求  TEST");
    if (handler_) handler_(code);
  }
}

}  // namespace zrv::devices
