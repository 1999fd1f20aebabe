#pragma once
// What the keyboard's model asks of the keyboard's page beyond DevicePageView. The page implements
// it and hands itself to the model; without a page (tests, a command-line front end) there is none.
//
// Called on the user-interface thread only.

#include <cstdint>
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
  // Gives logo position `index` (0-14, left to right) or strip position `index` (0-5) its light,
  // as DevicePageView::PaintKey does for a key.
  virtual void PaintLogoLight(int index, uint32_t colour, int intensity) = 0;
  virtual void PaintStripLight(int index, uint32_t colour, int intensity) = 0;
  // Whether the keyboard's picture is on screen (the window shown, the keyboard's page chosen).
  virtual bool PictureShown() const { return true; }
};

}  // namespace zrv::devices
