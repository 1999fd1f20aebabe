#pragma once
// Sending the macro image of a device's macro files (keyboard and mouse alike).

#include <string>

#include "devices/model/device_links.h"

namespace zrv::devices {

// Builds the macro image of the macro files in `user_folder` for the device's current macro memory
// (information byte 6, read first) and sends it, each step probed on a slow link. 0: nothing to
// write, written, or not connected; > 0: the image is that many 4-byte events too large, nothing
// sent; -1: no memory.
int WriteMacroImage(DeviceLinks& links, const std::string& user_folder);

}  // namespace zrv::devices
