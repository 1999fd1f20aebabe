#include "update/update_time.h"

#include "config/json_fields.h"
#include "config/json_file.h"
#include "config/json_value.h"

#include <QDir>

#include <string>

namespace zrv::update {
namespace {

// {"updatelasttime": {"value": …}}: reading and writing both name the members here.
constexpr const char* kLastCheckMember = "updatelasttime";
struct LastCheck {
  std::string value;
};
constexpr config::JsonField<LastCheck> kLastCheckFields[] = {config::TextField<&LastCheck::value>("value")};

}  // namespace

QString UpdateTimeFile(const QString& data_dir) { return QDir(data_dir).filePath(QStringLiteral("updatetime.config")); }

QString FormatCheckDate(const QDate& date) {
  return QStringLiteral("%1-%2-%3").arg(date.year()).arg(date.month()).arg(date.day());
}

std::optional<QString> ReadLastCheckDate(const QString& file) {
  Json::Value root = config::ReadJsonFile(file);
  // A value that is no text reads as empty.
  const LastCheck stored = config::ReadRecord<LastCheck>(config::Member(root, kLastCheckMember), kLastCheckFields);
  if (stored.value.empty()) return std::nullopt;
  return QString::fromStdString(stored.value);
}

bool WriteLastCheckDate(const QString& file, const QDate& date) {
  Json::Value root = config::ReadJsonFile(file);
  config::WriteFields<LastCheck>(config::MemberForWrite(root, kLastCheckMember), kLastCheckFields,
                                 LastCheck{FormatCheckDate(date).toStdString()});
  return config::WriteJsonFile(file, root);
}

QString LastCheckDateOrToday(const QString& file, const QDate& today) {
  if (auto stored = ReadLastCheckDate(file)) return *stored;
  WriteLastCheckDate(file, today);
  return FormatCheckDate(today);
}

}  // namespace zrv::update
