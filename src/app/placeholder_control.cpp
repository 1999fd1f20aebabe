#include "app/placeholder_control.h"

namespace zrv::app {

PlaceholderControl::PlaceholderControl(QString class_name, QWidget* parent)
    : ui::HorizontalLayout(parent), class_name_(std::move(class_name)) {}

}  // namespace zrv::app
