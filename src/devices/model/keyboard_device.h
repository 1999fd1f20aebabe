#pragma once
// CHalveronKeyboardDevice: the keyboard's model (kind 1, 126 key buttons and key slots).
//
// On attach it reads the keyboard's key tables (to find which key slot carries which logical
// key), loads the selected profile and reads the settings record; it writes key assignments, the
// macro image and the settings record; its notification thread turns the keyboard's
// notifications into a sync request (timer 1002) and key presses into reactive effect state.
//
// The key tables (KeyboardKeyTable), the settings record (KeyboardDeviceSettings) and what goes
// from and into the profile (KeyboardProfile) are components of their own.
//
// Threads: everything runs on the user-interface thread except OnNotification (the notification
// thread), which only sets the profile-changed mark, asks for timers and feeds the reactive
// state. The key maps (DeviceKeyMaps) lock themselves, because the notification thread looks
// keys up in them.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "config/keyboard_profiledata.h"
#include "config/profile_list.h"
#include "devices/model/keyboard_device_settings.h"
#include "devices/model/keyboard_key_maps.h"
#include "devices/model/keyboard_key_table.h"
#include "devices/model/keyboard_lighting.h"
#include "devices/model/keyboard_profile.h"
#include "devices/model/keyboard_settings_record.h"
#include "devices/model/kind_device.h"
#include "devices/model/light_model.h"

namespace zrv::devices {

class KeyboardPageView;

// Notification codes of the keyboard's consumer-control collection.
inline constexpr uint16_t kNotifySyncRequest = 0x0401;     // re-read the settings
inline constexpr uint16_t kNotifyProfileChanged = 0x0402;  // the profile was changed on the keyboard
inline constexpr uint16_t kNotifyIgnored = 0x0404;
inline constexpr uint16_t kNotifyKeyDown = 0x0500;  // + key slot
inline constexpr uint16_t kNotifyKeyUp = 0x0600;    // + key slot

class CHalveronKeyboardDevice : public CHalveronKindDevice<config::CKeyboardProfiledata>, public LightModel {
 public:
  CHalveronKeyboardDevice();
  // The notification thread calls into this object: it ends before the object goes.
  ~CHalveronKeyboardDevice() override;

  void SetKeyboardView(KeyboardPageView* view) { keyboard_view_ = view; }
  // ---- device operations
  // The keyboard runs its lighting effects itself: the repaint only shows the key colours on the
  // key buttons (while the lighting function is shown) and sends the keyboard nothing, except a
  // custom group whose write waited for the pause after a failed one.
  void RenderLightFrame() override;
  void RenderLogoLights() override;
  void RenderStripLights() override;
  // While the picture is watched, the effects pass for the next frame now (KeyboardLighting).
  void OnFrameTaken() override;
  // Out of sight the repaint has nothing to paint: it comes at the effects' unwatched pace, but for
  // a custom group write that waits out its pause.
  int NextRepaintDelayMs(std::chrono::steady_clock::time_point now) const override;
  // The page is on screen again: its next frame is painted at once, not at the unwatched pace.
  void OnPictureShown();
  // ReadDeviceTables, LoadProfile (the profile selected in the profile list), ReadDeviceSettings,
  // RefreshPage, and the effect threads are started.
  void OnAttached() override;
  // After 0x0402: the current profile is reset to its template and loaded again. Then, always,
  // the settings record is read again and the page refreshed.
  void OnDeviceSyncRequest() override;
  // Reads the profile file of the current profile identifier into memory: lighting records, system
  // values, key list. Does nothing while no profile identifier is known.
  void LoadProfile() override;
  // The key captions, the system settings and the lighting records from the loaded profile.
  void RefreshPage() override;
  // Puts assignments that name a macro the list no longer has back to their defaults.
  void CheckAssignments() override;
  void SaveProfile() override { Profile().Save(); }
  // Writes the key table: the factory codes with the list's assignments on the slots of their
  // logical keys (element j of the list belongs to logical key j). 0 without I/O when the keyboard
  // is not connected or its factory table was not read whole; 1 once the keyboard took the
  // sequence; -1 when it refused a command of it.
  int WriteKeyAssignments(int profile_index, const std::vector<config::KeyRecord>& keys) override;
  int WriteKeyAssignmentList(int profile_index) override;
  // Builds the macro image of the device's macro files and sends it. 0: nothing to write or
  // written; > 0: the image is that many 4-byte events too large, nothing sent; -1: no memory.
  int WriteMacros() override;
  // Writes the settings record built from the current profile (first byte `first_byte`) at
  // profile_index x 46. The keyboard uses only the first two arguments. Returns the result of the
  // write command (0 when not connected, or when the record would not lie below offset 65536).
  int WriteSettings(int profile_index, int first_byte, int third_value, int screen_width, int screen_height) override;

