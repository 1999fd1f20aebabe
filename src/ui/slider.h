#pragma once
// Slider and Progress: an integer value within a range.
// Slider notifications: "movevaluechanged" for each value while the knob is dragged,
// "valuechanged" once per user action (release after a drag, a click on the groove, a key, a
// wheel step). SetValue from code is silent.

#include <QProgressBar>
#include <QSlider>

#include "ui/control_widget.h"

namespace zrv::ui {

class Slider : public ControlWidget<QSlider> {
  Q_OBJECT
 public:
  explicit Slider(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("Slider"); }

  void SetMinValue(int v);
  void SetMaxValue(int v);
  int GetMinValue() const { return minimum(); }
  int GetMaxValue() const { return maximum(); }
  void SetValue(int v);
  int GetValue() const { return value(); }
  void SetThumbImage(const QString& image);
  void SetThumbHotImage(const QString& image);
  void SetThumbPushedImage(const QString& image);
  void SetThumbSize(const QSize& size);

  void SetAttribute(const QString& name, const QString& value) override;
  void PaintStatusImage(QPainter& painter) override;
  void PaintForeImage(QPainter& painter) override { (void)painter; }
  bool PaintsItself() const override;

 protected:
  void UpdateShownText() override {}
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRect ThumbRect() const;
  int ValueAt(const QPoint& pos) const;
  QString thumb_image_, thumb_hot_image_, thumb_pushed_image_;
  QSize thumb_size_{0, 0};
  Argb fore_color_ = 0;
  int press_value_ = 0;     // value when the knob was grabbed
  bool in_action_ = false;  // a key or wheel action is being applied
  int action_old_ = 0;
};

class Progress : public ControlWidget<QProgressBar> {
  Q_OBJECT
 public:
  explicit Progress(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("Progress"); }

  void SetMinValue(int v);
  void SetMaxValue(int v);
  int GetMinValue() const { return minimum(); }
  int GetMaxValue() const { return maximum(); }
  void SetValue(int v);
  int GetValue() const { return value(); }

  void SetAttribute(const QString& name, const QString& value) override;
  void PaintStatusImage(QPainter& painter) override;
  void PaintForeImage(QPainter& painter) override { (void)painter; }
  bool PaintsItself() const override;

 protected:
  void UpdateShownText() override {}

 private:
  Argb fore_color_ = 0;
};

}  // namespace zrv::ui
