#include "ui/slider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "ui/render.h"

namespace zrv::ui {

namespace {

// Fraction of the range that `value` covers.
double Fraction(int value, int minimum, int maximum) {
  if (maximum <= minimum) return 0.0;
  return std::clamp(static_cast<double>(value - minimum) / (maximum - minimum), 0.0, 1.0);
}

// The part of rect from the start up to the fraction (left for horizontal, bottom for vertical).
QRect FilledPart(const QRect& rect, double fraction, bool horizontal) {
  if (horizontal) return QRect(rect.left(), rect.top(), qRound(rect.width() * fraction), rect.height());
  const int h = qRound(rect.height() * fraction);
  return QRect(rect.left(), rect.bottom() + 1 - h, rect.width(), h);
}

void PaintFill(QPainter& painter, Control* c, const QRect& part, const QString& image, Argb color) {
  if (part.isEmpty()) return;
  painter.save();
  painter.setClipRect(part);
  if (!image.isEmpty())
    c->DrawImage(painter, image);
  else if (color)
    render::DrawColor(painter, part, color);
  painter.restore();
}

}  // namespace

Slider::Slider(QWidget* parent) : ControlWidget<QSlider>(parent) {
  setOrientation(Qt::Horizontal);
  setRange(0, 100);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QAbstractSlider::sliderPressed, this, [this] { press_value_ = value(); });
  connect(this, &QAbstractSlider::sliderMoved, this,
          [this](int v) { SendNotify(QString::fromLatin1(notify::kMoveValueChanged), v); });
  connect(this, &QAbstractSlider::sliderReleased, this, [this] {
    if (value() != press_value_) SendNotify(QString::fromLatin1(notify::kValueChanged), value());
  });
  // Keys and the wheel: actionTriggered comes just before the value is applied.
  connect(this, &QAbstractSlider::actionTriggered, this, [this](int) {
    if (isSliderDown()) return;
    in_action_ = true;
    action_old_ = value();
  });
  connect(this, &QAbstractSlider::valueChanged, this, [this](int v) {
    if (!in_action_) return;
    in_action_ = false;
    if (v != action_old_) SendNotify(QString::fromLatin1(notify::kValueChanged), v);
  });
}

void Slider::SetMinValue(int v) {
  in_action_ = false;
  setMinimum(v);
}

void Slider::SetMaxValue(int v) {
  in_action_ = false;
  setMaximum(v);
}

void Slider::SetValue(int v) {
  in_action_ = false;
  setValue(v);
}

void Slider::SetThumbImage(const QString& image) {
  thumb_image_ = image;
  Invalidate();
}

void Slider::SetThumbHotImage(const QString& image) {
  thumb_hot_image_ = image;
  Invalidate();
}

void Slider::SetThumbPushedImage(const QString& image) {
  thumb_pushed_image_ = image;
  Invalidate();
}

void Slider::SetThumbSize(const QSize& size) {
  thumb_size_ = size;
  Invalidate();
}

void Slider::SetAttribute(const QString& name, const QString& value) {
  if (name == u"min")
    SetMinValue(AttrInt(name, value));
  else if (name == u"max")
    SetMaxValue(AttrInt(name, value, 100));
  else if (name == u"value")
    SetValue(AttrInt(name, value));
  else if (name == u"step")
    setPageStep(std::max(1, AttrInt(name, value, 1)));
  else if (name == u"hor")
    setOrientation(AttrBool(name, value) ? Qt::Horizontal : Qt::Vertical);
  else if (name == u"thumbimage")
    SetThumbImage(value);
  else if (name == u"thumbhotimage")
    SetThumbHotImage(value);
  else if (name == u"thumbpushedimage")
    SetThumbPushedImage(value);
  else if (name == u"thumbsize")
    SetThumbSize(AttrSize(name, value));
  else if (name == u"forecolor")
    fore_color_ = AttrColor(name, value);
  else
    ControlWidget<QSlider>::SetAttribute(name, value);
}

bool Slider::PaintsItself() const {
  return !thumb_image_.isEmpty() || !GetForeImage().isEmpty() || fore_color_ != 0 || !GetBkImage().isEmpty();
}

