#pragma once
// The minimise, maximise and restore buttons ("minbtn", "maxbtn", "restorebtn") of a secondary
// window's title bar: the maximise and restore buttons take turns as the window changes state.

#include <QString>

namespace zrv::ui {
class Control;
class WindowBase;
}  // namespace zrv::ui

namespace zrv::app {

class TitleButtons {
 public:
  // Finds the buttons of `window` (each may be missing); the window outlives this object.
  void Find(ui::WindowBase& window);
  // A click on the control named `name`: true when it was one of the three buttons (and done).
  bool OnClick(const QString& name);
  void ShowMaximised(bool maximised);

 private:
  ui::WindowBase* window_ = nullptr;
  ui::Control* max_button_ = nullptr;
  ui::Control* restore_button_ = nullptr;
};

}  // namespace zrv::app
