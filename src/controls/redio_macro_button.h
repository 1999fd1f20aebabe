#pragma once
// CRedioMacroButtonUI ("RedioMacroButton"): the library's button that also accepts "redioimage"
// (kept, not drawn), so layouts that carry it build.

#include "ui/button.h"

namespace zrv::controls {

class CRedioMacroButtonUI : public ui::Button {
  Q_OBJECT
 public:
  explicit CRedioMacroButtonUI(QWidget* parent = nullptr) : ui::Button(parent) {}
  QString GetClass() const override { return QStringLiteral("RedioMacroButton"); }

  QString GetRedioImage() const { return redio_image_; }
  void SetAttribute(const QString& name, const QString& value) override {
    if (name == u"redioimage") {
      redio_image_ = value;
    } else {
      ui::Button::SetAttribute(name, value);
    }
  }

 private:
  QString redio_image_;
};

}  // namespace zrv::controls
