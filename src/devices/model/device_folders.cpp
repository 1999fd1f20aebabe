#include "devices/model/device_folders.h"

#include <filesystem>

#include "platform/folders.h"

namespace zrv::devices {
namespace {

std::string WithSeparator(const std::filesystem::path& dir) {
  std::string text = dir.string();
  if (text.empty() || text.back() != '/') text.push_back('/');
  return text;
}

void CreateLevel(const std::filesystem::path& dir) {
  std::error_code error;
  if (!std::filesystem::is_directory(dir, error)) platform::EnsureDir(dir);
}

}  // namespace

std::string DefaultDataFolder() { return WithSeparator(platform::DefaultDataDir()); }

std::string DefaultProfilePath(std::string_view kind_name) {
  return DefaultDataFolder() + std::string(kind_name) + ".Json";
}

std::string UserDataFolder(std::string_view kind_name) {
  const std::filesystem::path product = platform::UserDataDir();
  CreateLevel(product);
  if (kind_name.empty()) return WithSeparator(product);
  const std::filesystem::path kind = product / std::string(kind_name);
  CreateLevel(kind);
  return WithSeparator(kind);
}

}  // namespace zrv::devices
