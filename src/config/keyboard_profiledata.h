#pragma once
// The keyboard's profile data: system values and custom light modes besides the common members.

#include <vector>

#include "config/basic_profiledata.h"

namespace zrv::config {

class CKeyboardProfiledata : public CBasicProfiledata {
 public:
  // "SystemStages": all zero when missing.
  KeyboardSystem GetKeyboardSystem();
  void SetKeyboardSystem(const KeyboardSystem& values);
  // The "SystemStages" of `settings`, a settings object of another document (the template's),
  // read through the same fields.
  static KeyboardSystem ReadKeyboardSystem(const Json::Value& settings);

  // The colours of custom light mode `mode` for `led_count` LEDs. Entries that the settings object
  // lacks are created there with zeros (and read as zeros), so the next Save stores a complete
  // mode. Modes beyond kMaxCustomModes or LED counts beyond kMaxModeLeds give an empty list and
  // create nothing.
  std::vector<ModeColour> GetCustomModeColors(int mode, int led_count);
  // Sets the four members of every entry i of mode `mode` from colour i; entries beyond stay.
  void SetCustomModeColors(const std::vector<ModeColour>& colours, int mode);

  // "CustomLightMode"."CustomLightModeGroupIndex": the custom mode last selected (0 when missing).
  int GetCustomModeIndex();
  void SetCustomModeIndex(int mode);

  static constexpr int kMaxCustomModes = 256;  // the device numbers its groups with one byte
  static constexpr int kMaxModeLeds = 512;

  const KeyboardSystem& CachedKeyboardSystem() const { return system_; }
  const std::vector<ModeColour>& CachedModeColours() const { return mode_colours_; }

 private:
  KeyboardSystem system_;
  std::vector<ModeColour> mode_colours_;
  int custom_mode_ = 0;
};

}  // namespace zrv::config
