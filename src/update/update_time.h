#pragma once
// "updatetime.config": the date of the last update check, kept in the per-user data folder as
// {"updatelasttime": {"value": "2024-3-7"}} (year-month-day without leading zeros).

#include <QDate>
#include <QString>

#include <optional>

namespace zrv::update {

// The file in a data folder.
QString UpdateTimeFile(const QString& data_dir);

QString FormatCheckDate(const QDate& date);

// The stored date text; nothing when the file, the member or its text is missing.
std::optional<QString> ReadLastCheckDate(const QString& file);

// Stores the date (other members of the file are kept); false when the file could not be written.
bool WriteLastCheckDate(const QString& file, const QDate& date);

// The last-check date as the settings window opens: the stored one, or today, written there when
// none is stored.
QString LastCheckDateOrToday(const QString& file, const QDate& today);

}  // namespace zrv::update
