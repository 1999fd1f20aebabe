#include "controls/hand_img_select_button.h"

#include <QMouseEvent>

#include "controls/hand_image.h"

namespace zrv::controls {

CHandImgSelectButtonUI::CHandImgSelectButtonUI(QWidget* parent) : ui::Button(parent) { SetHoverNotify(true); }

QString CHandImgSelectButtonUI::SourceString() const {
  return QStringLiteral("file='%1' source='%2,%3,%4,%5'")
      .arg(hand_image_)
      .arg(view_left_)
      .arg(view_top_)
      .arg(view_right_)
      .arg(view_bottom_);
}

void CHandImgSelectButtonUI::SetHandImage(const QString& file) {
  const QImage image = LoadHandImage(file);
  if (image.isNull()) return;
  hand_image_ = file;
  image_size_ = image.size();
  view_left_ = 0;
  view_top_ = 0;
  view_right_ = width();
  view_bottom_ = height();
  const bool fits = width() >= image_size_.width() && height() >= image_size_.height();
  shown_image_ = fits ? hand_image_ : SourceString();
  Invalidate();
}

void CHandImgSelectButtonUI::SetAttribute(const QString& name, const QString& value) {
  if (name == u"handimage") {
    SetHandImage(value);
  } else if (name == u"cursor") {
    // The platform's standard pointers by these names; any other value changes nothing.
    static const QStringList kCursors = {"arrow",    "ibeam",    "wait",   "cross",  "uparrow", "size", "icon",
                                         "sizenwse", "sizenesw", "sizewe", "sizens", "sizeall", "no",   "hand"};
    if (kCursors.contains(value)) ui::Button::SetAttribute(name, value);
  } else {
    ui::Button::SetAttribute(name, value);
  }
}

bool CHandImgSelectButtonUI::HasImages() const { return !shown_image_.isEmpty() || ui::Button::HasImages(); }

void CHandImgSelectButtonUI::PaintStatusImage(QPainter& painter) {
  ui::Button::PaintStatusImage(painter);
  if (!shown_image_.isEmpty()) DrawHandImage(painter, rect(), shown_image_, Zoom());
}

void CHandImgSelectButtonUI::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  if (isEnabled() && rect().contains(event->position().toPoint())) {
    setDown(true);
    captured_ = true;
    last_ = event->position().toPoint();
    update();
  }
  dragging_ = true;
}

void CHandImgSelectButtonUI::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CHandImgSelectButtonUI::Pan(int last, int now, int extent, int& low, int& high) {
  if (now < last) {
    // Towards the start: more of the far side comes in, until the view's end has reached the
    // picture's. The last step may pass it; drawing cuts the window to the picture.
    if (high < extent) {
      low += last - now;
      high += last - now;
    }
  } else if (low > 0) {
    // Towards the end: back to the picture's start at the most, keeping the view's size.
    const int d = now - last;
    if (d < low) {
      low -= d;
      high -= d;
    } else {
      high -= low;
      low = 0;
    }
  }
}

void CHandImgSelectButtonUI::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  const QPoint p = event->position().toPoint();
  if (dragging_) {
    Pan(last_.x(), p.x(), image_size_.width(), view_left_, view_right_);
    Pan(last_.y(), p.y(), image_size_.height(), view_top_, view_bottom_);
    last_ = p;
    if (!hand_image_.isEmpty()) shown_image_ = SourceString();
  }
  if (captured_) {
    setDown(rect().contains(p));
    update();
  }
}

void CHandImgSelectButtonUI::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  if (captured_) {
    setDown(false);
    captured_ = false;
    update();
  }
  dragging_ = false;
}

}  // namespace zrv::controls
