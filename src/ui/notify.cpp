#include "ui/notify.h"

#include "ui/control.h"

namespace zrv::ui {

QString Notify::SenderName() const { return sender ? sender->GetName() : QString(); }

}  // namespace zrv::ui
