#pragma once
// Label (one line) and Text (wrapped lines).

#include <QLabel>

#include "ui/control_widget.h"

namespace zrv::ui {

class Label : public ControlWidget<QLabel> {
  Q_OBJECT
 public:
  explicit Label(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("Label"); }
  void SetAttribute(const QString& name, const QString& value) override;
  void SetEndEllipsis(bool on);

 protected:
  void UpdateShownText() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool end_ellipsis_ = false;
};

class Text : public Label {
  Q_OBJECT
 public:
  explicit Text(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("Text"); }
};

}  // namespace zrv::ui
