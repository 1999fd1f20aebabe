#pragma once
// Helpers of the discovery tests: a device object as attaching sees it, a backend that counts what
// discovery asks of the platform, and report descriptors with chosen collections.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/device_attach.h"
#include "device/hid_backend.h"
#include "sim/sim_ids.h"

namespace zrv::device::testing {

// The ids the simulator gives the mouse pad and the headset, as DefaultData ships them.
inline DeviceIdOverrides SimulatorIds() { return DeviceIdOverrides::Parse("3 320F 5100\n7 320F 5200\n", "test ids"); }

// Records which hooks ran, in order, and what the links looked like at that moment.
class FakeDevice : public AttachableDevice {
 public:
  explicit FakeDevice(InterfaceRecord record) : record_(std::move(record)) {}

  DeviceLink& CommandLink() override { return command_; }
  DeviceLink& NotificationLink() override { return notification_; }
  const InterfaceRecord& Record() const override { return record_; }
  void SetRecord(const InterfaceRecord& record) override {
    record_ = record;
    ++records_given;
  }
  void OnNotificationLinkOpened() override {
    Note(notification_.Connected() && notification_.Hid().IsOpen() ? "opened(connected)" : "opened(closed)");
  }
  void OnNotificationLinkClosing() override {
    Note(notification_.Connected() ? "closing(connected)" : "closing(disconnected)");
  }
  void OnNotificationLinkClosed() override { Note(notification_.Hid().IsOpen() ? "closed(open)" : "closed"); }

  std::vector<std::string> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }

  int records_given = 0;

 private:
  void Note(std::string event) {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
  }

  DeviceLink command_;
  DeviceLink notification_;
  InterfaceRecord record_;
  mutable std::mutex mutex_;
  std::vector<std::string> events_;
};

// One device object per row of the device-kind table, as the main window creates them.
struct FakeDeviceSet {
  explicit FakeDeviceSet(const InterfaceList& list) : attacher(list) {
    for (const auto& row : kDeviceKindTable) {
      auto index = list.FindKindRecord(row);
      devices.push_back(std::make_unique<FakeDevice>(index ? list.Get(*index) : InterfaceRecord{}));
      attacher.AddDevice(*devices.back());
    }
  }
  FakeDevice& mouse() { return *devices[0]; }
  FakeDevice& keyboard() { return *devices[1]; }
  FakeDevice& mouse_pad() { return *devices[2]; }
  FakeDevice& headset() { return *devices[3]; }

  std::vector<std::unique_ptr<FakeDevice>> devices;
  DeviceAttacher attacher;
};

// Passes everything to another backend and counts enumerations and opens; can fail enumeration.
class CountingBackend : public HidBackend {
 public:
  explicit CountingBackend(std::shared_ptr<HidBackend> inner) : inner_(std::move(inner)) {}

  bool Handles(std::string_view path) const override { return inner_->Handles(path); }
  bool Enumerate(std::vector<std::string>& paths) override {
    enumerations.fetch_add(1);
    if (fail_enumeration.load()) return false;
    return inner_->Enumerate(paths);
  }
  std::unique_ptr<HidConnection> Open(std::string_view path, const HidOpenFlags& flags) override {
    (flags.read || flags.write ? opens : presence_opens).fetch_add(1);
    return inner_->Open(path, flags);
  }

  std::atomic<int> enumerations{0};
  std::atomic<int> opens{0};           // with access: probes and links
  std::atomic<int> presence_opens{0};  // without access: presence checks
  std::atomic<bool> fail_enumeration{false};

 private:
  std::shared_ptr<HidBackend> inner_;
};

// One top-level collection with a 63-byte input and output report of its own report ID.
inline std::vector<uint8_t> VendorCollection(uint16_t usage_page, uint8_t usage, uint8_t report_id) {
  return {0x06,
          static_cast<uint8_t>(usage_page & 0xFF),
          static_cast<uint8_t>(usage_page >> 8),
          0x09,
          usage,
          0xA1,
          0x01,
          0x85,
          report_id,
          0x15,
          0x00,
          0x26,
          0xFF,
          0x00,
          0x75,
          0x08,
          0x95,
          0x3F,
          0x09,
          0x01,
          0x81,
          0x02,
          0x09,
          0x01,
          0x91,
          0x02,
          0xC0};
}

// Interface 1 shaped like the keyboard's: collection 3 consumer control, collection 4 the given page.
inline std::vector<uint8_t> KeyboardLikeDescriptor(uint16_t command_page) {
  std::vector<uint8_t> descriptor;
  for (auto part : {VendorCollection(0x0001, 0x06, 1), VendorCollection(0x0001, 0x02, 2),
                    VendorCollection(0x000C, 0x01, 3), VendorCollection(command_page, 0x92, 4)}) {
    descriptor.insert(descriptor.end(), part.begin(), part.end());
  }
  return descriptor;
}

}  // namespace zrv::device::testing
