#include "device/hidraw_backend.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "device/hidraw_connection.h"
#include "device/hidraw_node.h"
#include "device/hidraw_sysfs.h"
#include "device/kernel_uevents.h"
#include "platform/debug_output.h"

namespace zrv::device {
namespace {

// Interface paths are kept in buffers of 260 characters including the terminator.
constexpr size_t kMaxPathLength = 259;

// While the kernel announces nothing, the last listing stands this long at most: a safety net
// for an announcement that never reaches us (a network namespace of its own).
constexpr std::chrono::seconds kRelistPeriod{1};

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// Node numbers as decimal strings, compared by value without overflow.
bool NumberLess(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// "247:3" from a node's dev attribute.
bool ParseDevNumbers(const std::string& text, dev_t& dev) {
  size_t colon = text.find(':');
  if (colon == std::string::npos) return false;
  unsigned major_number = 0, minor_number = 0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  auto major_end = std::from_chars(begin, begin + colon, major_number);
  auto minor_end = std::from_chars(begin + colon + 1, end, minor_number);
  if (major_end.ec != std::errc() || major_end.ptr != begin + colon || minor_end.ec != std::errc() ||
      minor_end.ptr != end) {
    return false;
  }
  dev = makedev(major_number, minor_number);
  return true;
}

class HidrawBackend final : public HidBackend {
 public:
  explicit HidrawBackend(HidrawOptions options)
      : options_(std::move(options)),
        sysfs_(options_.sysfs_root == "/sys" ? MakeUdevSysfsSource() : MakeFileSysfsSource(options_.sysfs_root)),
        prefix_(options_.dev_root + "/hidraw") {
    // Only the real tree's changes are announced.
    if (options_.sysfs_root == "/sys") uevents_ = std::make_unique<KernelUevents>();
  }

  bool Handles(std::string_view path) const override { return path.substr(0, prefix_.size()) == prefix_; }

  bool Enumerate(std::vector<std::string>& paths) override {
    std::lock_guard lock(cache_mutex_);
    // Discovery enumerates every 100 ms while a device is missing. Walking the device tree costs
    // milliseconds; listing the class folder and its owner links costs tens of microseconds. So the
    // listing is taken again only when the kernel announced a device event since the last one
    // (taken before listing, so that the listing shows what was announced), and the walk runs only
    // when the set of nodes or their owners changed.
    const auto now = std::chrono::steady_clock::now();
    const bool announced = uevents_ == nullptr || uevents_->TakeAny();
    if (!announced && listed_owners_ && now - listed_at_ < kRelistPeriod) {
      paths.insert(paths.end(), listed_paths_.begin(), listed_paths_.end());
      return true;
    }
    listed_at_ = now;
    std::vector<std::pair<std::string, std::string>> owners;
    const bool owners_listed = ListOwners(owners);
    if (owners_listed && listed_owners_ && owners == *listed_owners_) {
      paths.insert(paths.end(), listed_paths_.begin(), listed_paths_.end());
      return true;
    }
    std::vector<std::string> syspaths;
    if (!sysfs_->ListClass("hidraw", syspaths)) {
      platform::DebugPrintf("hidraw: listing the hidraw class under %s failed", options_.sysfs_root.c_str());
      return false;
    }
    struct Found {
      std::string number;
      std::vector<std::string> paths;
    };
    std::vector<Found> found;
    std::map<std::string, std::shared_ptr<const HidrawNode>> described;
    for (const auto& syspath : syspaths) {
      auto node = std::make_shared<HidrawNode>();
      std::string error;
      if (!DescribeHidrawNode(*sysfs_, syspath, *node, error)) {
        platform::DebugPrintf("hidraw: skipped: %s", error.c_str());
        continue;
      }
      std::vector<std::string> node_paths = HidrawPaths(options_.dev_root, *node);
      if (std::any_of(node_paths.begin(), node_paths.end(), [](const auto& p) { return p.size() > kMaxPathLength; })) {
        platform::DebugPrintf("hidraw: skipped %s: path too long", node->sysname.c_str());
        continue;
      }
      found.push_back({node->number, std::move(node_paths)});
      described[node->sysname + "#" + node->hid_name] = std::move(node);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return NumberLess(a.number, b.number); });
    listed_paths_.clear();
    for (auto& node : found) {
      listed_paths_.insert(listed_paths_.end(), std::make_move_iterator(node.paths.begin()),
                           std::make_move_iterator(node.paths.end()));
    }
    // Descriptions of nodes that are gone are dropped; a new owner gets a new key.
    descriptions_ = std::move(described);
    // Remember the listing taken before the walk: a node that came during the walk differs from it
    // and makes the next enumeration walk again.
    listed_owners_.reset();
    if (owners_listed) listed_owners_ = std::move(owners);
    paths.insert(paths.end(), listed_paths_.begin(), listed_paths_.end());
    return true;
  }

  std::unique_ptr<HidConnection> Open(std::string_view path, const HidOpenFlags& flags) override {
    HidrawPathParts parts;
    if (!Handles(path) || !ParseHidrawPath(options_.dev_root, path, parts)) return nullptr;
    const std::string node_path = prefix_ + parts.number;
    const bool no_access = !flags.read && !flags.write;

    // Open first, check identity after: if the node changed hands before the open, sysfs already
    // names the new device and the check fails; the descriptor stays bound to what it opened.
    int open_flags = O_CLOEXEC;
    if (no_access) {
      open_flags |= O_PATH;  // proves presence without the device's access rights
    } else {
      open_flags |= (flags.read && flags.write ? O_RDWR : flags.read ? O_RDONLY : O_WRONLY) | O_NONBLOCK;
    }
    UniqueFd fd(options_.open_node ? options_.open_node(node_path, open_flags) : ::open(node_path.c_str(), open_flags));
    if (fd.get() < 0) {
      platform::DebugPrintf("hidraw: open %s: %s", node_path.c_str(), std::strerror(errno));
      return nullptr;
    }

    std::shared_ptr<const HidrawNode> described = Describe("hidraw" + parts.number, parts.hid_name);
    if (!described) {
      platform::DebugPrintf("hidraw: %s is gone", node_path.c_str());
      return nullptr;
    }
    const HidrawNode& node = *described;
    const std::vector<std::string> paths = HidrawPaths(options_.dev_root, node);
    auto match = std::find(paths.begin(), paths.end(), path);
    if (node.hid_name != parts.hid_name || match == paths.end()) {
      platform::DebugPrintf("hidraw: %s now belongs to %s", node_path.c_str(), node.hid_name.c_str());
      return nullptr;
    }

    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !IsThatNode(st, node)) {
      platform::DebugPrintf("hidraw: %s is not the node of %s", node_path.c_str(), node.hid_name.c_str());
      return nullptr;
    }
    if (!no_access && !Lock(fd.get(), flags)) {
      platform::DebugPrintf("hidraw: %s is held exclusively", node_path.c_str());
      return nullptr;
    }
    return std::make_unique<HidrawConnection>(fd.release(), S_ISSOCK(st.st_mode),
                                              HidrawConnection::Access{flags.read, flags.write}, node.attributes,
                                              node.descriptor, static_cast<size_t>(match - paths.begin()));
  }

