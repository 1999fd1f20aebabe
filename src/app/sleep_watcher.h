#pragma once
// Suspend and resume of the machine, as logind announces them on the system bus
// (org.freedesktop.login1.Manager.PrepareForSleep: true before the suspend, false after the
// resume). Without a system bus (containers, minimal systems) nothing is ever announced.

#include <QObject>

namespace zrv::app {

class SleepWatcher : public QObject {
  Q_OBJECT
 public:
  explicit SleepWatcher(QObject* parent = nullptr);
  // Whether the system bus could be reached and the signal is watched.
  bool Watching() const { return watching_; }

 signals:
  void suspending();
  void resumed();

 private slots:
  void OnPrepareForSleep(bool start);

 private:
  bool watching_ = false;
};

}  // namespace zrv::app
