#pragma once
// CHalveronMouseDevice: the gaming mouse's model (kind 2, or 6 behind a wireless receiver).
//
// The kind's own records, threads and operations are added here as they are built; until then it
// behaves as the base with the identity and profile data object of its kind.

#include "config/mouse_profiledata.h"
#include "devices/model/kind_device.h"

namespace zrv::devices {

class CHalveronMouseDevice : public CHalveronKindDevice<config::CMouseProfiledata> {
 public:
  CHalveronMouseDevice();
  // The notification thread calls into this object: it ends before the object goes.
  ~CHalveronMouseDevice() override;
};

}  // namespace zrv::devices
