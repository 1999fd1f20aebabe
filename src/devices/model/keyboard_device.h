#pragma once
// CHalveronKeyboardDevice: the keyboard's model (kind 1, 126 key buttons and key slots).
//
// The kind's own records, threads and operations are added here as they are built; until then it
// behaves as the base with the identity and profile data object of its kind.

#include "config/keyboard_profiledata.h"
#include "devices/model/kind_device.h"

namespace zrv::devices {

class CHalveronKeyboardDevice : public CHalveronKindDevice<config::CKeyboardProfiledata> {
 public:
  CHalveronKeyboardDevice();
  // The notification thread calls into this object: it ends before the object goes.
  ~CHalveronKeyboardDevice() override;
};

}  // namespace zrv::devices
