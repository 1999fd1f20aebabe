#include "controls/device_key_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <utility>

#include "controls/key_layer_cache.h"
#include "ui/render.h"

namespace zrv::controls {

CDeviceKeyButtonUI::CDeviceKeyButtonUI(QWidget* parent) : ui::Button(parent) {}

void CDeviceKeyButtonUI::SetLight(quint32 colour, int intensity, bool on) {
  colour &= 0x00FFFFFFu;
  intensity = std::clamp(intensity, 0, 255);
  if (colour == light_colour_ && intensity == light_intensity_ && on == light_on_) return;
  light_colour_ = colour;
  light_intensity_ = intensity;
  light_on_ = on;
  light_changed_ = true;
}

bool CDeviceKeyButtonUI::RedrawLight() {
  if (!light_changed_) return false;
  light_changed_ = false;
  Invalidate();  // this button's rectangle only, not the picture
  return true;
}

void CDeviceKeyButtonUI::SetLightImage(const QString& image) {
  light_image_ = image;
  light_image_id_ = KeyLayerCache::ImageId(image);
  Invalidate();
}

void CDeviceKeyButtonUI::SetKeySetImage(const QString& image) {
  key_set_image_ = image;
  Invalidate();
}

void CDeviceKeyButtonUI::SetKeySetHidden(bool hidden) {
  if (hidden == key_set_hidden_) return;
  key_set_hidden_ = hidden;
  Invalidate();
}

void CDeviceKeyButtonUI::SetUserToolTitle(const QString& title) {
  tool_title_ = title;
  UpdateUserToolTip();
}

void CDeviceKeyButtonUI::SetUserToolText(const QString& text) {
  tool_text_ = text;
  UpdateUserToolTip();
}

void CDeviceKeyButtonUI::UpdateUserToolTip() {
  if (tool_title_.isEmpty() || tool_text_.isEmpty()) {
    SetToolTip(tool_title_.isEmpty() ? tool_text_ : tool_title_);
  } else {
    SetToolTip(tool_title_ + u'\n' + tool_text_);
  }
}

void CDeviceKeyButtonUI::SetAttribute(const QString& name, const QString& value) {
  if (name == u"lightimage") {
    SetLightImage(value);
  } else if (name == u"keysetimage") {
    SetKeySetImage(value);
  } else if (name == u"borderround") {
    border_round_ = AttrSize(name, value);
    ui::Button::SetAttribute(name, value);
  } else if (name == u"gmnametextcolor") {
    // Accepted for the skins that carry it; it has no effect.
  } else {
    ui::Button::SetAttribute(name, value);
  }
}

void CDeviceKeyButtonUI::PaintBkColor(QPainter& painter) {
  if (border_round_.isEmpty() || GetBkColor() == 0) {
    ui::Button::PaintBkColor(painter);
    return;
  }
  // The same rounded fill as the library's, from the layer cache: every key repaints it per frame.
  KeyLayerCache::Instance().DrawRoundedFill(painter, rect(), GetBkColor(),
                                            QSize(Scale(border_round_.width()), Scale(border_round_.height())));
}

bool CDeviceKeyButtonUI::ShowsLightOnly() const {
  // The members first; the state image is chosen last.
  return GetBkColor() == 0 && !HasBorder() && (key_set_hidden_ || key_set_image_.isEmpty()) && GetBkImage().isEmpty() &&
         GetTextId().isEmpty() && GetForeImage().isEmpty() && StatusImage().isEmpty();
}

void CDeviceKeyButtonUI::DrawLight(QPainter& painter) const {
  if (!light_on_ || light_image_.isEmpty()) return;
  KeyLayerCache::Instance().DrawLight(painter, rect(), light_image_id_, light_image_, Zoom(), light_colour_,
                                      light_intensity_);
}

void CDeviceKeyButtonUI::PaintBackground(QPainter& painter) {
  painting_light_only_ = ShowsLightOnly();
  if (painting_light_only_) {
    DrawLight(painter);
    return;
  }
  ui::Button::PaintBackground(painter);
}

void CDeviceKeyButtonUI::PaintOverlay(QPainter& painter) {
  // Every paint (the container's and the button's own) makes the background pass first.
  if (!painting_light_only_) ui::Button::PaintOverlay(painter);
}

void CDeviceKeyButtonUI::PaintStatusImage(QPainter& painter) {
  ui::Button::PaintStatusImage(painter);
  DrawLight(painter);
  if (!key_set_hidden_ && !key_set_image_.isEmpty()) {
    ui::render::DrawImageString(painter, rect(), key_set_image_, Zoom(), 0, 0, false);
  }
}

void CDeviceKeyButtonUI::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (!isEnabled() || event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  QPointer<QWidget> alive(this);
  QPushButton::mousePressEvent(event);  // down and grabbing: the release that follows clicks
  if (!alive) return;
  SendNotify(QString::fromLatin1(ui::notify::kDbClick), 0, 0, mapTo(window(), event->position().toPoint()));
  if (alive) Invalidate();
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
