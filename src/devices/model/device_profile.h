#pragma once
// DeviceProfile: the profile a device works with. The page's profile bar hands its identifier over
// when the page is built and at every switch; the file is the kind's user data folder + identifier
// + ".Json". The kind's profile data object, which reads and writes that file, is owned by the
// kind and registered here. User-interface thread only.

#include <string>

namespace zrv::config {
class CBasicProfiledata;
}

namespace zrv::devices {

class DeviceProfile {
 public:
  // The kind name that names the data folders.
  void SetKindName(std::string kind_name) { kind_name_ = std::move(kind_name); }
  // The kind's profile data object (outlives its use here); null while there is none.
  void SetData(config::CBasicProfiledata* data) { data_ = data; }
  config::CBasicProfiledata* Data() const { return data_; }

  // Also points the profile data object at the identifier's file.
  void SetId(std::string id);
  const std::string& Id() const { return id_; }
  // Empty while no identifier is known.
  std::string Path() const;

  // Whatever position the main window gives the device, its profile data works on element 0 of
  // the profile's "Device" list.
  void SetDisplayIndex(int index);
  int DisplayIndex() const { return display_index_; }

  // Data folders, ending with a separator.
  std::string DefaultDataFolder() const;
  std::string DefaultProfilePath() const;
  // Creates the product level and the kind level when they are missing.
  std::string UserDataFolder() const;

 private:
  std::string kind_name_;
  std::string id_;
  int display_index_ = 0;
  config::CBasicProfiledata* data_ = nullptr;
};

}  // namespace zrv::devices
