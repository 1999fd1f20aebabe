#include "controls/select_panel.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

#include "controls/device_key_button.h"
#include "ui/render.h"

namespace zrv::controls {

class CSelectPanelUI::Band : public QWidget {
 public:
  explicit Band(CSelectPanelUI* panel) : QWidget(panel), panel_(panel) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    panel_->PaintSelection(painter, rect());
  }

 private:
  CSelectPanelUI* panel_;
};

CSelectPanelUI::CSelectPanelUI(QWidget* parent) : ui::VerticalLayout(parent) {
  // The picture paints all of its background itself and no style sheet rule is about it: the
  // style's background pass would only cost a painter and a rule look-up in every frame.
  setAttribute(Qt::WA_StyledBackground, false);
}

CSelectPanelUI::~CSelectPanelUI() = default;

QRect CSelectPanelUI::GetSelectRect() const { return QRect(QPoint(left_, top_), QPoint(right_ - 1, bottom_ - 1)); }

void CSelectPanelUI::mousePressEvent(QMouseEvent* event) {
  ui::VerticalLayout::mousePressEvent(event);
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  event->accept();
  pressed_ = true;
  anchor_ = mapTo(window(), event->position().toPoint());
}

void CSelectPanelUI::mouseMoveEvent(QMouseEvent* event) {
  ui::VerticalLayout::mouseMoveEvent(event);
  if (pressed_) dragging_ = true;
  if (!dragging_) return;
  event->accept();
  current_ = mapTo(window(), event->position().toPoint());
  left_ = std::min(anchor_.x(), current_.x());
  right_ = std::max(anchor_.x(), current_.x());
  top_ = std::min(anchor_.y(), current_.y());
  bottom_ = std::max(anchor_.y(), current_.y());
  ShowBand();
}

void CSelectPanelUI::mouseReleaseEvent(QMouseEvent* event) {
  ui::VerticalLayout::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  pressed_ = false;
  if (!dragging_) return;
  event->accept();
  dragging_ = false;
  anchor_ = current_;
  SelectKeyButtons();
  if (band_ != nullptr) band_->hide();  // Qt repaints what it covered
  SendNotify(QString::fromLatin1(ui::notify::kClickSelectEnd));
}

void CSelectPanelUI::SelectKeyButtons() {
  // Rectangles as left/top/right/bottom with right and bottom exclusive: two of them overlap only
  // when they share at least one pixel, so a key that merely touches the band stays out.
  for (int i = 0; i < GetCount(); ++i) {
    ui::Control* child = GetItemAt(i);
    if (child == nullptr || child->GetClass() != u"DeviceKeyButton") continue;
    auto* button = dynamic_cast<CDeviceKeyButtonUI*>(child);
    if (button == nullptr) continue;
    const QRect pos = button->GetPos();
    const int l = std::max(left_, pos.x());
    const int r = std::min(right_, pos.x() + pos.width());
    const int t = std::max(top_, pos.y());
    const int b = std::min(bottom_, pos.y() + pos.height());
    button->SetSelectState(l < r && t < b ? 1 : 0);
  }
}

void CSelectPanelUI::ShowBand() {
  if (band_ == nullptr) band_ = new Band(this);
  // The band is a child of the panel; the rectangle is kept in window coordinates.
  const QPoint origin = mapTo(window(), QPoint(0, 0));
  band_->setGeometry(QRect(left_ - origin.x(), top_ - origin.y(), right_ - left_, bottom_ - top_));
  if (band_->isHidden()) {
    band_->raise();
    band_->show();
  }
  band_->update();
}

void CSelectPanelUI::PaintSelection(QPainter& painter, const QRect& rect) const {
  if (!dragging_ || rect.isEmpty()) return;
  ui::render::DrawColor(painter, rect, GetAdjustColor(kSelectFill));
  ui::render::DrawRect(painter, rect, kSelectBorderSize, GetAdjustColor(kSelectBorder));
}

}  // namespace zrv::controls
