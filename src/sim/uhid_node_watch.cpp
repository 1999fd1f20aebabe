#include "sim/uhid_node_watch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "device/hidraw_sysfs.h"

namespace zrv::sim {
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::optional<std::string> HidrawChild(const fs::path& hid_syspath) {
  std::error_code ec;
  fs::directory_iterator it(hid_syspath / "hidraw", ec), end;
  if (ec) return std::nullopt;
  for (; it != end; it.increment(ec)) {
    if (ec) return std::nullopt;
    std::string name = it->path().filename().string();
    if (name.starts_with("hidraw")) return name;
  }
  return std::nullopt;
}

}  // namespace

std::optional<UhidKernelDevice> FindHidDeviceByPhys(const std::string& sysfs_root, const std::string& dev_root,
                                                    const std::string& phys) {
  std::error_code ec;
  fs::directory_iterator it(fs::path(sysfs_root) / "bus/hid/devices", ec), end;
  if (ec) return std::nullopt;
  for (; it != end; it.increment(ec)) {
    if (ec) return std::nullopt;
    fs::path syspath = fs::canonical(it->path(), ec);
    if (ec) continue;  // went away meanwhile
    auto uevent = device::ReadSysfsAttribute(syspath.string(), "uevent");
    if (!uevent || device::UeventValue(*uevent, "HID_PHYS") != phys) continue;
    auto hidraw = HidrawChild(syspath);
    if (!hidraw) return std::nullopt;  // ours, but its node is not there yet
    UhidKernelDevice found{syspath.filename().string(), syspath.string(), *hidraw, dev_root + "/" + *hidraw};
    struct stat st {};
    if (::stat(found.node.c_str(), &st) != 0) return std::nullopt;
    return found;
  }
  return std::nullopt;
}

std::optional<UhidKernelDevice> WaitForHidDevice(device::KernelUevents& uevents, const std::string& sysfs_root,
                                                 const std::string& dev_root, const std::string& phys,
                                                 std::chrono::milliseconds timeout) {
  // A lost uevent (a full socket buffer) costs at most this much.
  constexpr std::chrono::milliseconds kSafetyPeriod{50};
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (auto found = FindHidDeviceByPhys(sysfs_root, dev_root, phys)) return found;
    if (Clock::now() >= deadline) return std::nullopt;
    uevents.WaitForAny(deadline, kSafetyPeriod);
  }
}

}  // namespace zrv::sim
