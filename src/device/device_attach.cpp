#include "device/device_attach.h"

#include <mutex>
#include <type_traits>

#include "platform/debug_output.h"

namespace zrv::device {
namespace {

const char* AddTrace(DeviceKind kind) {
  switch (kind) {
    case DeviceKind::kKeyboard: return "添加一个键盘设备";
    case DeviceKind::kMouse:
    case DeviceKind::kWirelessMouse: return "添加一个鼠标设备";
    case DeviceKind::kMousePad: return "添加一个鼠标垫设备";
    default: return nullptr;
  }
}

const char* RemoveTrace(DeviceKind kind) {
  switch (kind) {
    case DeviceKind::kKeyboard: return "删除一个键盘设备";
    case DeviceKind::kMouse:
    case DeviceKind::kWirelessMouse: return "删除一个鼠标设备";
    case DeviceKind::kMousePad: return "删除一个鼠标垫设备";
    default: return nullptr;
  }
}

// The notification collection belongs to the device whose command record names the same product.
bool SameProduct(const InterfaceRecord& a, const InterfaceRecord& b) {
  return a.vendor_id == b.vendor_id && a.product_id == b.product_id && a.kind == b.kind;
}

// Read and write, overlapped, shared: as every device link is opened.
bool OpenLink(DeviceLink& link, const std::string& path) { return link.Hid().Open(path, true, true, true, false) == 1; }

}  // namespace

DeviceAttacher::DeviceAttacher(const InterfaceList& list) : list_(list) {}

template <class Self>
auto* DeviceAttacher::VectorOf(Self& self, DeviceKind kind) {
  using Vector = std::remove_reference_t<decltype((self.keyboards_))>;
  switch (kind) {
    case DeviceKind::kKeyboard: return &self.keyboards_;
    case DeviceKind::kMouse:
    case DeviceKind::kWirelessMouse: return &self.mice_;
    case DeviceKind::kMousePad: return &self.mouse_pads_;
    case DeviceKind::kHeadset: return &self.headsets_;
    default: return static_cast<Vector*>(nullptr);
  }
}

void DeviceAttacher::AddDevice(AttachableDevice& device) {
  if (auto* devices = VectorOf(*this, device.Record().kind)) devices->push_back(&device);
}

const std::vector<AttachableDevice*>& DeviceAttacher::Devices(DeviceKind kind) const {
  static const std::vector<AttachableDevice*> kNone;
  const auto* devices = VectorOf(*this, kind);
  return devices != nullptr ? *devices : kNone;
}

bool DeviceAttacher::AnyConnected() const {
  for (const auto* devices : {&keyboards_, &mice_, &mouse_pads_, &headsets_}) {
    for (AttachableDevice* device : *devices) {
      if (device->CommandLink().Connected()) return true;
    }
  }
  return false;
}

AttachResult DeviceAttacher::Attach(size_t index) {
  if (index >= list_.size()) return {};
  const InterfaceRecord record = list_.Get(index);
  auto* devices = VectorOf(*this, record.kind);
  if (devices == nullptr) return {};
  if (const char* trace = AddTrace(record.kind)) platform::DebugOut(trace);
  if (record.role == kRoleNotification) return AttachNotification(record, *devices);
  if (record.role != kRoleCommand) return {};
  return AttachCommand(index, record, *devices);
}

AttachResult DeviceAttacher::AttachCommand(size_t index, const InterfaceRecord& record,
                                           std::vector<AttachableDevice*>& devices) {
  if (IsMouse(record.kind) && record.has_partner != 0 && record.partner < list_.size()) {
    const InterfaceRecord partner = list_.Get(record.partner);
    if (partner.present != 0 && !partner.path.empty() && partner.has_partner != 0 && partner.partner == index) {
      return AttachThroughPartner(record, partner, devices);
    }
  }
  for (AttachableDevice* device : devices) {
    if (!SameInterface(device->Record(), record)) continue;
    AttachResult result{device, false};
    DeviceLink& link = device->CommandLink();
    if (link.Connected()) return result;
    std::lock_guard io(link.IoLock());
    if (OpenLink(link, record.path)) {
      link.SetConnected(true);
      link.SetSlow(record.kind == DeviceKind::kWirelessMouse);
      device->SetRecord(record);
      result.changed = true;
    }
    return result;
  }
  return {};
}

AttachResult DeviceAttacher::AttachThroughPartner(const InterfaceRecord& record, const InterfaceRecord& partner,
                                                  std::vector<AttachableDevice*>& devices) {
  for (AttachableDevice* device : devices) {
    if (!SameInterface(device->Record(), record) && !SameInterface(device->Record(), partner)) continue;
    AttachResult result{device, false};
    DeviceLink& link = device->CommandLink();
    {
      std::lock_guard io(link.IoLock());
      // The link moves between the two paths: a slow link goes over to the record that arrived,
      // a fast one to its partner; either way its speed flips.
      const bool slow = link.Slow();
      const InterfaceRecord& chosen = slow ? record : partner;
      if (OpenLink(link, chosen.path)) {
        link.SetConnected(true);
        link.SetSlow(!slow);
        // Keep the record of the path in use, so that its removal finds this device.
        device->SetRecord(chosen);
        result.changed = true;
      }
    }
    for (const InterfaceRecord& other : list_.Snapshot()) {
      if (other.role == kRoleNotification && other.present != 0 && SameProduct(other, record) &&
          !device->NotificationLink().Connected()) {
        OpenNotification(*device, other.path);
      }
    }
    return result;
  }
  return {};
}

AttachResult DeviceAttacher::AttachNotification(const InterfaceRecord& record,
                                                std::vector<AttachableDevice*>& devices) {
  for (AttachableDevice* device : devices) {
    if (device->NotificationLink().Connected() || !SameProduct(device->Record(), record)) continue;
    return {device, OpenNotification(*device, record.path)};
  }
  return {};
}

bool DeviceAttacher::OpenNotification(AttachableDevice& device, const std::string& path) {
  DeviceLink& link = device.NotificationLink();
  {
    std::lock_guard io(link.IoLock());
    if (!OpenLink(link, path)) return false;
    link.SetConnected(true);
  }
  // A listener on a link that failed to open would only see failed reads: start it on success only.
  device.OnNotificationLinkOpened();
  return true;
}

AttachResult DeviceAttacher::Detach(size_t index) {
  if (index >= list_.size()) return {};
  const InterfaceRecord record = list_.Get(index);
  auto* devices = VectorOf(*this, record.kind);
  if (devices == nullptr) return {};
  if (const char* trace = RemoveTrace(record.kind)) platform::DebugOut(trace);

  if (record.role == kRoleCommand) {
    for (AttachableDevice* device : *devices) {
      if (!SameInterface(device->Record(), record)) continue;
      DeviceLink& link = device->CommandLink();
      const bool was_connected = link.Connected();
      // Cleared first, so no new command starts on a link that is closing; Close ends one that waits.
      link.SetConnected(false);
      link.Hid().Close();
      return {device, was_connected};
    }
  } else if (record.role == kRoleNotification) {
    for (AttachableDevice* device : *devices) {
      DeviceLink& link = device->NotificationLink();
      if (!link.Connected() || !SameProduct(device->Record(), record)) continue;
      device->OnNotificationLinkClosing();
      link.SetConnected(false);
      link.Hid().Close();
      device->OnNotificationLinkClosed();
      return {device, true};
    }
  }
  return {};
}

}  // namespace zrv::device
