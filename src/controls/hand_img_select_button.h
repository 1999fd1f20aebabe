#pragma once
// CHandImgSelectButtonUI ("HandImgSelectButton"): a view on a picture larger than the control
// that the user pans by dragging; the picture follows the pointer and stops at its left and top
// edges. It raises "msenter" and "msleave", never "click".

#include <QRect>

#include "ui/button.h"

class QMouseEvent;

namespace zrv::controls {

class CHandImgSelectButtonUI : public ui::Button {
  Q_OBJECT
 public:
  explicit CHandImgSelectButtonUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("HandImgSelectButton"); }

  // Loads the picture and shows its top-left corner at the control's size. A picture that cannot
  // be loaded changes nothing.
  void SetHandImage(const QString& file);
  QString GetHandImage() const { return hand_image_; }
  // The image string drawn: the file itself while the whole picture fits, else its view window.
  QString GetShownImage() const { return shown_image_; }
  QSize GetImageSize() const { return image_size_; }
  // The part of the picture shown, in picture pixels; right and bottom exclusive.
  QRect GetView() const { return QRect(QPoint(view_left_, view_top_), QPoint(view_right_ - 1, view_bottom_ - 1)); }
  bool IsDragging() const { return dragging_; }

  void SetAttribute(const QString& name, const QString& value) override;
  // The state image, then the shown image over the whole control.
  void PaintStatusImage(QPainter& painter) override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool HasImages() const override;

 private:
  QString SourceString() const;
  // One axis of a pan: moves [low, high) against the pointer's move from `last` to `now`.
  static void Pan(int last, int now, int extent, int& low, int& high);

  QString hand_image_;
  QString shown_image_;
  QSize image_size_{0, 0};
  int view_left_ = 0, view_top_ = 0, view_right_ = 0, view_bottom_ = 0;
  bool dragging_ = false;
  bool captured_ = false;
  QPoint last_;
};

}  // namespace zrv::controls
