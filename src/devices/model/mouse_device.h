#pragma once
// CHalveronMouseDevice: the gaming mouse's model (kind 2, or 6 behind a wireless receiver).
//
// On attach it reads the mouse's factory key table (to find which key slot carries which logical
// button) and loads the selected profile's key list; it writes the key table built from that
// list. The kind's other records, threads and operations are added here as they are built.
//
// Threads: user-interface thread only (the notification thread only asks for timers).

#include <string>
#include <vector>

#include "config/mouse_profiledata.h"
#include "config/profile_list.h"
#include "devices/model/kind_device.h"
#include "devices/model/mouse_key_table.h"

namespace zrv::devices {

class CHalveronMouseDevice : public CHalveronKindDevice<config::CMouseProfiledata> {
 public:
  CHalveronMouseDevice();
  // The notification thread calls into this object: it ends before the object goes.
  ~CHalveronMouseDevice() override;

  // ReadDeviceTables, LoadProfile (the profile selected in the profile list), RefreshPage.
  void OnAttached() override;
  // Reads the profile file of the current profile identifier: the key list. Nothing while no
  // profile identifier is known.
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

  // Reads the factory key table and maps the logical buttons onto its slots.
  void ReadDeviceTables() { key_table_.Read(Links()); }
  const MouseKeyTable& KeyTable() const { return key_table_; }

  // The device's current key assignment list, one entry per logical button.
  const std::vector<config::KeyRecord>& KeyList() const override { return key_list_; }
  // Replaces the list in memory only.
  void SetKeyList(std::vector<config::KeyRecord> keys) override { key_list_ = std::move(keys); }
  // The key captions (the key-information list and the buttons' tool tips).
  void RefreshPage() override { RefreshKeyCaptions(); }

 private:
  config::ProfileList Profiles() const;
  void LoadSelectedProfile();

  MouseKeyTable key_table_;
  std::vector<config::KeyRecord> key_list_;
};

}  // namespace zrv::devices
