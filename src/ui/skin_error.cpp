#include "ui/skin_error.h"

namespace zrv::ui {

QString SkinError::ToString() const {
  if (line > 0) return QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message);
  if (!file.isEmpty()) return QStringLiteral("%1: %2").arg(file, message);
  return message;
}

}  // namespace zrv::ui