  // ---- lighting (keyboard_device_light.cpp)
  // The lighting records from the profile, the custom group's colours and the steps of a custom
  // effect; the effect is set up again.
  void ApplyLightSettings() override;
  // The effect lists and custom-effect names of the lighting files.
  void LoadLists() override;
  const config::LightLists& GetLightLists() const override { return light_lists_; }
  // The main, logo and strip records of the profile on the lighting editor.
  void ShowLightRecords() override;
  // Only in effect 20: the current custom group (the main record's) with each key's colour at 3 x
  // its LED index. A write that fails makes the next ones wait 200 ms; they are sent from the
  // repaint then, the user-interface thread never sleeps. Returns the write's result, 0 when
  // nothing was sent.
  int WriteCustomLight() override;
  // Reads the current custom group from the keyboard into the custom colours and the profile
  // (saved). Returns the read's result.
  int ReadCustomLight();
  // Only in effect 20: the key(s) take the main record's colour, stored into the profile's
  // custom group and sent.
  void PaintKey(int key);
  void PaintKeys(const std::vector<int>& keys);
  // Custom group `group` becomes the profile's custom mode index (saved) and is selected in the
  // editor.
  void SelectCustomMode(int group);
  // The key colours become those of the main record's custom group, which the editor selects;
  // they are sent (WriteCustomLight).
  void ReloadCustomMode();
  // Every key takes the main record's colour (on) or goes dark; sent, and stored as the group the
  // editor has selected (none selected: nothing stored).
  void FillCustomMode(bool on);
  // The LED of logical key `key` in a custom group (255: none): the LED map's, except for the
  // keys whose LED the keyboard fixes.
  uint8_t CustomLedOfKey(int key) const;
  std::vector<Rgb> CustomColours() const { return effects_.CustomColours(); }
  KeyboardLighting& Effects() { return effects_; }
  // Stops the effect threads (each given 1000 ms; an overrun is reported). True when all ended.
  bool StopEffectThreads() { return effects_.StopThreads(); }
  bool EffectThreadsRunning() const { return effects_.ThreadsRunning(); }

  // ---- the keyboard's own operations
  // Reads the information block and, when the slot count fits a key table (at most 170 slots),
  // the factory key table and the key-to-LED table, then rebuilds the slot and LED maps. A table
  // that is not read whole is not kept: no key is placed (no LED index, for the LED table).
  void ReadDeviceTables() { key_table_.Read(Links(), Maps()); }
  // Reads the active profile's settings record, takes over its lighting and the W, 6-key and Win
  // flags (the polling rate and scan delay of the profile stay), stores them into the profile and
  // saves it. Returns the keyboard's active profile number.
  int ReadDeviceSettings() override;

