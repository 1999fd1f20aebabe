#pragma once
// Stands for a custom control class whose real implementation arrives later: a horizontal layout
// that keeps the class name, so layouts naming the class build and show their children now.

#include <QString>

#include "ui/containers.h"

namespace zrv::app {

class PlaceholderControl : public ui::HorizontalLayout {
  Q_OBJECT

 public:
  explicit PlaceholderControl(QString class_name, QWidget* parent = nullptr);
  QString GetClass() const override { return class_name_; }

 private:
  QString class_name_;
};

}  // namespace zrv::app
