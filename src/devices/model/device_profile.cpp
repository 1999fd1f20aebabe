#include "devices/model/device_profile.h"

#include <QString>

#include "config/basic_profiledata.h"
#include "devices/model/device_folders.h"

namespace zrv::devices {
namespace {

constexpr const char* kProfileExtension = ".Json";

}  // namespace

void DeviceProfile::SetId(std::string id) {
  id_ = std::move(id);
  if (data_ != nullptr && !id_.empty()) data_->SetProfilePath(QString::fromStdString(Path()));
}

std::string DeviceProfile::Path() const {
  if (id_.empty()) return {};
  return UserDataFolder() + id_ + kProfileExtension;
}

void DeviceProfile::SetDisplayIndex(int index) {
  display_index_ = index;
  if (data_ != nullptr) data_->SetDeviceIndex(0);
}

std::string DeviceProfile::DefaultDataFolder() const { return devices::DefaultDataFolder(); }

std::string DeviceProfile::DefaultProfilePath() const { return devices::DefaultProfilePath(kind_name_); }

std::string DeviceProfile::UserDataFolder() const { return devices::UserDataFolder(kind_name_); }

}  // namespace zrv::devices
