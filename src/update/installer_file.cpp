#include "update/installer_file.h"

#include <unistd.h>

#include "platform/debug_output.h"
#include "platform/folders.h"
#include "update/update_info.h"

namespace zrv::update {

std::string SafeFileName(std::string_view name) {
  std::string kept;
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\') continue;
    kept += c;
  }
  for (size_t dots = kept.find(".."); dots != std::string::npos; dots = kept.find("..")) kept.erase(dots, 2);
  size_t start = kept.find_first_not_of(". ");
  kept = start == std::string::npos ? std::string() : kept.substr(start);
  if (kept.size() > kMaxFileNameBytes) {
    size_t cut = kMaxFileNameBytes;
    while (cut > 0 && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    kept.resize(cut);
  }
  while (!kept.empty() && (kept.back() == ' ' || kept.back() == '.')) kept.pop_back();
  return kept.empty() ? std::string("update") : kept;
}

std::string ServedExtension(std::string_view url) {
  url = url.substr(0, url.find_first_of("?#"));
  std::string_view file = url.substr(url.find_last_of('/') + 1);  // npos + 1 == 0: the whole text
  size_t dot = file.find_last_of('.');
  if (dot == std::string_view::npos) return {};
  std::string_view extension = file.substr(dot + 1);
  if (extension.empty() || extension.size() > 10) return {};
  for (char c : extension) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return {};
  }
  return "." + std::string(extension);
}

std::filesystem::path InstallerFile(const std::filesystem::path& download_dir, std::string_view name,
                                    std::string_view url) {
  return download_dir / (SafeFileName(name) + ServedExtension(url));
}

int DownloadInstaller(HttpClient& client, std::string_view url, const std::filesystem::path& file,
                      const ProgressCallback& progress) {
  const platform::DownloadDirState state = platform::PrepareDownloadDir(file.parent_path(), geteuid());
  if (state != platform::DownloadDirState::kUsable) {
    platform::DebugPrintf("download refused: %s: %s", file.parent_path().c_str(),
                          platform::DownloadDirStateText(state));
    return kStatusFailed;
  }
  return client.Download(url, file, progress) == DownloadResult::kComplete ? kStatusDownloaded : kStatusFailed;
}

}  // namespace zrv::update