  // A change of the system settings by the user: stored into the profile and saved first, then,
  // with `send`, the settings record is written to the keyboard. Returns the write's result (0
  // when nothing was sent).
  int ChangeKeyboardSystem(const config::KeyboardSystem& values, bool send);
  config::KeyboardSystem GetKeyboardSystem() { return Profile().GetKeyboardSystem(); }
  // The key repeat rate and delay go back to the values of the profile template; stored only
  // (neither is part of the settings record).
  void ResetKeyRepeat();

  // The device's current key assignment list (the key-assignment editor's).
  const std::vector<config::KeyRecord>& KeyList() const override { return keyboard_profile_.KeyList(); }
  void SetKeyList(std::vector<config::KeyRecord> keys) override { keyboard_profile_.SetKeyList(std::move(keys)); }
  // UpdateKeyTip.
  void UpdateKeyCaption(int index, const std::string& caption) override { UpdateKeyTip(index, caption); }
  // The captions, then the labels of the system-settings page.
  void RefreshKeyCaptions() override;
  // Key button `index` (below the 126 key buttons) gets its name as tool-tip title, its name, the
  // "Key_Set" text and `caption` as tool-tip text, and the key-set image unless the caption is its
  // own name (in any letter case).
  void UpdateKeyTip(int index, const std::string& caption);

  // The last settings record read (byte 0 replaced by the profile number, byte 16 cleared), its
  // decoded form, and the decoded form before the last read (for the editors).
  const KeyboardSettingsBytes& SettingsRecord() const { return settings_.Record(); }
  const KeyboardSettings& DecodedSettings() const { return settings_.Decoded(); }
  const KeyboardSettings& PreviousSettings() const { return settings_.Previous(); }

  // Tables as read at the last attach.
  const std::vector<uint8_t>& DefaultKeyTable() const { return key_table_.DefaultKeys(); }
  const std::vector<uint8_t>& KeyLedTable() const { return key_table_.KeyLeds(); }
  // Logical key -> key slot / LED index (255: none), a copy.
  KeyboardKeyMaps KeyMaps() const { return Maps().Get(); }

  // Set by notification 0x0402 until the next sync request consumes it.
  bool ProfileChangedOnDevice() const { return profile_changed_.load(); }
  // Whether the keyboard reports logical key `key` as held down.
  bool KeyHeld(int key) const;

 protected:
  void OnNotification(uint16_t code) override;

 private:
  // A key slot went down or up, turned into its logical key (notification thread). Lights the
  // key for the reactive effects: a press sets its fade value to full.
  void OnKeyEvent(int logical_key, bool down);
  // The lighting records from the profile's three lighting objects (speeds as speed indices); the
  // on-screen effect is set up again.
  void ApplyProfileLighting(const config::LightStateRecord& light);
  // Whether the page shows the picture (true without a page).
  bool PictureShown() const;
  // The custom colours of the record's group from the profile.
  void LoadCustomColours();
  // In effect 20, on a page refresh: the record's group selected in the editor, its colours
  // loaded and sent, and kept as the profile's custom mode index.
  void ShowCustomGroup();
  // Stores the custom colours as the profile's group `group` and saves it.
  void StoreCustomColours(int group);
  // The key slots whose LEDs a custom group transfer covers.
  size_t CustomGroupKeys() const;
  // The profile list of the keyboard's user data folder.
  config::ProfileList Profiles() const;
  // Loads the current profile; without one (or when the list no longer has it) the profile that
  // the profile list has selected becomes current first (the list is made when there is none).
  void LoadSelectedProfile();

  KeyboardPageView* keyboard_view_ = nullptr;
  KeyboardKeyTable key_table_;
  KeyboardDeviceSettings settings_;
  KeyboardProfile keyboard_profile_{Profile()};
  std::atomic<bool> profile_changed_{false};
  config::LightLists light_lists_;
  bool custom_write_pending_ = false;  // user-interface thread
  Clock::time_point custom_pause_until_{};
  // Last: its threads end before anything they use goes.
  KeyboardLighting effects_{Lighting(), Links().Command()};
};

}  // namespace zrv::devices
