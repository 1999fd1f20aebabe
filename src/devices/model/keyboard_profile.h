#pragma once
// KeyboardProfile: what the keyboard takes from and puts into its profile: loading the profile
// file (lighting, system values, key list), the settings record built from it and stored back
// into it, the key repeat of the template, and the key assignment list. The profile data object
// is the kind's; user-interface thread only.

#include <cstdint>
#include <string>
#include <vector>

#include "config/keyboard_profiledata.h"
#include "config/profile_list.h"
#include "devices/model/keyboard_settings_record.h"

namespace zrv::devices {

class KeyboardProfile {
 public:
  // `data` outlives this object.
  explicit KeyboardProfile(config::CKeyboardProfiledata& data) : data_(data) {}

  // The identifier to make current before loading: none (empty) while `current` is in `list`;
  // otherwise the list's selection (the list being made, with "profile1", when there is none).
  static std::string IdToSelect(config::ProfileList& list, const std::string& current);
  // Resets the file of `current` (or, when the list lacks it, of the list's selection) to the
  // template, keeping its name and identifier.
  static void ResetCurrent(config::ProfileList& list, const std::string& current);

  // Reads the profile file `path` into memory (lighting records, system values, key list; the
  // light configuration file of `user_folder`). Lighting values outside their ranges (a hand-edited
  // file) are brought into range in memory. Returns its lighting as the settings record carries it.
  config::LightStateRecord Load(const std::string& path, const std::string& user_folder);
  // The settings record of the profile, byte 0 being `first_byte`.
  KeyboardSettingsBytes SettingsRecord(uint8_t first_byte);
  // Takes over the lighting and the W, 6-key and Win flags of a record read from the keyboard (the
  // polling rate and scan delay of the profile stay) and saves the profile.
  void StoreSettings(const KeyboardSettings& settings);
  // Stores the system values and saves the profile.
  void ChangeSystem(const config::KeyboardSystem& values);
  // The key repeat rate and delay go back to the values of the profile template; saved.
  void ResetKeyRepeat();
  // Puts assignments that name a macro the macro list of `user_folder` no longer has back to their
  // defaults; the profile is saved when any changed.
  void CheckAssignments(const std::string& user_folder);

  const std::vector<config::KeyRecord>& KeyList() const { return key_list_; }
  void SetKeyList(std::vector<config::KeyRecord> keys) { key_list_ = std::move(keys); }

 private:
  // The profile's lighting objects as one light state record (what the settings record carries).
  config::LightStateRecord LightForDevice();
  // Brightness, speed, direction and the on/off flags of the three lighting objects into range.
  void ClampLighting();

  config::CKeyboardProfiledata& data_;
  std::vector<config::KeyRecord> key_list_;
};

}  // namespace zrv::devices
