#pragma once
// CHalveronKeyboardDevice: the keyboard's model (kind 1, 126 key buttons and key slots).
//
// The kind's own records, threads and operations are added here as they are built; until then it
// behaves as the base with its identity (kind, counts and names of its row in the device tables)
// and its profile data object.

#include "config/keyboard_profiledata.h"
#include "devices/model/usb_device.h"

namespace zrv::devices {

class CHalveronKeyboardDevice : public CHalveronUSBDevice {
 public:
  CHalveronKeyboardDevice();
  // The notification thread calls into this object: it ends before the object goes.
  ~CHalveronKeyboardDevice() override;

  config::CBasicProfiledata* ProfileData() override { return &profile_data_; }
  config::CKeyboardProfiledata& Profile() { return profile_data_; }

  // Also makes the profile data object use element 0 of the profile's "Device" list.
  void SetDisplayIndex(int index) override;

 private:
  config::CKeyboardProfiledata profile_data_;
};

}  // namespace zrv::devices
