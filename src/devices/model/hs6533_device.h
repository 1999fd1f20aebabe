#pragma once
// CHalveronHS6533Device: the headset's model (kind 7, 13 light positions).
//
// The kind's own records, threads and operations are added here as they are built; until then it
// behaves as the base with its identity (kind, counts and names of its row in the device tables)
// and its profile data object.

#include "config/hs6533_profiledata.h"
#include "devices/model/usb_device.h"

namespace zrv::devices {

class CHalveronHS6533Device : public CHalveronUSBDevice {
 public:
  CHalveronHS6533Device();
  // The notification thread calls into this object: it ends before the object goes.
  ~CHalveronHS6533Device() override;

  config::CBasicProfiledata* ProfileData() override { return &profile_data_; }
  config::CHs6533Profiledata& Profile() { return profile_data_; }

  // Also makes the profile data object use element 0 of the profile's "Device" list.
  void SetDisplayIndex(int index) override;

 private:
  config::CHs6533Profiledata profile_data_;
};

}  // namespace zrv::devices
