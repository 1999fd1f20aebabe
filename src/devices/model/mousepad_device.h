#pragma once
// CHalveronMousePadDevice: the illuminated mouse pad's model (kind 3, 15 LED positions).
//
// The kind's own records, threads and operations are added here as they are built; until then it
// behaves as the base with the identity and profile data object of its kind.

#include "config/basic_profiledata.h"
#include "devices/model/kind_device.h"

namespace zrv::devices {

class CHalveronMousePadDevice : public CHalveronKindDevice<config::CBasicProfiledata> {
 public:
  CHalveronMousePadDevice();
  // The notification thread calls into this object: it ends before the object goes.
  ~CHalveronMousePadDevice() override;
};

}  // namespace zrv::devices
