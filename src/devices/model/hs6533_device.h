#pragma once
// CHalveronHS6533Device: the headset's model (kind 7, 13 light positions).
//
// The kind's own records, threads and operations are added here as they are built; until then it
// behaves as the base with the identity and profile data object of its kind.

#include "config/hs6533_profiledata.h"
#include "devices/model/kind_device.h"

namespace zrv::devices {

class CHalveronHS6533Device : public CHalveronKindDevice<config::CHs6533Profiledata> {
 public:
  CHalveronHS6533Device();
  // The notification thread calls into this object: it ends before the object goes.
  ~CHalveronHS6533Device() override;
};

}  // namespace zrv::devices
