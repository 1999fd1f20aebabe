#pragma once
// MouseDeviceSettings: the mouse's settings record as last read (byte 9 cleared) and the one
// before, and the write of a record. A mouse behind a wireless receiver (a slow link) is probed:
// once before a read, before each step of a write; a probe that fails ends the operation at once.
// User-interface thread only.

#include <cstdint>

#include "devices/model/device_links.h"
#include "devices/model/mouse_settings_record.h"

namespace zrv::devices {

class MouseDeviceSettings {
 public:
  // Keeps the record as the previous one, resumes the command link and reads the active profile's
  // record. Only a record read whole is taken over (true).
  bool Read(DeviceLinks& links);
  // Writes `record` at profile_index x 128 (Begin, write, End). The write's result; 0 when nothing
  // was sent (not connected, a probe failed before the write, or the record would not lie below
  // offset 65536); -1 when the probe before End failed.
  static int Write(DeviceLinks& links, int profile_index, const MouseSettingsBytes& record);

  const MouseSettingsReadBytes& Record() const { return record_; }
  const MouseSettingsReadBytes& Previous() const { return previous_; }
  uint8_t Profile() const { return profile_; }

 private:
  MouseSettingsReadBytes record_{};
  MouseSettingsReadBytes previous_{};
  uint8_t profile_ = 0;
};

}  // namespace zrv::devices
