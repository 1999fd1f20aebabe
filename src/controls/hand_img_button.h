#pragma once
// CHandImgButtonUI ("HandImgButton"): a button with an image ("handimage") drawn over its state
// image. It tracks press, release and pointer moves itself: a release inside after a press inside
// is a click; hovering raises "msenter" and "msleave".

#include "ui/button.h"

class QMouseEvent;

namespace zrv::controls {

class CHandImgButtonUI : public ui::Button {
  Q_OBJECT
 public:
  explicit CHandImgButtonUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("HandImgButton"); }

  QString GetHandImage() const { return hand_image_; }
  void SetHandImage(const QString& image);
  bool IsCaptured() const { return captured_; }

  void SetAttribute(const QString& name, const QString& value) override;
  // The state image, then the hand image over the whole button.
  void PaintStatusImage(QPainter& painter) override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  // The hand image makes the button one the skin draws (not a platform push button).
  bool HasImages() const override;

 private:
  QString hand_image_;
  bool captured_ = false;
};

}  // namespace zrv::controls
