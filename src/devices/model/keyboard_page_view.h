#pragma once
// What the keyboard's model asks of the keyboard's page beyond DevicePageView. The page implements
// it and hands itself to the model; without a page (tests, a command-line front end) there is none.
//
// Called on the user-interface thread only.

#include <string>

namespace zrv::devices {

class KeyboardPageView {
 public:
  virtual ~KeyboardPageView() = default;

  // Puts the settings of the loaded profile on the page's controls (RefreshPage).
  virtual void RefreshKeyboardPage() = 0;
  // Dresses key button `index` (when it exists): tool-tip title and text, and whether its key-set
  // image is hidden (the key has its own function).
  virtual void SetKeyTip(int index, const std::string& title, const std::string& text, bool key_set_hidden) = 0;
};

}  // namespace zrv::devices
