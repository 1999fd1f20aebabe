#pragma once
// What the keyboard's model asks of the keyboard's page beyond DevicePageView. The page implements
// it and hands itself to the model; without a page (tests, a command-line front end) there is none.
//
// Called on the user-interface thread only.

namespace zrv::devices {

class KeyboardPageView {
 public:
  virtual ~KeyboardPageView() = default;

  // Puts the settings of the loaded profile on the page's controls (RefreshPage).
  virtual void RefreshKeyboardPage() = 0;
};

}  // namespace zrv::devices
