#include "devices/model/mouse_device.h"

#include <QString>

#include "config/macro_assignments.h"
#include "config/macro_store.h"
#include "devices/model/keyboard_profile.h"
#include "devices/model/macro_write.h"

namespace zrv::devices {

CHalveronMouseDevice::CHalveronMouseDevice() : CHalveronKindDevice(device::DeviceKind::kMouse) {}

CHalveronMouseDevice::~CHalveronMouseDevice() { StopNotificationThread(); }

void CHalveronMouseDevice::OnAttached() {
  ReadDeviceTables();
  LoadSelectedProfile();
  RefreshPage();
}

config::ProfileList CHalveronMouseDevice::Profiles() const {
  return config::ProfileList(QString::fromStdString(UserDataFolder()), QString::fromStdString(DefaultProfilePath()),
                             Kind());
}

void CHalveronMouseDevice::LoadSelectedProfile() {
  // As for the keyboard: the profile bar hands its profile over; without one, the list's selection.
  config::ProfileList list = Profiles();
  if (const std::string id = KeyboardProfile::IdToSelect(list, ProfileId()); !id.empty()) SetProfileId(id);
  LoadProfile();
}

void CHalveronMouseDevice::LoadProfile() {
  const std::string path = ProfilePath();
  if (path.empty()) return;
  Profile().SetProfilePath(QString::fromStdString(path));
  Profile().LoadDeviceSection(Profile().GetProfilePath());
  key_list_ = Profile().GetKeyList();
}

void CHalveronMouseDevice::SaveProfile() { Profile().Save(); }

void CHalveronMouseDevice::CheckAssignments() {
  config::MacroStore store(QString::fromStdString(UserDataFolder()));
  const int macro_count = static_cast<int>(store.LoadMacroList().size());
  if (!config::ResetMissingMacroAssignments(key_list_, macro_count)) return;
  Profile().SetKeyAssignments(key_list_);
  Profile().Save();
}

int CHalveronMouseDevice::WriteKeyAssignments(int profile_index, const std::vector<config::KeyRecord>& keys) {
  return key_table_.WriteAssignments(Links(), profile_index, keys);
}

int CHalveronMouseDevice::WriteMacros() { return WriteMacroImage(Links(), UserDataFolder()); }

}  // namespace zrv::devices
