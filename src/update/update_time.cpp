#include "update/update_time.h"

#include "config/json_file.h"
#include "config/json_value.h"

#include <QDir>

namespace zrv::update {

QString UpdateTimeFile(const QString& data_dir) { return QDir(data_dir).filePath(QStringLiteral("updatetime.config")); }

QString FormatCheckDate(const QDate& date) {
  return QStringLiteral("%1-%2-%3").arg(date.year()).arg(date.month()).arg(date.day());
}

std::optional<QString> ReadLastCheckDate(const QString& file) {
  Json::Value root = config::ReadJsonFile(file);
  const Json::Value& value = config::Member(config::Member(root, "updatelasttime"), "value");
  if (!value.isString() || value.asString().empty()) return std::nullopt;
  return QString::fromStdString(value.asString());
}

bool WriteLastCheckDate(const QString& file, const QDate& date) {
  Json::Value root = config::ReadJsonFile(file);
  config::MemberForWrite(config::MemberForWrite(root, "updatelasttime"), "value") = FormatCheckDate(date).toStdString();
  return config::WriteJsonFile(file, root);
}

QString LastCheckDateOrToday(const QString& file, const QDate& today) {
  if (auto stored = ReadLastCheckDate(file)) return *stored;
  WriteLastCheckDate(file, today);
  return FormatCheckDate(today);
}

}  // namespace zrv::update
