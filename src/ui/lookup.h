#pragma once
// Lookups by control name (objectName) within a subtree. Window-wide: WindowBase::FindControl.

#include <QList>
#include <QString>

#include "ui/control.h"

namespace zrv::ui {

// The first control named `name` below `parent` (parent itself excluded), or null.
Control* FindSubControlByName(const Control* parent, const QString& name);
template <class T>
T* FindSubControlByName(const Control* parent, const QString& name) {
  return dynamic_cast<T*>(FindSubControlByName(parent, name));
}
// Every control below `parent` whose GetClass() is `className`, in tree order.
QList<Control*> FindSubControlsByClass(const Control* parent, const QString& className);
// Every control below a widget, in tree order.
QList<Control*> SubControls(const QWidget* widget);

// A control name "prefix_N" split at its last underscore: prefix includes the underscore; the
// number is the rest read as decimal (0 when it is not a number). No underscore: empty prefix.
struct NameNumber {
  QString prefix;
  int number = 0;
};
NameNumber SplitNameNumber(const QString& name);

}  // namespace zrv::ui
