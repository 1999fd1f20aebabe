#pragma once
// CHalveronMousePadDevice: the illuminated mouse pad's model (kind 3, 15 LED positions).
//
// The kind's own records, threads and operations are added here as they are built; until then it
// behaves as the base with its identity (kind, counts and names of its row in the device tables)
// and its profile data object.

#include "config/basic_profiledata.h"
#include "devices/model/usb_device.h"

namespace zrv::devices {

class CHalveronMousePadDevice : public CHalveronUSBDevice {
 public:
  CHalveronMousePadDevice();
  // The notification thread calls into this object: it ends before the object goes.
  ~CHalveronMousePadDevice() override;

  config::CBasicProfiledata* ProfileData() override { return &profile_data_; }
  config::CBasicProfiledata& Profile() { return profile_data_; }

  // Also makes the profile data object use element 0 of the profile's "Device" list.
  void SetDisplayIndex(int index) override;

 private:
  config::CBasicProfiledata profile_data_;
};

}  // namespace zrv::devices
