#include "device/hidraw_sysfs.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace zrv::device {
namespace fs = std::filesystem;

namespace {

// True when path lies strictly below folder (both canonical).
bool IsBelow(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

class FileSysfsSource final : public SysfsSource {
 public:
  explicit FileSysfsSource(const std::string& root) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(root, ec);
    root_ = ec ? fs::path(root).lexically_normal().string() : canonical.string();
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
    devices_ = root_ + "/devices";
  }

  bool ListClass(const std::string& subsystem, std::vector<std::string>& syspaths) override {
    if (!IsPlainName(subsystem)) return false;
    const fs::path folder = fs::path(root_) / "class" / subsystem;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return ec == std::errc::no_such_file_or_directory;
    std::vector<std::string> found;
    for (const auto& entry : it) {
      std::string syspath = Resolve(entry.path());
      if (!syspath.empty()) found.push_back(std::move(syspath));
    }
    std::sort(found.begin(), found.end());
    syspaths.insert(syspaths.end(), found.begin(), found.end());
    return true;
  }

  std::string FindClassDevice(const std::string& subsystem, const std::string& sysname) override {
    if (!IsPlainName(subsystem) || !IsPlainName(sysname)) return {};
    return Resolve(fs::path(root_) / "class" / subsystem / sysname);
  }

  std::vector<SysfsDevice> Lineage(const std::string& syspath, size_t ancestors) override {
    std::vector<SysfsDevice> lineage;
    std::error_code ec;
    if (!IsBelow(syspath, devices_) || !fs::exists(fs::path(syspath) / "uevent", ec)) return lineage;
    lineage.push_back({syspath, Subsystem(syspath)});
    fs::path path(syspath);
    while (lineage.size() <= ancestors) {
      path = path.parent_path();
      const std::string candidate = path.string();
      if (!IsBelow(candidate, devices_)) break;
      if (fs::exists(path / "uevent", ec)) lineage.push_back({candidate, Subsystem(candidate)});
    }
    return lineage;
  }

 private:
  static std::string Subsystem(const std::string& syspath) {
    std::error_code ec;
    fs::path target = fs::read_symlink(fs::path(syspath) / "subsystem", ec);
    return ec ? std::string() : target.filename().string();
  }

  // Canonical syspath of a class entry (a link into devices/), empty unless it is a device there.
  std::string Resolve(const fs::path& entry) const {
    std::error_code ec;
    fs::path target = fs::canonical(entry, ec);
    if (ec) return {};
    std::string syspath = target.string();
    if (!IsBelow(syspath, devices_) || !fs::exists(target / "uevent", ec)) return {};
    return syspath;
  }

  std::string root_;
  std::string devices_;
};

}  // namespace

std::unique_ptr<SysfsSource> MakeFileSysfsSource(const std::string& root) {
  return std::make_unique<FileSysfsSource>(root);
}

std::optional<std::string> ReadSysfsAttribute(const std::string& syspath, const std::string& name, size_t max_size) {
  const std::string path = syspath + "/" + name;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  std::string content;
  char chunk[4096];
  bool ok = true;
  while (content.size() < max_size) {
    ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, max_size - content.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    content.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  return content;
}

std::optional<std::string> ReadSysfsText(const std::string& syspath, const std::string& name) {
  auto text = ReadSysfsAttribute(syspath, name);
  if (!text) return std::nullopt;
  while (!text->empty() && (text->back() == '\n' || text->back() == ' ' || text->back() == '\t' ||
                            text->back() == '\r' || text->back() == '\0')) {
    text->pop_back();
  }
  return text;
}

std::optional<std::string> UeventValue(const std::string& uevent, const std::string& key) {
  size_t start = 0;
  while (start < uevent.size()) {
    size_t end = uevent.find('\n', start);
    if (end == std::string::npos) end = uevent.size();
    std::string_view line(uevent.data() + start, end - start);
    if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 && line[key.size()] == '=') {
      return std::string(line.substr(key.size() + 1));
    }
    start = end + 1;
  }
  return std::nullopt;
}

}  // namespace zrv::device
