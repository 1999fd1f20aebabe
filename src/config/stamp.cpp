#include "config/stamp.h"

namespace zrv::config {

QString FormatStamp(const QDateTime& time) {
  const QDate date = time.date();
  const QTime clock = time.time();
  return QString::asprintf("%d_%02d_%02d_%02d_%02d_%02d_%03d", date.year(), date.month(), date.day(), clock.hour(),
                           clock.minute(), clock.second(), clock.msec());
}

QString MakeUniqueStamp(const QDateTime& now, const std::function<bool(const QString&)>& taken) {
  QDateTime time = now;
  QString stamp = FormatStamp(time);
  while (taken && taken(stamp)) {
    time = time.addMSecs(1);
    stamp = FormatStamp(time);
  }
  return stamp;
}

}  // namespace zrv::config
