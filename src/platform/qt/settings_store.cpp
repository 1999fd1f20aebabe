#include "platform/qt/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "platform/folders.h"

namespace zrv::platform {

SettingsStore::SettingsStore() : file_(DefaultFile()) {}

SettingsStore::SettingsStore(QString file) : file_(std::move(file)) {}

QString SettingsStore::DefaultFile() { return QString::fromStdString((ConfigDir() / "settings.ini").string()); }

bool SettingsStore::Exists() const { return QFileInfo(file_).isFile(); }

bool SettingsStore::Create() const {
  if (Exists()) return true;
  if (!QDir().mkpath(QFileInfo(file_).absolutePath())) return false;
  QFile file(file_);
  // Append mode: a store created meanwhile by another process is kept as it is.
  if (!file.open(QIODevice::Append)) return false;
  file.close();
  return Exists();
}

std::optional<std::uint32_t> SettingsStore::ReadNumber(const QString& name) const {
  if (!Exists()) return std::nullopt;
  QSettings settings(file_, QSettings::IniFormat);
  QVariant value = settings.value(name);
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  qulonglong number = value.toString().trimmed().toULongLong(&ok, 0);
  if (!ok || number > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(number);
}

std::optional<QString> SettingsStore::ReadText(const QString& name) const {
  if (!Exists()) return std::nullopt;
  QSettings settings(file_, QSettings::IniFormat);
  QVariant value = settings.value(name);
  if (!value.isValid()) return std::nullopt;
  return value.toString();
}

bool SettingsStore::WriteNumber(const QString& name, std::uint32_t value) const {
  return Write(name, QVariant::fromValue(static_cast<qulonglong>(value)));
}

bool SettingsStore::WriteText(const QString& name, const QString& value) const { return Write(name, value); }

bool SettingsStore::Write(const QString& name, const QVariant& value) const {
  if (!Exists()) return false;
  QSettings settings(file_, QSettings::IniFormat);
  settings.setValue(name, value);
  settings.sync();
  return settings.status() == QSettings::NoError;
}

}  // namespace zrv::platform
