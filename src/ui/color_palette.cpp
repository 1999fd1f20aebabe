#include "ui/color_palette.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "ui/render.h"

namespace zrv::ui {

ColorPalette::ColorPalette(QWidget* parent) : ControlWidget<QWidget>(parent) {
  setCursor(Qt::CrossCursor);
  SetSelectColor(color_);
}

void ColorPalette::SetSelectColor(Argb color) {
  color_ = color;
  const QColor c = QColor::fromRgba(color);
  alpha_ = static_cast<quint8>(c.alpha());
  int h = 0, s = 0, v = 0;
  c.getHsv(&h, &s, &v);
  if (h >= 0) hue_ = h;  // grey keeps the hue the plane shows
  sat_ = s;
  val_ = v;
  Invalidate();
}

Argb ColorPalette::GetSelectColor() const { return color_; }

void ColorPalette::SetFromHsv() { color_ = QColor::fromHsv(hue_, sat_, val_, alpha_).rgba(); }

QRect ColorPalette::PlaneRect() const {
  const int bar = Scale(bar_height_);
  const int gap = bar > 0 ? Scale(4) : 0;
  int plane = pallet_height_ > 0 ? Scale(pallet_height_) : height() - bar - gap;
  plane = std::clamp(plane, 0, height());
  return QRect(0, 0, width(), plane);
}

QRect ColorPalette::BarRect() const {
  const QRect plane = PlaneRect();
  const int bar = Scale(bar_height_);
  const int top = std::min(height() - bar, plane.bottom() + 1 + Scale(4));
  return QRect(0, std::max(0, top), width(), bar);
}

void ColorPalette::PickAt(const QPoint& pos) {
  if (drag_ == Drag::kPlane) {
    const QRect r = PlaneRect();
    if (r.width() <= 1 || r.height() <= 1) return;
    const double fx = std::clamp(static_cast<double>(pos.x() - r.left()) / (r.width() - 1), 0.0, 1.0);
    const double fy = std::clamp(static_cast<double>(pos.y() - r.top()) / (r.height() - 1), 0.0, 1.0);
    hue_ = std::clamp(qRound(fx * 359), 0, 359);
    sat_ = std::clamp(qRound((1.0 - fy) * 255), 0, 255);
    if (val_ == 0) val_ = 255;  // picking a hue on a black colour should show it
  } else if (drag_ == Drag::kBar) {
    const QRect r = BarRect();
    if (r.width() <= 1) return;
    const double fx = std::clamp(static_cast<double>(pos.x() - r.left()) / (r.width() - 1), 0.0, 1.0);
    val_ = std::clamp(qRound(fx * 255), 0, 255);
  } else {
    return;
  }
  SetFromHsv();
  Invalidate();
}

void ColorPalette::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  press_color_ = color_;
  if (PlaneRect().contains(event->pos()))
    drag_ = Drag::kPlane;
  else if (BarRect().contains(event->pos()))
    drag_ = Drag::kBar;
  else
    return;
  PickAt(event->pos());
}

void ColorPalette::mouseMoveEvent(QMouseEvent* event) {
  if (drag_ != Drag::kNone) PickAt(event->pos());
}

void ColorPalette::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || drag_ == Drag::kNone) return;
  PickAt(event->pos());
  drag_ = Drag::kNone;
  if (color_ != press_color_) SendNotify(QString::fromLatin1(notify::kColorChanged), color_);
}

void ColorPalette::SetAttribute(const QString& name, const QString& value) {
  if (name == u"selectcolor")
    SetSelectColor(AttrColor(name, value));
  else if (name == u"palletheight")
    pallet_height_ = AttrInt(name, value);
  else if (name == u"barheight")
    bar_height_ = AttrInt(name, value, 10);
  else if (name == u"thumbimage")
    thumb_image_ = value;
  else
    ControlWidget<QWidget>::SetAttribute(name, value);
  Invalidate();
}

void ColorPalette::PaintStatusImage(QPainter& painter) {
  const QRect plane = PlaneRect();
  if (plane.width() > 1 && plane.height() > 1) {
    if (plane_cache_.size() != plane.size()) {
      plane_cache_ = QImage(plane.size(), QImage::Format_RGB32);
      for (int y = 0; y < plane.height(); ++y) {
        const int s = qRound((1.0 - static_cast<double>(y) / (plane.height() - 1)) * 255);
        auto* line = reinterpret_cast<QRgb*>(plane_cache_.scanLine(y));
        for (int x = 0; x < plane.width(); ++x) {
          const int h = qRound(static_cast<double>(x) / (plane.width() - 1) * 359);
          line[x] = QColor::fromHsv(h, s, 255).rgb();
        }
      }
    }
    painter.drawImage(plane.topLeft(), plane_cache_);
    const QPoint mark(plane.left() + qRound(hue_ / 359.0 * (plane.width() - 1)),
                      plane.top() + qRound((1.0 - sat_ / 255.0) * (plane.height() - 1)));
    const int r = Scale(5);
    if (!thumb_image_.isEmpty()) {
      render::DrawImageString(painter, QRect(mark - QPoint(r, r), QSize(2 * r, 2 * r)), thumb_image_, Zoom());
    } else {
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setBrush(Qt::NoBrush);
      painter.setPen(QPen(Qt::black, 2));
      painter.drawEllipse(mark, r, r);
      painter.setPen(QPen(Qt::white, 1));
      painter.drawEllipse(mark, r, r);
    }
  }
  const QRect bar = BarRect();
  if (bar.height() > 0 && bar.width() > 1) {
    QLinearGradient g(bar.topLeft(), bar.topRight());
    g.setColorAt(0, Qt::black);
    g.setColorAt(1, QColor::fromHsv(hue_, sat_, 255));
    painter.fillRect(bar, g);
    const int x = bar.left() + qRound(val_ / 255.0 * (bar.width() - 1));
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(x, bar.top(), x, bar.bottom());
  }
}

}  // namespace zrv::ui
