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
  byId_.insert(id, qtId);
  byQtId_.insert(qtId, id);
  return true;
}

void ControlTimers::Stop(int id) {
  auto it = byId_.find(id);
  if (it == byId_.end()) return;
  killTimer(it.value());
  byQtId_.remove(it.value());
  byId_.erase(it);
}

void ControlTimers::StopAll() {
  for (int qtId : std::as_const(byQtId_).keys()) killTimer(qtId);
  byId_.clear();
  byQtId_.clear();
}

void ControlTimers::timerEvent(QTimerEvent* event) {
  auto it = byQtId_.find(event->timerId());
  if (it == byQtId_.end()) return;
  control_->DoTimer(it.value());
}

}  // namespace zrv::ui
