#pragma once
// CSkinFrame: the drop-down under the title bar's skin button that changes the main window's
// background: images of the skin, plain colours, the reset, or an image file of the user's. It
// broadcasts each choice to the skin observer (skin_observer.h); the chosen skin images are kept
// in "main.ini". A popup: a click anywhere outside closes it, and it deletes itself once closed.

#include <QString>

#include "ui/window.h"

namespace zrv::app {

class CSkinFrame : public ui::WindowBase {
  Q_OBJECT

 public:
  // Opens the frame under `button` (its right edge at the button's right edge, its top at the
  // button's bottom) at the parent's zoom; null when the layout cannot be built.
  static CSkinFrame* Open(ui::WindowBase* parent, ui::Control* button);

  QString GetSkinFile() const override { return QStringLiteral("XML/skin.xml"); }
  QString GetWindowClassName() const override { return QStringLiteral("UISkinFrame"); }
  void OnNotify(ui::Notify& msg) override;
  void OnFinalMessage() override { deleteLater(); }

  // The file dialog's filter of the custom image.
  static constexpr const char* kCustomFilter = "(*.png)|*.png|(*.*)|*.*||";

 private:
  CSkinFrame() = default;
  void ShowPage(int page);
};

}  // namespace zrv::app
