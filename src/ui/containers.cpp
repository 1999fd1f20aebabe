#include "ui/containers.h"

#include <QChildEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTransform>

#include <algorithm>

#include "ui/attribute_parse.h"
#include "ui/render.h"

namespace zrv::ui {

PlainControl::PlainControl(QWidget* parent) : ControlWidget<QWidget>(parent) {
  setAttribute(Qt::WA_StyledBackground, true);
}

void PlainControl::PaintText(QPainter& painter) {
  const QString text = ShownText();
  if (text.isEmpty()) return;
  const QRect r = rect().marginsRemoved(QMargins(Scale(GetTextPadding().left()), Scale(GetTextPadding().top()),
                                                 Scale(GetTextPadding().right()), Scale(GetTextPadding().bottom())));
  const Argb color = GetTextColor() ? GetTextColor() : palette().color(QPalette::WindowText).rgba();
  render::DrawText(painter, r, text, color, font(), static_cast<int>(GetTextAlign()));
}

Container::Container(QWidget* parent) : Container(Direction::kFill, parent) {}

Container::Container(Direction direction, QWidget* parent)
    : ControlWidget<QWidget>(parent), layout_(new SkinLayout(direction, this)) {
  setAttribute(Qt::WA_StyledBackground, true);
}

bool Container::Add(Control* control) { return AddAt(control, GetCount()); }

bool Container::AddAt(Control* control, int index) {
  if (!control || control == this) return false;
  QWidget* w = control->Widget();
  if (w->property("skinclass").isNull()) w->setProperty("skinclass", control->GetClass());
  layout_->insertWidgetAt(index, w);
  // A child that was not hidden explicitly shows with its parent.
  if (!(w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide))) w->show();
  control->ApplyFont();
  if (control->DrawnByContainer()) control->SetDrawnByParent(true);
  return true;
}

void Container::AdoptDrawnChild(Control* child, bool drawn) {
  const auto at = std::find_if(drawn_children_.begin(), drawn_children_.end(),
                               [child](const DrawnChild& c) { return c.control == child; });
  if (drawn && at == drawn_children_.end()) drawn_children_.push_back({child, child->Widget()});
  if (!drawn && at != drawn_children_.end()) drawn_children_.erase(at);
}

void Container::childEvent(QChildEvent* event) {
  // A drawn child that goes away (deleted, or taken by another parent) is no longer drawn here.
  // Its Control part may already be destroyed: only the addresses are compared.
  if (event->removed() && !drawn_children_.empty()) {
    std::erase_if(drawn_children_, [&](const DrawnChild& c) { return c.object == event->child(); });
  }
  ControlWidget<QWidget>::childEvent(event);
}

void Container::paintEvent(QPaintEvent* event) {
  // A plain widget paints nothing of its own between the library's layers, so one painter serves
  // them and the drawn children: a device picture repaints twenty times a second, and each painter
  // set up on a widget costs about as much as a dozen keys.
  QPainter painter(this);
  painter.save();  // the children start from a clean state, whatever the container's layers set
  PaintBackground(painter);
  PaintOverlay(painter);
  painter.restore();
  if (drawn_children_.empty()) return;
  const QRegion& region = event->region();
  for (const DrawnChild& drawn : drawn_children_) {
    Control* child = drawn.control;
    const QWidget* widget = child->Widget();
    if (widget->isHidden()) continue;
    const QRect geometry = widget->geometry();
    if (!region.intersects(geometry)) continue;
    // No save and restore per child (a state per key and frame): the library's painting leaves the
    // painter as it found it but for hints, pen and brush, which the next child sets as it needs.
    painter.setTransform(QTransform::fromTranslate(geometry.x(), geometry.y()));
    child->PaintBackground(painter);
    child->PaintOverlay(painter);
  }
}

bool Container::Remove(Control* control) {
  if (!control) return false;
  return RemoveAt(layout_->indexOfWidget(control->Widget()));
}

bool Container::RemoveAt(int index) {
  QLayoutItem* item = layout_->takeAt(index);
  if (!item) return false;
  QWidget* w = item->widget();
  delete item;
  if (w) {
    w->hide();
    w->setParent(nullptr);
    // Later: the control may be removing itself from one of its own event handlers.
    w->deleteLater();
  }
  return true;
}

void Container::RemoveAll() {
  while (GetCount() > 0) RemoveAt(GetCount() - 1);
}

int Container::GetCount() const { return layout_->count(); }

Control* Container::GetItemAt(int index) const { return Control::FromWidget(layout_->widgetAt(index)); }

int Container::GetItemIndex(Control* control) const { return control ? layout_->indexOfWidget(control->Widget()) : -1; }

bool Container::SetItemIndex(Control* control, int index) {
  const int from = GetItemIndex(control);
  if (from < 0 || index < 0 || index >= GetCount()) return false;
  layout_->moveItem(from, index);
  return true;
}

void Container::SetInset(const QMargins& inset) { layout_->SetInset(inset); }
QMargins Container::GetInset() const { return layout_->Inset(); }
void Container::SetChildPadding(int padding) { layout_->SetChildPadding(padding); }
int Container::GetChildPadding() const { return layout_->ChildPadding(); }
void Container::SetChildAlign(Qt::Alignment align) { layout_->SetChildAlign(align); }
void Container::SetChildVAlign(Qt::Alignment align) { layout_->SetChildVAlign(align); }

void Container::SetAttribute(const QString& name, const QString& value) {
  if (name == u"inset") {
    SetInset(AttrMargins(name, value));
  } else if (name == u"childpadding") {
    SetChildPadding(AttrInt(name, value));
  } else if (name == u"childalign" || name == u"childvalign") {
    Qt::Alignment a;
    if (!attr::ParseAlign(value, &a)) {
      AttrError(name, value, QStringLiteral("left, center, right, top, vcenter or bottom"));
      return;
    }
    if (name == u"childalign")
      SetChildAlign(a);
    else
      SetChildVAlign(a);
  } else if (name == u"vscrollbar" || name == u"hscrollbar") {
    AttrBool(name, value);  // accepted; scrolling content belongs in a List
  } else {
    ControlWidget<QWidget>::SetAttribute(name, value);
  }
}

HorizontalLayout::HorizontalLayout(QWidget* parent) : Container(Direction::kHorizontal, parent) {}

VerticalLayout::VerticalLayout(QWidget* parent) : Container(Direction::kVertical, parent) {}

TabLayout::TabLayout(QWidget* parent) : Container(Direction::kFill, parent) {}

bool TabLayout::AddAt(Control* control, int index) {
  if (!Container::AddAt(control, index)) return false;
  ShowCurrent();
  return true;
}

bool TabLayout::RemoveAt(int index) {
  if (!Container::RemoveAt(index)) return false;
  if (current_ >= GetCount()) current_ = std::max(0, GetCount() - 1);
  ShowCurrent();
  return true;
}

bool TabLayout::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  current_ = index;
  ShowCurrent();
  return true;
}

bool TabLayout::SelectItem(Control* page) { return SelectItem(GetItemIndex(page)); }

void TabLayout::ShowCurrent() {
  for (int i = 0; i < GetCount(); ++i) {
    if (Control* c = GetItemAt(i)) c->Widget()->setVisible(i == current_);
  }
  NeedUpdate();
}

void TabLayout::SetAttribute(const QString& name, const QString& value) {
  if (name == u"selectedid") {
    current_ = std::max(0, AttrInt(name, value));
    ShowCurrent();
  } else {
    Container::SetAttribute(name, value);
  }
}

}  // namespace zrv::ui
