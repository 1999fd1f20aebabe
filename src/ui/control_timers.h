#pragma once
// The timers of one control: a hidden child object of the control's widget, so the timers end
// with the control.

#include <QHash>
#include <QObject>

namespace zrv::ui {

class Control;

class ControlTimers : public QObject {
 public:
  ControlTimers(Control* control, QObject* parent);
  bool Start(int id, int milliseconds);
  void Stop(int id);
  void StopAll();
  bool Has(int id) const { return by_id_.contains(id); }

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  Control* control_;
  QHash<int, int> by_id_;     // our id -> Qt timer id
  QHash<int, int> by_qt_id_;  // Qt timer id -> our id
};

}  // namespace zrv::ui
