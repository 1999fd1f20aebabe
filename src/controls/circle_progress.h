#pragma once
// CCircleProgressUI ("CircleProgress"): a progress ring. It draws the track and, over it, the arc
// of its value (0-100); with spin="true" it shows a turning arc instead, for work of unknown
// length. The ring turns only while it is visible, so a hidden ring costs nothing.
//
// Attributes: value, spin, ringcolor (track), forecolor (arc), ringwidth (96-DPI pixels).

#include <QTimer>

#include "ui/control_widget.h"

namespace zrv::controls {

class CCircleProgressUI : public ui::ControlWidget<QWidget> {
  Q_OBJECT
 public:
  explicit CCircleProgressUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("CircleProgress"); }

  void SetValue(int value);  // clamped to 0-100
  int GetValue() const { return value_; }
  void SetSpin(bool spin);
  bool IsSpinning() const { return spin_; }

  void SetAttribute(const QString& name, const QString& value) override;
  void PaintStatusImage(QPainter& painter) override;
  bool PaintsItself() const override { return true; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void UpdateTimer();

  int value_ = 0;
  bool spin_ = false;
  int angle_ = 0;  // start of the turning arc, degrees
  ui::Argb ring_color_ = 0xFF2A303C;
  ui::Argb fore_color_ = 0xFF2DE1C2;
  int ring_width_ = 3;
  QTimer spin_timer_;
};

}  // namespace zrv::controls
