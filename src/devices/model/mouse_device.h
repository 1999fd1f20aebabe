#pragma once
// CHalveronMouseDevice: the gaming mouse's model (kind 2, or 6 behind a wireless receiver).
//
// The kind's own records, threads and operations are added here as they are built; until then it
// behaves as the base with its identity (kind, counts and names of its row in the device tables)
// and its profile data object.

#include "config/mouse_profiledata.h"
#include "devices/model/usb_device.h"

namespace zrv::devices {

class CHalveronMouseDevice : public CHalveronUSBDevice {
 public:
  CHalveronMouseDevice();
  // The notification thread calls into this object: it ends before the object goes.
  ~CHalveronMouseDevice() override;

  config::CBasicProfiledata* ProfileData() override { return &profile_data_; }
  config::CMouseProfiledata& Profile() { return profile_data_; }

  // Also makes the profile data object use element 0 of the profile's "Device" list.
  void SetDisplayIndex(int index) override;

 private:
  config::CMouseProfiledata profile_data_;
};

}  // namespace zrv::devices
