#include "controls/device_key_button.h"

#include <QPainter>

#include <algorithm>

#include "ui/render.h"

namespace zrv::controls {

CDeviceKeyButtonUI::CDeviceKeyButtonUI(QWidget* parent) : ui::Button(parent) {}

void CDeviceKeyButtonUI::SetLight(quint32 colour, int intensity, bool on) {
  lightColour_ = colour & 0x00FFFFFFu;
  lightIntensity_ = std::clamp(intensity, 0, 255);
  lightOn_ = on;
}

void CDeviceKeyButtonUI::SetLightImage(const QString& image) {
  lightImage_ = image;
  Invalidate();
}

void CDeviceKeyButtonUI::SetKeySetImage(const QString& image) {
  keySetImage_ = image;
  Invalidate();
}

void CDeviceKeyButtonUI::SetKeySetHidden(bool hidden) {
  if (hidden == keySetHidden_) return;
  keySetHidden_ = hidden;
  Invalidate();
}

void CDeviceKeyButtonUI::SetUserToolTitle(const QString& title) {
  toolTitle_ = title;
  UpdateUserToolTip();
}

void CDeviceKeyButtonUI::SetUserToolText(const QString& text) {
  toolText_ = text;
  UpdateUserToolTip();
}

void CDeviceKeyButtonUI::UpdateUserToolTip() {
  if (toolTitle_.isEmpty() || toolText_.isEmpty()) {
    SetToolTip(toolTitle_.isEmpty() ? toolText_ : toolTitle_);
  } else {
    SetToolTip(toolTitle_ + u'\n' + toolText_);
  }
}

void CDeviceKeyButtonUI::SetAttribute(const QString& name, const QString& value) {
  if (name == u"lightimage") {
    SetLightImage(value);
  } else if (name == u"keysetimage") {
    SetKeySetImage(value);
  } else if (name == u"gmnametextcolor") {
    // Accepted for the skins that carry it; it has no effect.
  } else {
    ui::Button::SetAttribute(name, value);
  }
}

void CDeviceKeyButtonUI::PaintStatusImage(QPainter& painter) {
  ui::Button::PaintStatusImage(painter);
  if (lightOn_ && !lightImage_.isEmpty()) {
    ui::render::DrawImageString(painter, rect(), lightImage_, Zoom(), lightColour_, lightIntensity_, true);
  }
  if (!keySetHidden_ && !keySetImage_.isEmpty()) {
    ui::render::DrawImageString(painter, rect(), keySetImage_, Zoom(), 0, 0, false);
  }
}

void CDeviceKeyButtonUI::PaintText(QPainter& painter) {
  if (HasImages()) {
    ui::Button::PaintText(painter);
    return;
  }
  // Without state images the base leaves the text to the platform button, which is not drawn.
  const QString text = ShownText();
  if (text.isEmpty()) return;
  const QMargins p = GetTextPadding();
  const QRect r = rect().marginsRemoved(QMargins(Scale(p.left()), Scale(p.top()), Scale(p.right()), Scale(p.bottom())));
  ui::render::DrawText(painter, r, text, StatusTextColor(), font(), static_cast<int>(GetTextAlign()));
}

}  // namespace zrv::controls
