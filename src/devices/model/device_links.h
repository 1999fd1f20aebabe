#pragma once
// DeviceLinks: what ties a device object to one device: the command link, the notification (light
// and key event) link, the interface record of the attached collection, the information block last
// read, and the identity of the kind from the device tables.
//
// The identity is set while the device object is built and only read afterwards; attaching may
// change the kind once more (SetRecord). The links do their own locking.

#include <array>
#include <cstdint>
#include <string>

#include "device/device_link.h"
#include "device/device_tables.h"

namespace zrv::devices {

class DeviceLinks {
 public:
  static constexpr size_t kInfoBlockSize = device::DeviceLink::kInfoBlockSize;
  using InfoBlock = std::array<uint8_t, kInfoBlockSize>;

  // Identity of `kind` from kDeviceKindTable / kDeviceXmlTable: kind, kind name and the counts of
  // key slots and key buttons. An unknown kind keeps the name empty and the counts 0.
  void Configure(device::DeviceKind kind);
  // Keeps the record of the command collection; a record that names a kind sets the kind again
  // (a mouse behind a receiver becomes kind 6).
  void SetRecord(const device::InterfaceRecord& record);

  device::DeviceKind Kind() const { return kind_; }
  const std::string& KindName() const { return kind_name_; }
  int KeySlotCount() const { return key_slot_count_; }
  int KeyButtonCount() const { return key_button_count_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  device::DeviceLink& Command() { return command_; }
  const device::DeviceLink& Command() const { return command_; }
  device::DeviceLink& Notification() { return notification_; }
  const device::InterfaceRecord& Record() const { return record_; }
  bool Connected() const { return command_.Connected(); }

  // Filled by the kinds' ReadInfo calls.
  InfoBlock& Info() { return info_; }
  const InfoBlock& Info() const { return info_; }

 private:
  device::DeviceLink command_;
  device::DeviceLink notification_;
  device::InterfaceRecord record_;
  InfoBlock info_{};
  std::string name_;  // handed over by the main window
  std::string kind_name_;
  device::DeviceKind kind_ = device::DeviceKind::kNone;
  int key_slot_count_ = 0;
  int key_button_count_ = 0;
};

}  // namespace zrv::devices
