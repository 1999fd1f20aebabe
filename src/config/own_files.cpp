#include "config/own_files.h"

#include <QDir>
#include <QFileInfo>

namespace zrv::config {
namespace {

// The file a write of `path` lands in: links are followed, dangling ones too, as the atomic
// writer follows them.
QFileInfo WrittenFile(const QString& path) {
  QFileInfo file(path);
  for (int depth = 0; depth < 64 && file.isSymLink(); ++depth) {
    const QString target = file.symLinkTarget();
    if (target.isEmpty()) break;
    file.setFile(target);
  }
  return file;
}

bool IsOwnName(const QString& name) {
  for (const char* own : {"ProfileList.ini", "macro.config", "orvex_macro.config"}) {
    if (name.compare(QLatin1String(own), Qt::CaseInsensitive) == 0) return true;
  }
  return name.endsWith(QLatin1String(".mac"), Qt::CaseInsensitive) ||
         name.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
}

}  // namespace

bool IsDeviceOwnFile(const QString& folder, const QString& path) {
  if (folder.isEmpty() || path.isEmpty()) return false;
  const QString own_folder = QFileInfo(folder).canonicalFilePath();
  if (own_folder.isEmpty()) return false;  // no folder yet: nothing in it to protect
  const QFileInfo file = WrittenFile(path);
  if (QFileInfo(file.absolutePath()).canonicalFilePath() != own_folder) return false;
  return file.exists() || IsOwnName(file.fileName());
}

}  // namespace zrv::config
