#pragma once
// Where the hidraw backend learns about devices: the sysfs device tree, behind a small seam.
//
// The real /sys is read through libudev. libudev refuses syspaths outside /sys, so a tree rooted
// elsewhere (tests build fake trees in a temporary folder) is read by a plain-filesystem source
// that follows the same rules: a class device is found through <root>/class/<subsystem>/<name>,
// a device's parent is the nearest ancestor folder holding a "uevent" file (never <root>/devices
// itself or anything above it), and its subsystem is the name the "subsystem" link points at.
// Attribute files are read directly by their path under the syspath in both cases (libudev's
// attribute cache cannot carry binary attributes such as report_descriptor).

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zrv::device {

struct SysfsDevice {
  std::string syspath;
  std::string subsystem;
  bool operator==(const SysfsDevice&) const = default;
};

class SysfsSource {
 public:
  virtual ~SysfsSource() = default;

  // Appends the syspaths of every device of a class ("hidraw"). False when the listing failed; a
  // class that does not exist (module not loaded) is an empty list.
  virtual bool ListClass(const std::string& subsystem, std::vector<std::string>& syspaths) = 0;
  // Syspath of the class device subsystem/sysname, empty when there is none.
  virtual std::string FindClassDevice(const std::string& subsystem, const std::string& sysname) = 0;
  // The device at syspath, then up to `ancestors` of its ancestors, nearest first, each with its
  // subsystem ("hid", "usb", ...; empty when it has none). Empty when syspath is no device. One
  // call walks the chain, as libudev builds each device object only once per walk.
  virtual std::vector<SysfsDevice> Lineage(const std::string& syspath, size_t ancestors) = 0;
};

// libudev over the real /sys.
std::unique_ptr<SysfsSource> MakeUdevSysfsSource();
// Plain files under root (a folder laid out like /sys).
std::unique_ptr<SysfsSource> MakeFileSysfsSource(const std::string& root);

// Reads the file syspath/name whole (at most max_size bytes); none when it cannot be read.
std::optional<std::string> ReadSysfsAttribute(const std::string& syspath, const std::string& name,
                                              size_t max_size = 65536);
// The same with trailing white space (the newline sysfs appends) removed.
std::optional<std::string> ReadSysfsText(const std::string& syspath, const std::string& name);
// Value of KEY in a uevent text (lines KEY=VALUE); none when the key is missing.
std::optional<std::string> UeventValue(const std::string& uevent, const std::string& key);

}  // namespace zrv::device
