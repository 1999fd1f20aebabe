// The libudev side of the sysfs seam: a thin wrapper, all interpretation happens above it.

#include <libudev.h>

#include <mutex>

#include "device/hidraw_sysfs.h"

namespace zrv::device {
namespace {

struct UdevDeviceRef {
  udev_device* device = nullptr;
  explicit UdevDeviceRef(udev_device* d) : device(d) {}
  ~UdevDeviceRef() {
    if (device != nullptr) udev_device_unref(device);
  }
  UdevDeviceRef(const UdevDeviceRef&) = delete;
  UdevDeviceRef& operator=(const UdevDeviceRef&) = delete;
};

std::string Text(const char* value) { return value != nullptr ? std::string(value) : std::string(); }

class UdevSysfsSource final : public SysfsSource {
 public:
  UdevSysfsSource() : udev_(udev_new()) {}
  ~UdevSysfsSource() override {
    if (udev_ != nullptr) udev_unref(udev_);
  }
  UdevSysfsSource(const UdevSysfsSource&) = delete;
  UdevSysfsSource& operator=(const UdevSysfsSource&) = delete;

  bool ListClass(const std::string& subsystem, std::vector<std::string>& syspaths) override {
    std::lock_guard lock(mutex_);
    if (udev_ == nullptr) return false;
    udev_enumerate* enumerate = udev_enumerate_new(udev_);
    if (enumerate == nullptr) return false;
    bool ok = udev_enumerate_add_match_subsystem(enumerate, subsystem.c_str()) >= 0 &&
              udev_enumerate_scan_devices(enumerate) >= 0;
    if (ok) {
      udev_list_entry* entry = nullptr;
      udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
        syspaths.push_back(Text(udev_list_entry_get_name(entry)));
      }
    }
    udev_enumerate_unref(enumerate);
    return ok;
  }

  std::string FindClassDevice(const std::string& subsystem, const std::string& sysname) override {
    std::lock_guard lock(mutex_);
    if (udev_ == nullptr) return {};
    UdevDeviceRef device(udev_device_new_from_subsystem_sysname(udev_, subsystem.c_str(), sysname.c_str()));
    return device.device != nullptr ? Text(udev_device_get_syspath(device.device)) : std::string();
  }

  std::vector<SysfsDevice> Lineage(const std::string& syspath, size_t ancestors) override {
    std::lock_guard lock(mutex_);
    std::vector<SysfsDevice> lineage;
    if (udev_ == nullptr) return lineage;
    UdevDeviceRef device(udev_device_new_from_syspath(udev_, syspath.c_str()));
    // Parents belong to their child and live as long as the device we hold.
    for (udev_device* at = device.device; at != nullptr && lineage.size() <= ancestors;
         at = udev_device_get_parent(at)) {
      lineage.push_back({Text(udev_device_get_syspath(at)), Text(udev_device_get_subsystem(at))});
    }
    return lineage;
  }

 private:
  // A libudev context is not safe for concurrent use; the backend is shared by several threads.
  std::mutex mutex_;
  udev* udev_;
};

}  // namespace

std::unique_ptr<SysfsSource> MakeUdevSysfsSource() { return std::make_unique<UdevSysfsSource>(); }

}  // namespace zrv::device
