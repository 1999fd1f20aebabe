#pragma once
// CSelectPanelUI ("SelectPanel"): the container that holds the key buttons of a device picture.
// The rubber-band selection over its key buttons is added with the key-assignment work; for now
// it lays out and shows its children like a vertical layout.

#include "ui/containers.h"

namespace zrv::controls {

class CSelectPanelUI : public ui::VerticalLayout {
  Q_OBJECT
 public:
  explicit CSelectPanelUI(QWidget* parent = nullptr) : ui::VerticalLayout(parent) {}
  QString GetClass() const override { return QStringLiteral("SelectPanel"); }
};

}  // namespace zrv::controls
