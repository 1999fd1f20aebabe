#pragma once
// Stamps: the local creation time "%d_%02d_%02d_%02d_%02d_%02d_%03d" (year, month, day, hour,
// minute, second, millisecond), e.g. 2021_08_09_14_03_07_045. They name macro and profile files,
// so they must not repeat within a folder.

#include <QDateTime>
#include <QString>

#include <functional>

namespace zrv::config {

QString FormatStamp(const QDateTime& time);

// The stamp of `now`, or of the next millisecond after it for which `taken` says no: two objects
// made within one millisecond get stamps one millisecond apart, in the same format.
QString MakeUniqueStamp(const QDateTime& now, const std::function<bool(const QString&)>& taken);

}  // namespace zrv::config
