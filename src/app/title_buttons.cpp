#include "app/title_buttons.h"

#include "ui/window.h"

namespace zrv::app {

void TitleButtons::Find(ui::WindowBase& window) {
  window_ = &window;
  max_button_ = window.FindControl(QStringLiteral("maxbtn"));
  restore_button_ = window.FindControl(QStringLiteral("restorebtn"));
}

bool TitleButtons::OnClick(const QString& name) {
  if (window_ == nullptr) return false;
  if (name == u"minbtn") {
    window_->showMinimized();
  } else if (name == u"maxbtn") {
    ShowMaximised(true);
  } else if (name == u"restorebtn") {
    ShowMaximised(false);
  } else {
    return false;
  }
  return true;
}

void TitleButtons::ShowMaximised(bool maximised) {
  if (window_ == nullptr) return;
  if (maximised) {
    window_->showMaximized();
  } else {
    window_->showNormal();
  }
  if (max_button_ != nullptr) max_button_->SetVisible(!maximised);
  if (restore_button_ != nullptr) restore_button_->SetVisible(maximised);
}

}  // namespace zrv::app
