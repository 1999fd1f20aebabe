#pragma once
// The small key-value store for what the system keeps "in the registry" (the language choice, ...).
//
// One INI file, $XDG_CONFIG_HOME/ZRV-31 Gaming Keyboard/settings.ini, stands for the product's
// registry key. Like that key, the store may be absent: reads then find nothing and writes fail
// until Create() has made it, so callers keep the "key missing" behaviour they were written for.

#include <QString>

#include <cstdint>
#include <optional>

namespace zrv::platform {

class SettingsStore {
 public:
  // The store of the current user.
  SettingsStore();
  // A store in another file (tests).
  explicit SettingsStore(QString file);

  static QString DefaultFile();
  const QString& file() const { return file_; }

  // Whether the store (the key) exists.
  bool Exists() const;
  // Creates the store and its folder when missing; true when it exists afterwards.
  bool Create() const;

  // A 32-bit number; nothing when the store or the value is missing or the value is no number.
  std::optional<std::uint32_t> ReadNumber(const QString& name) const;
  std::optional<QString> ReadText(const QString& name) const;

  // Writes and flushes one value; false when the store does not exist or cannot be written.
  bool WriteNumber(const QString& name, std::uint32_t value) const;
  bool WriteText(const QString& name, const QString& value) const;

 private:
  bool Write(const QString& name, const QVariant& value) const;

  QString file_;
};

}  // namespace zrv::platform
