#pragma once
// KeyboardDeviceSettings: the keyboard's settings record as last read (byte 0 replaced by the
// profile number, byte 16 cleared), its decoded form and the decoded form before that read; and
// the write of a record. What the records mean for the profile is the keyboard's business.
// User-interface thread only.

#include <cstdint>

#include "devices/model/device_links.h"
#include "devices/model/keyboard_settings_record.h"

namespace zrv::devices {

class KeyboardDeviceSettings {
 public:
  // Keeps the decoded form as the previous one, resumes the command link and reads the active
  // profile's record. Only a record read whole is taken over (true); a failed read must not put
  // zeros or stale bytes into the profile.
  bool Read(DeviceLinks& links);

  // Whether the record of `profile_index` lies below offset 65536: offsets travel as 16 bits, and a
  // record beyond them would land, cut short, on the records at the start of the area.
  static bool RecordFits(int profile_index);
  // Writes `record` at profile_index x 46; the write command's result (0 when not connected).
  static int Write(DeviceLinks& links, int profile_index, const KeyboardSettingsBytes& record);

  const KeyboardSettingsBytes& Record() const { return record_; }
  const KeyboardSettings& Decoded() const { return decoded_; }
  const KeyboardSettings& Previous() const { return previous_; }

 private:
  KeyboardSettingsBytes record_{};
  KeyboardSettings decoded_;
  KeyboardSettings previous_;
};

}  // namespace zrv::devices
