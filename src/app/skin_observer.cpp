#include "app/skin_observer.h"

#include <QFileInfo>
#include <QSettings>

#include "platform/folders.h"
#include "ui/resources.h"

namespace zrv::app {
namespace {

constexpr const char* kFlagsKey = "SKINIMAGE/FLAGS";
constexpr const char* kImageKey = "SKINIMAGE/IMAGE";

}  // namespace

SkinObserver& SkinChangeObserver() {
  static SkinObserver observer;
  return observer;
}

QString SkinIniFile() { return QString::fromStdString((platform::UserDataDir() / "main.ini").string()); }

bool WriteSkinChoice(const QString& ini_file, bool chosen, const QString& image) {
  QSettings ini(ini_file, QSettings::IniFormat);
  ini.setValue(QLatin1String(kFlagsKey), chosen ? QStringLiteral("1") : QStringLiteral("0"));
  ini.setValue(QLatin1String(kImageKey), image);
  ini.sync();
  return ini.status() == QSettings::NoError;
}

QString RememberedSkinImage(const QString& ini_file) {
  if (!QFileInfo::exists(ini_file)) return {};
  QSettings ini(ini_file, QSettings::IniFormat);
  if (ini.value(QLatin1String(kFlagsKey)).toString() != u"1") return {};
  const QString image = ini.value(QLatin1String(kImageKey)).toString();
  // A skin image is a skin path; a custom one an absolute path. Either must still be there.
  if (image.isEmpty()) return {};
  const QString file = QFileInfo(image).isAbsolute() ? image : ui::Resources::Instance().ResolveFile(image);
  return QFileInfo::exists(file) ? image : QString();
}

}  // namespace zrv::app