QRect Slider::ThumbRect() const {
  const bool horizontal = orientation() == Qt::Horizontal;
  QSize size(Scale(thumb_size_.width()), Scale(thumb_size_.height()));
  if (size.width() <= 0) size.setWidth(horizontal ? std::min(height(), Scale(16)) : width());
  if (size.height() <= 0) size.setHeight(horizontal ? height() : std::min(width(), Scale(16)));
  const double f = Fraction(sliderPosition(), minimum(), maximum());
  if (horizontal) {
    const int x = qRound((width() - size.width()) * f);
    return QRect(QPoint(x, (height() - size.height()) / 2), size);
  }
  const int y = height() - size.height() - qRound((height() - size.height()) * f);
  return QRect(QPoint((width() - size.width()) / 2, y), size);
}

int Slider::ValueAt(const QPoint& pos) const {
  const QRect thumb = ThumbRect();
  double f = 0.0;
  if (orientation() == Qt::Horizontal) {
    const int span = width() - thumb.width();
    f = span > 0 ? static_cast<double>(pos.x() - thumb.width() / 2) / span : 0.0;
  } else {
    const int span = height() - thumb.height();
    f = span > 0 ? static_cast<double>(height() - pos.y() - thumb.height() / 2) / span : 0.0;
  }
  f = std::clamp(f, 0.0, 1.0);
  return minimum() + qRound(f * (maximum() - minimum()));
}

void Slider::mousePressEvent(QMouseEvent* event) {
  // Every slider jumps to the pressed point and drags from there: the knob is where it is drawn.
  if (event->button() != Qt::LeftButton || !isEnabled()) {
    event->ignore();
    return;
  }
  QPointer<QWidget> alive(this);
  setSliderDown(true);
  if (!alive) return;
  setSliderPosition(ValueAt(event->pos()));
  event->accept();
}

void Slider::mouseMoveEvent(QMouseEvent* event) {
  if (!isSliderDown()) {
    event->ignore();
    return;
  }
  setSliderPosition(ValueAt(event->pos()));
  event->accept();
}

void Slider::mouseReleaseEvent(QMouseEvent* event) {
  if (!isSliderDown() || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  setSliderDown(false);
  event->accept();
}

void Slider::PaintStatusImage(QPainter& painter) {
  if (!PaintsItself()) return;
  const bool horizontal = orientation() == Qt::Horizontal;
  const QRect thumb = ThumbRect();
  QRect part;
  if (horizontal)
    part = QRect(0, 0, thumb.center().x(), height());
  else
    part = QRect(0, thumb.center().y(), width(), height() - thumb.center().y());
  PaintFill(painter, this, part, GetForeImage(), fore_color_);
  QString image = thumb_image_;
  if (isSliderDown() && !thumb_pushed_image_.isEmpty())
    image = thumb_pushed_image_;
  else if (IsHot() && !thumb_hot_image_.isEmpty())
    image = thumb_hot_image_;
  if (!image.isEmpty()) {
    render::DrawImageString(painter, thumb, image, Zoom());
  } else {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Highlight));
    painter.drawEllipse(thumb.adjusted(1, 1, -1, -1));
  }
}

Progress::Progress(QWidget* parent) : ControlWidget<QProgressBar>(parent) {
  setRange(0, 100);
  setValue(0);
  setTextVisible(false);
}

void Progress::SetMinValue(int v) { setMinimum(v); }
void Progress::SetMaxValue(int v) { setMaximum(v); }
void Progress::SetValue(int v) { setValue(std::clamp(v, minimum(), maximum())); }

void Progress::SetAttribute(const QString& name, const QString& value) {
  if (name == u"min")
    SetMinValue(AttrInt(name, value));
  else if (name == u"max")
    SetMaxValue(AttrInt(name, value, 100));
  else if (name == u"value")
    SetValue(AttrInt(name, value));
  else if (name == u"hor")
    setOrientation(AttrBool(name, value) ? Qt::Horizontal : Qt::Vertical);
  else if (name == u"forecolor")
    fore_color_ = AttrColor(name, value);
  else if (name == u"showtext")
    setTextVisible(AttrBool(name, value));
  else
    ControlWidget<QProgressBar>::SetAttribute(name, value);
  Invalidate();
}

bool Progress::PaintsItself() const { return !GetForeImage().isEmpty() || fore_color_ != 0; }

void Progress::PaintStatusImage(QPainter& painter) {
  if (!PaintsItself()) return;
  const double f = Fraction(value(), minimum(), maximum());
  PaintFill(painter, this, FilledPart(rect(), f, orientation() == Qt::Horizontal), GetForeImage(), fore_color_);
}

}  // namespace zrv::ui
