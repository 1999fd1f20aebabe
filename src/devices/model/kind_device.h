#pragma once
// What every device kind adds to the base: the identity of its row in the device tables and its
// profile data object (which reads and writes the kind's profile files), used with element 0 of
// the profile's "Device" list.

#include <QString>

#include "config/basic_profiledata.h"
#include "devices/model/usb_device.h"

namespace zrv::devices {

template <class KindProfiledata>
class CHalveronKindDevice : public CHalveronUSBDevice {
 public:
  KindProfiledata& Profile() { return profile_data_; }
  const KindProfiledata& Profile() const { return profile_data_; }

 protected:
  explicit CHalveronKindDevice(device::DeviceKind kind) : CHalveronUSBDevice(kind) {
    SetProfileData(&profile_data_);
    profile_data_.SetTemplatePath(QString::fromStdString(DefaultProfilePath()));
  }

 private:
  KindProfiledata profile_data_;
};

}  // namespace zrv::devices
