#pragma once
// ColorPalette: a hue/saturation plane over a brightness bar. "colorchanged" when the user has
// picked a colour (on release), wParam = the colour (0xAARRGGBB).

#include <QImage>
#include <QWidget>

#include "ui/control_widget.h"

namespace zrv::ui {

class ColorPalette : public ControlWidget<QWidget> {
  Q_OBJECT
 public:
  explicit ColorPalette(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ColorPalette"); }

  // Silent. The alpha of the colour is kept as given; the picker works on hue, saturation, value.
  void SetSelectColor(Argb color);
  Argb GetSelectColor() const;

  void SetAttribute(const QString& name, const QString& value) override;
  void PaintStatusImage(QPainter& painter) override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRect PlaneRect() const;
  QRect BarRect() const;
  void PickAt(const QPoint& pos);
  void SetFromHsv();
  Argb color_ = 0xFFFF0000u;  // exactly what was set or picked
  Argb press_color_ = 0;
  int hue_ = 0;    // 0..359
  int sat_ = 0;    // 0..255
  int val_ = 255;  // 0..255
  quint8 alpha_ = 0xFF;
  int pallet_height_ = 0;
  int bar_height_ = 10;
  QString thumb_image_;
  enum class Drag { kNone, kPlane, kBar } drag_ = Drag::kNone;
  QImage plane_cache_;
};

}  // namespace zrv::ui
