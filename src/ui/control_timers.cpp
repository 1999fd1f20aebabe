#include "ui/control_timers.h"

#include <QTimerEvent>

#include "ui/control.h"

namespace zrv::ui {

ControlTimers::ControlTimers(Control* control, QObject* parent) : QObject(parent), control_(control) {
  setObjectName(QStringLiteral("zrv_control_timers"));
}

bool ControlTimers::Start(int id, int milliseconds) {
  Stop(id);
  const int qtId = startTimer(std::max(0, milliseconds), Qt::PreciseTimer);
  if (qtId == 0) return false;
  by_id_.insert(id, qtId);
  by_qt_id_.insert(qtId, id);
  return true;
}

void ControlTimers::Stop(int id) {
  auto it = by_id_.find(id);
  if (it == by_id_.end()) return;
  killTimer(it.value());
  by_qt_id_.remove(it.value());
  by_id_.erase(it);
}

void ControlTimers::StopAll() {
  for (int qtId : std::as_const(by_qt_id_).keys()) killTimer(qtId);
  by_id_.clear();
  by_qt_id_.clear();
}

void ControlTimers::timerEvent(QTimerEvent* event) {
  auto it = by_qt_id_.find(event->timerId());
  if (it == by_qt_id_.end()) return;
  control_->DoTimer(it.value());
}

}  // namespace zrv::ui
