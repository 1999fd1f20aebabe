#include "controls/circle_progress.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

namespace zrv::controls {
namespace {

constexpr int kSpinStepMs = 40;  // 25 frames a second
constexpr int kSpinStepDegrees = 12;
constexpr int kSpinArcDegrees = 100;

QColor ToColor(ui::Argb argb) { return QColor::fromRgba(argb); }

}  // namespace

CCircleProgressUI::CCircleProgressUI(QWidget* parent) : ui::ControlWidget<QWidget>(parent) {
  spin_timer_.setInterval(kSpinStepMs);
  connect(&spin_timer_, &QTimer::timeout, this, [this] {
    angle_ = (angle_ + kSpinStepDegrees) % 360;
    update();
  });
}

void CCircleProgressUI::SetValue(int value) {
  value = std::clamp(value, 0, 100);
  if (value == value_) return;
  value_ = value;
  update();
}

void CCircleProgressUI::SetSpin(bool spin) {
  if (spin == spin_) return;
  spin_ = spin;
  UpdateTimer();
  update();
}

void CCircleProgressUI::SetAttribute(const QString& name, const QString& value) {
  if (name == u"value") {
    SetValue(AttrInt(name, value));
  } else if (name == u"spin") {
    SetSpin(AttrBool(name, value));
  } else if (name == u"ringcolor") {
    ring_color_ = AttrColor(name, value);
  } else if (name == u"forecolor") {
    fore_color_ = AttrColor(name, value);
  } else if (name == u"ringwidth") {
    ring_width_ = std::max(1, AttrInt(name, value, ring_width_));
  } else {
    ui::ControlWidget<QWidget>::SetAttribute(name, value);
  }
}

void CCircleProgressUI::PaintStatusImage(QPainter& painter) {
  const qreal pen = Scale(ring_width_);
  const qreal side = std::min(width(), height()) - pen;
  if (side <= 0) return;
  const QRectF ring((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(ToColor(ring_color_), pen));
  painter.drawEllipse(ring);
  QPen arc(ToColor(fore_color_), pen);
  arc.setCapStyle(Qt::RoundCap);
  painter.setPen(arc);
  // Qt counts angles in 1/16 degree, counter-clockwise from three o'clock; ours run clockwise
  // from twelve.
  if (spin_) {
    painter.drawArc(ring, (90 - angle_) * 16, -kSpinArcDegrees * 16);
  } else if (value_ > 0) {
    painter.drawArc(ring, 90 * 16, -value_ * 360 * 16 / 100);
  }
}

void CCircleProgressUI::showEvent(QShowEvent* event) {
  ui::ControlWidget<QWidget>::showEvent(event);
  UpdateTimer();
}

void CCircleProgressUI::hideEvent(QHideEvent* event) {
  ui::ControlWidget<QWidget>::hideEvent(event);
  UpdateTimer();
}

void CCircleProgressUI::UpdateTimer() {
  if (spin_ && isVisible()) {
    spin_timer_.start();
  } else {
    spin_timer_.stop();
  }
}

}  // namespace zrv::controls
