#pragma once
// Attaching and detaching device objects when discovery reports an interface record present or gone.
// Runs on the user-interface thread, inside the handling of the discovery messages.
//
// Device objects exist for every device kind whether or not a device is plugged in; attaching opens
// one of their two links on the record's path, detaching closes it. What selects the device's item,
// starts its timers or shows the no-device state stays with the window, which gets the device back.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/device_link.h"
#include "device/device_tables.h"
#include "device/discovery_interface_list.h"

namespace zrv::device {

// What attaching needs of a device object; the device models implement it.
class AttachableDevice {
 public:
  virtual ~AttachableDevice() = default;

  virtual DeviceLink& CommandLink() = 0;
  // Only its interface and connected flag are used.
  virtual DeviceLink& NotificationLink() = 0;

  // The record of the device's command collection: given when the device is created and again on
  // every attach.
  virtual const InterfaceRecord& Record() const = 0;
  virtual void SetRecord(const InterfaceRecord& record) = 0;

  // The notification link has been opened and marked connected: start listening on it.
  virtual void OnNotificationLinkOpened() {}
  // The notification link is about to close: ask the listener to end without waiting for it (its
  // blocked read ends when the link closes right after this call).
  virtual void OnNotificationLinkClosing() {}
  // The notification link is closed: the listener can be waited for.
  virtual void OnNotificationLinkClosed() {}
};

struct AttachResult {
  AttachableDevice* device = nullptr;  // the device the record belongs to; null when none
  bool changed = false;                // a link of that device was opened (attach) or closed (detach)
};

class DeviceAttacher {
 public:
  // list must outlive the attacher.
  explicit DeviceAttacher(const InterfaceList& list);

  // Adds the device to the vector of its kind, taken from its record: keyboards, mice (both
  // kinds), mouse pads, headsets. Devices of another kind are not kept. The device must outlive the
  // attacher.
  void AddDevice(AttachableDevice& device);
  // The vector that holds devices of kind; empty for an unknown kind.
  const std::vector<AttachableDevice*>& Devices(DeviceKind kind) const;

  // The record at index became present.
  AttachResult Attach(size_t index);
  // The record at index is gone.
  AttachResult Detach(size_t index);

  // Some device has its command link connected (the window hides its no-device state).
  bool AnyConnected() const;

 private:
  // The vector for kind, or null; const or not as self is.
  template <class Self>
  static auto* VectorOf(Self& self, DeviceKind kind);
  AttachResult AttachCommand(size_t index, const InterfaceRecord& record, std::vector<AttachableDevice*>& devices);
  AttachResult AttachThroughPartner(const InterfaceRecord& record, const InterfaceRecord& partner,
                                    std::vector<AttachableDevice*>& devices);
  AttachResult AttachNotification(const InterfaceRecord& record, std::vector<AttachableDevice*>& devices);
  // Opens the device's notification link on path; true when it is now connected.
  static bool OpenNotification(AttachableDevice& device, const std::string& path);

  const InterfaceList& list_;
  std::vector<AttachableDevice*> keyboards_;
  std::vector<AttachableDevice*> mice_;
  std::vector<AttachableDevice*> mouse_pads_;
  std::vector<AttachableDevice*> headsets_;
};

}  // namespace zrv::device
