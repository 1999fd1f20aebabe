#include "controls/hand_img_button.h"

#include <QMouseEvent>
#include <QPointer>

#include "controls/hand_image.h"

namespace zrv::controls {

CHandImgButtonUI::CHandImgButtonUI(QWidget* parent) : ui::Button(parent) { SetHoverNotify(true); }

void CHandImgButtonUI::SetHandImage(const QString& image) {
  hand_image_ = image;
  Invalidate();
}

void CHandImgButtonUI::SetAttribute(const QString& name, const QString& value) {
  if (name == u"handimage") {
    SetHandImage(value);
  } else {
    ui::Button::SetAttribute(name, value);
  }
}

bool CHandImgButtonUI::HasImages() const { return !hand_image_.isEmpty() || ui::Button::HasImages(); }

void CHandImgButtonUI::PaintStatusImage(QPainter& painter) {
  ui::Button::PaintStatusImage(painter);
  if (!hand_image_.isEmpty()) DrawHandImage(painter, rect(), hand_image_, Zoom());
}

// Press, release and moves are handled here and not by the push button, so that pushed and
// captured follow the pointer exactly and only a release inside clicks.
void CHandImgButtonUI::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (!isEnabled() || event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  setDown(true);
  captured_ = true;
  update();
}

void CHandImgButtonUI::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CHandImgButtonUI::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (!captured_ || event->button() != Qt::LeftButton) return;
  if (rect().contains(event->position().toPoint())) {
    QPointer<QWidget> alive(this);
    Activate();  // "click"
    if (!alive) return;
  }
  setDown(false);
  captured_ = false;
  update();
}

void CHandImgButtonUI::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!captured_) return;
  setDown(rect().contains(event->position().toPoint()));
  update();
}

}  // namespace zrv::controls
