#include "ui/lookup.h"

namespace zrv::ui {

Control* FindSubControlByName(const Control* parent, const QString& name) {
  if (!parent || name.isEmpty()) return nullptr;
  // Tree order: the first match in a depth-first walk.
  const QList<QWidget*> found = parent->Widget()->findChildren<QWidget*>(name);
  for (QWidget* w : found) {
    if (Control* c = Control::FromWidget(w)) return c;
  }
  return nullptr;
}

QList<Control*> FindSubControlsByClass(const Control* parent, const QString& className) {
  QList<Control*> out;
  if (!parent) return out;
  for (Control* c : SubControls(parent->Widget())) {
    if (c->GetClass() == className) out.append(c);
  }
  return out;
}

QList<Control*> SubControls(const QWidget* widget) {
  QList<Control*> out;
  if (!widget) return out;
  for (QWidget* w : widget->findChildren<QWidget*>()) {
    if (Control* c = Control::FromWidget(w)) out.append(c);
  }
  return out;
}

NameNumber SplitNameNumber(const QString& name) {
  NameNumber out;
  const qsizetype at = name.lastIndexOf(u'_');
  if (at < 0) return out;
  out.prefix = name.left(at + 1);
  bool ok = false;
  const int n = name.mid(at + 1).toInt(&ok, 10);
  out.number = ok ? n : 0;
  return out;
}

}  // namespace zrv::ui
