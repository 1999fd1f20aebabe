#include "app/memory_font.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>

#include "platform/debug_output.h"

namespace zrv::app {

MemoryFont::MemoryFont(QString folder) : folder_(std::move(folder)) {}

MemoryFont::~MemoryFont() {
  if (id_ < 0) return;
  QFontDatabase::removeApplicationFont(id_);
  platform::DebugPrintf("font released: %s", qPrintable(file_));
}

bool MemoryFont::Load(const QString& relative_name) {
  if (id_ >= 0) return true;
  file_ = relative_name;
  QFile file(QDir(folder_).filePath(relative_name));
  if (!file.open(QIODevice::ReadOnly)) return false;
  QByteArray bytes = file.readAll();
  file.close();
  if (bytes.isEmpty()) return false;
  id_ = QFontDatabase::addApplicationFontFromData(bytes);
  if (id_ >= 0) platform::DebugPrintf("font loaded: %s", qPrintable(file_));
  return id_ >= 0;
}

QStringList MemoryFont::Families() const {
  return id_ >= 0 ? QFontDatabase::applicationFontFamilies(id_) : QStringList();
}

PrivateFonts::PrivateFonts(const QString& program_folder) {
  for (auto& font : fonts_) font = std::make_unique<MemoryFont>(program_folder);
}

PrivateFonts::~PrivateFonts() { Release(); }

int PrivateFonts::LoadAll() {
  int loaded = 0;
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    if (fonts_[i] && fonts_[i]->Load(QString::fromLatin1(kFiles[i]))) ++loaded;
  }
  return loaded;
}

void PrivateFonts::Release() {
  for (std::size_t i = fonts_.size(); i-- > 0;) fonts_[i].reset();
}

}  // namespace zrv::app
