#pragma once
// CHalveronMouseDevice: the gaming mouse's model (kind 2, or 6 behind a wireless receiver).
//
// On attach it reads the mouse's factory key table (to find which key slot carries which logical
// button), loads the selected profile (key list, lighting, DPI stages, system values), fills the
// page and starts the light thread. It writes the key table, the macro image and the settings
// record built from the profile; notification 0x0401 makes it read the settings record back.
//
// Lighting: the light thread (MouseLighting) steps the main effect into the key colours, whose
// first entries are the mouse's LEDs; the repaint paints them on the page's light positions and
// sends them as light frames (the base's RenderLightFrame). The lighting records keep the speed as
// a speed index (4 - Speed) and the brightness as a screen level (MouseScreenLevel); the profile
// and the settings record keep what the user chose.
//
// Threads: user-interface thread, except OnNotification (the notification thread asks for a timer)
// and the light thread (the lighting engine, under its lock).

#include <string>
#include <vector>

#include "config/light_files.h"
#include "config/mouse_profiledata.h"
#include "config/profile_list.h"
#include "devices/model/kind_device.h"
#include "devices/model/light_model.h"
#include "devices/model/mouse_device_settings.h"
#include "devices/model/mouse_key_table.h"
#include "devices/model/mouse_lighting.h"

namespace zrv::devices {

class CHalveronMouseDevice : public CHalveronKindDevice<config::CMouseProfiledata>, public LightModel {
 public:
  CHalveronMouseDevice();
  // The notification and light threads call into this object: they end before the object goes.
  ~CHalveronMouseDevice() override;

  // ReadDeviceTables, LoadProfile (the profile selected in the profile list), RefreshPage, and the
  // light thread is started.
  void OnAttached() override;
  // After notification 0x0401: ReadDeviceSettings, RefreshPage.
  void OnDeviceSyncRequest() override;
  // Reads the profile file of the current profile identifier: the key list, the lighting (applied),
  // the DPI stages and the system values. Nothing while no profile identifier is known.
  void LoadProfile() override;
  // Puts assignments that name a macro the list no longer has back to their defaults (saved).
  void CheckAssignments() override;
  void SaveProfile() override;
  // The key table: the factory codes with the list's assignments on the slots of their buttons
  // (element j of the list belongs to logical button j). 0 without I/O when the mouse is not
  // connected or its factory table was not read whole; -1 when a slow link's probe fails or the
  // mouse refuses the table; else 1.
  int WriteKeyAssignments(int profile_index, const std::vector<config::KeyRecord>& keys) override;
  int WriteKeyAssignmentList(int profile_index) override { return WriteKeyAssignments(profile_index, key_list_); }
  // The macro image of the mouse's macro files, as the keyboard sends it (probed on a slow link).
  int WriteMacros() override;
  // Writes the settings record built from the profile (lighting, report rate, stage in use, DPI
  // stages, correction) with `first_byte`, `third_value` and the screen size, at profile_index x
  // 128. The write's result; 0 when nothing was sent (not connected, a slow link's probe failed).
  int WriteSettings(int profile_index, int first_byte, int third_value, int screen_width, int screen_height) override;
  // The record WriteSettings sends (a pure function of the profile and the arguments).
  MouseSettingsBytes SettingsRecord(int first_byte, int third_value, int screen_width, int screen_height);

  // ---- lighting (LightModel)
  // The main record from the profile's "LightInfo" (brightness and speed on the screen's scale),
  // the LED list, the light configuration and the steps of a custom effect; a changed effect clears
  // the reactive state and starts from a fresh schedule.
  void ApplyLightSettings() override;
  void LoadLists() override;
  const config::LightLists& GetLightLists() const override { return light_lists_; }
  // Reads the active profile's record from the mouse and takes its lighting (not "Fx") and stage in
  // use into the profile (saved); the profile number the mouse reported, 0 when the read failed
  // (then nothing changes).
  int ReadDeviceSettings() override;
  void ShowLightRecords() override;
  MouseLighting& Effects() { return effects_; }
  // The light thread passes for the next frame now (MouseLighting).
  void OnFrameTaken() override { effects_.FrameTaken(); }
  bool StopLightThread() { return effects_.StopThread(); }
  bool LightThreadRunning() const { return effects_.ThreadRunning(); }
  // The last settings record read (byte 9 cleared) and the one before.
  const MouseSettingsReadBytes& SettingsRecordRead() const { return settings_.Record(); }
  const MouseSettingsReadBytes& PreviousSettingsRecord() const { return settings_.Previous(); }

  // Reads the factory key table and maps the logical buttons onto its slots.
  void ReadDeviceTables() { key_table_.Read(Links()); }
  const MouseKeyTable& KeyTable() const { return key_table_; }

  // The device's current key assignment list, one entry per logical button.
  const std::vector<config::KeyRecord>& KeyList() const override { return key_list_; }
  // Replaces the list in memory only.
  void SetKeyList(std::vector<config::KeyRecord> keys) override { key_list_ = std::move(keys); }
  // The key captions (the key-information list and the buttons' tool tips) and the lighting.
  void RefreshPage() override;

 protected:
  void OnNotification(uint16_t code) override;

 private:
  config::ProfileList Profiles() const;
  void LoadSelectedProfile();
  // Brings a hand-edited "LightInfo" into the mouse's ranges (in memory; saved with the next change).
  void ClampLighting();

  MouseKeyTable key_table_;
  MouseDeviceSettings settings_;
  std::vector<config::KeyRecord> key_list_;
  config::LightLists light_lists_;
  // The effect last applied (-1: none yet). SetLightInfo has already put a new effect into the
  // record by the time ApplyLightSettings runs, so the record cannot tell that it changed.
  int applied_effect_ = -1;
  // Last: its thread ends before anything it uses goes.
  MouseLighting effects_{Lighting(), Links().Command()};
};

}  // namespace zrv::devices
