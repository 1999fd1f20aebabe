#pragma once
// What a device model asks of the page that shows it. The page implements it and hands itself to
// the model; a model without a page (tests, a command-line front end) simply has none.
//
// Called on the user-interface thread only: from the repaint timer and from the editors.

#include <cstdint>
#include <string>

#include "devices/model/function_mode.h"

namespace zrv::devices {

class DevicePageView {
 public:
  virtual ~DevicePageView() = default;

  // Gives key button `index` its light: colour 0x00BBGGRR at intensity 0-255, when the button
  // exists and is visible. Does not repaint; the repaint timer redraws the picture afterwards.
  virtual void PaintKey(int index, uint32_t colour, int intensity) = 0;
  // Selects the pages of the two function containers (-1: leave that container alone).
  virtual void ShowFunctionPages(const FunctionPages& pages) = 0;

  // The text of language id `text_id` in the page's language (the id itself without a page).
  virtual std::string TranslateText(const std::string& text_id) { return text_id; }
  // Shows `caption`, the caption of key `index`'s assignment as the user reads it, where the kind's
  // page lists its keys (the mouse's key-information list). Nothing by default.
  virtual void ShowKeyCaption(int index, const std::string& caption) {
    (void)index;
    (void)caption;
  }
};

}  // namespace zrv::devices