 private:
  // (node name, owning HID device name) of every node in the class folder, sorted. The owner
  // changes whenever another device takes the node.
  bool ListOwners(std::vector<std::pair<std::string, std::string>>& owners) const {
    owners.clear();
    const std::string folder = options_.sysfs_root + "/class/hidraw";
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error), end;
    if (error) return error == std::errc::no_such_file_or_directory;  // no hidraw module: no nodes
    for (; it != end; it.increment(error)) {
      if (error) return false;
      std::string name = it->path().filename().string();
      std::string owner = Owner(name);
      if (owner.empty()) return false;  // an owner we cannot tell: no listing to compare with
      owners.emplace_back(std::move(name), std::move(owner));
    }
    std::sort(owners.begin(), owners.end());
    return true;
  }

  // The class entry links to <devices>/.../<HID device>/hidraw/<sysname>: one link read names the owner.
  std::string Owner(const std::string& sysname) const {
    std::error_code error;
    auto target = std::filesystem::read_symlink(options_.sysfs_root + "/class/hidraw/" + sysname, error);
    if (error || target.filename() != sysname || target.parent_path().filename() != "hidraw") return {};
    return target.parent_path().parent_path().filename().string();
  }

  // The facts of node sysname while hid_name owns it: from the last enumeration when it saw that
  // owner (cheap: one link read, as for every presence check), else read afresh.
  std::shared_ptr<const HidrawNode> Describe(const std::string& sysname, const std::string& hid_name) {
    if (Owner(sysname) == hid_name) {
      std::lock_guard lock(cache_mutex_);
      auto it = descriptions_.find(sysname + "#" + hid_name);
      if (it != descriptions_.end()) return it->second;
    }
    auto node = std::make_shared<HidrawNode>();
    std::string error;
    const std::string syspath = sysfs_->FindClassDevice("hidraw", sysname);
    if (syspath.empty() || !DescribeHidrawNode(*sysfs_, syspath, *node, error)) return nullptr;
    return node;
  }

  // The opened file must be the character device that sysfs names (a stale /dev entry would not
  // be). A substituted opener (tests) may hand over a socket instead; a character device is always
  // checked.
  bool IsThatNode(const struct stat& st, const HidrawNode& node) const {
    if (!S_ISCHR(st.st_mode)) return static_cast<bool>(options_.open_node);
    dev_t expected = 0;
    if (node.dev.empty() || !ParseDevNumbers(node.dev, expected)) return true;  // nothing to compare with
    return st.st_rdev == expected;
  }

  // Linux has no share modes. Advisory locks stand in for them among programs that take them:
  // an exclusive open holds LOCK_EX, every other open with write access LOCK_SH, so an exclusive
  // open fails while someone else may write, and a writer fails while an exclusive holder is
  // there. Read-only shared opens (the discovery probe) take no lock. A file system without
  // flock(2) support leaves opens unlocked.
  static bool Lock(int fd, const HidOpenFlags& flags) {
    if (!flags.exclusive && !flags.write) return true;
    if (::flock(fd, (flags.exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return true;
    return errno != EWOULDBLOCK;
  }

  HidrawOptions options_;
  std::unique_ptr<SysfsSource> sysfs_;
  std::string prefix_;

  std::unique_ptr<KernelUevents> uevents_;  // null: the tree is not the kernel's, list every time

  std::mutex cache_mutex_;  // guards the members below and the use of uevents_
  std::chrono::steady_clock::time_point listed_at_;
  std::optional<std::vector<std::pair<std::string, std::string>>> listed_owners_;  // none: walk next time
  std::vector<std::string> listed_paths_;
  std::map<std::string, std::shared_ptr<const HidrawNode>> descriptions_;  // by "hidrawN#<HID name>"
};

}  // namespace

std::shared_ptr<HidBackend> MakeHidrawBackend(HidrawOptions options) {
  return std::make_shared<HidrawBackend>(std::move(options));
}

}  // namespace zrv::device
