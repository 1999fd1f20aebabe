#include "ui/button.h"

#include <QMouseEvent>
#include <QPointer>

#include "ui/containers.h"
#include "ui/lookup.h"
#include "ui/render.h"
#include "ui/window.h"

namespace zrv::ui {

template <class QtBase>
ButtonBase<QtBase>::ButtonBase(QWidget* parent) : ControlWidget<QtBase>(parent) {
  this->SetTextAlign(Qt::AlignCenter);
  // clicked comes from the user (mouse, Space) or from Activate(); setters of code never emit it.
  QObject::connect(this, &QAbstractButton::clicked, this, [this] {
    QPointer<QWidget> alive(this);
    if (!this->isCheckable()) ApplyTabBinding();
    if (!alive) return;
    this->SendNotify(QString::fromLatin1(notify::kClick));
  });
}

template <class QtBase>
void ButtonBase<QtBase>::SetNormalImage(const QString& image) {
  normalImage_ = image;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetHotImage(const QString& image) {
  hotImage_ = image;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetPushedImage(const QString& image) {
  pushedImage_ = image;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetFocusedImage(const QString& image) {
  focusedImage_ = image;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetDisabledImage(const QString& image) {
  disabledImage_ = image;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetHotTextColor(Argb color) {
  hotTextColor_ = color;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetPushedTextColor(Argb color) {
  pushedTextColor_ = color;
  this->Invalidate();
}

template <class QtBase>
void ButtonBase<QtBase>::BindTabLayoutName(const QString& tabLayoutName) {
  bindTabName_ = tabLayoutName;
}

template <class QtBase>
void ButtonBase<QtBase>::BindTabIndex(int index) {
  bindTabIndex_ = index;
}

template <class QtBase>
void ButtonBase<QtBase>::ApplyTabBinding() {
  if (bindTabName_.isEmpty() || bindTabIndex_ < 0) return;
  WindowBase* w = this->GetWindow();
  if (!w) return;
  if (auto* tab = w->template FindControl<TabLayout>(bindTabName_)) tab->SelectItem(bindTabIndex_);
}

template <class QtBase>
void ButtonBase<QtBase>::Activate() {
  if (this->isEnabled()) this->click();
}

template <class QtBase>
void ButtonBase<QtBase>::SetAttribute(const QString& name, const QString& value) {
  if (name == u"normalimage") SetNormalImage(value);
  else if (name == u"hotimage") SetHotImage(value);
  else if (name == u"pushedimage") SetPushedImage(value);
  else if (name == u"focusedimage") SetFocusedImage(value);
  else if (name == u"disabledimage") SetDisabledImage(value);
  else if (name == u"hottextcolor") SetHotTextColor(this->AttrColor(name, value));
  else if (name == u"pushedtextcolor") SetPushedTextColor(this->AttrColor(name, value));
  else if (name == u"bindtablayoutname") BindTabLayoutName(value);
  else if (name == u"bindtabindex") BindTabIndex(this->AttrInt(name, value, -1));
  else ControlWidget<QtBase>::SetAttribute(name, value);
}

template <class QtBase>
bool ButtonBase<QtBase>::HasImages() const {
  return !normalImage_.isEmpty() || !hotImage_.isEmpty() || !pushedImage_.isEmpty() ||
         !focusedImage_.isEmpty() || !disabledImage_.isEmpty();
}

template <class QtBase>
bool ButtonBase<QtBase>::PaintsItself() const {
  return HasImages();
}

template <class QtBase>
QString ButtonBase<QtBase>::StatusImage() const {
  if (!this->isEnabled() && !disabledImage_.isEmpty()) return disabledImage_;
  if (this->isDown() && !pushedImage_.isEmpty()) return pushedImage_;
  if (this->IsHot() && !hotImage_.isEmpty()) return hotImage_;
  if (this->hasFocus() && !focusedImage_.isEmpty()) return focusedImage_;
  return normalImage_;
}

template <class QtBase>
Argb ButtonBase<QtBase>::StatusTextColor() const {
  if (!this->isEnabled() && this->GetDisabledTextColor()) return this->GetDisabledTextColor();
  if (this->isDown() && pushedTextColor_) return pushedTextColor_;
  if (this->IsHot() && hotTextColor_) return hotTextColor_;
  if (this->GetTextColor()) return this->GetTextColor();
  return this->palette().color(QPalette::ButtonText).rgba();
}

template <class QtBase>
void ButtonBase<QtBase>::PaintStatusImage(QPainter& painter) {
  if (!HasImages()) return;
  const QString image = StatusImage();
  if (!image.isEmpty()) this->DrawImage(painter, image);
}

template <class QtBase>
void ButtonBase<QtBase>::PaintText(QPainter& painter) {
  if (!HasImages()) return;  // Qt and the style sheet draw the text of plain buttons
  const QString text = this->ShownText();
  if (text.isEmpty()) return;
  const QMargins p = this->GetTextPadding();
  const QRect r = this->rect().marginsRemoved(
      QMargins(this->Scale(p.left()), this->Scale(p.top()), this->Scale(p.right()), this->Scale(p.bottom())));
  render::DrawText(painter, r, text, StatusTextColor(), this->font(), static_cast<int>(this->GetTextAlign()));
}

template <class QtBase>
void ButtonBase<QtBase>::UpdateShownText() {
  this->setText(this->ShownText());
}

template <class QtBase>
void ButtonBase<QtBase>::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click: "dbclick", then the press whose release is the second
  // "click".
  if (this->isEnabled() && event->button() == Qt::LeftButton && this->rect().contains(event->pos())) {
    QPointer<QWidget> alive(this);
    this->SendNotify(QString::fromLatin1(notify::kDbClick), 0, 0,
                     this->mapTo(this->window(), event->pos()));
    if (!alive) return;
  }
  QtBase::mouseDoubleClickEvent(event);
}

Button::Button(QWidget* parent) : ButtonBase<QPushButton>(parent) {}

// ---- options

template <class QtBase>
OptionBase<QtBase>::OptionBase(QWidget* parent) : ButtonBase<QtBase>(parent) {
  this->setCheckable(true);
}

template <class QtBase>
bool OptionBase<QtBase>::IsSelected() const {
  return this->isChecked();
}

template <class QtBase>
void OptionBase<QtBase>::Selected(bool selected, bool notify) {
  SetState(selected, notify);
}

template <class QtBase>
void OptionBase<QtBase>::nextCheckState() {
  // A click selects a grouped option (it cannot unselect it, like a radio button) and toggles a
  // lone option or check box.
  SetState(group_.isEmpty() ? !this->isChecked() : true, true);
}

template <class QtBase>
void OptionBase<QtBase>::SetState(bool selected, bool notify) {
  if (this->isChecked() == selected) return;
  QPointer<QWidget> alive(this);
  if (selected && !group_.isEmpty()) {
    // Every other option of the group in the same window goes off first.
    QWidget* top = this->window();
    const QList<Control*> all = SubControls(top);
    for (Control* c : all) {
      auto* other = dynamic_cast<Selectable*>(c);
      if (!other || other == this || other->GetGroup() != group_ || !other->IsSelected()) continue;
      other->Selected(false, notify);
      if (!alive) return;
    }
  }
  this->setChecked(selected);
  if (selected) ButtonBase<QtBase>::ApplyTabBinding();
  this->Invalidate();
  if (notify) this->SendNotify(QString::fromLatin1(notify::kSelectChanged), selected ? 1 : 0);
}

template <class QtBase>
void OptionBase<QtBase>::SetSelectedImage(const QString& image) {
  selectedImage_ = image;
  this->Invalidate();
}
template <class QtBase>
void OptionBase<QtBase>::SetSelectedHotImage(const QString& image) {
  selectedHotImage_ = image;
  this->Invalidate();
}
template <class QtBase>
void OptionBase<QtBase>::SetSelectedDisabledImage(const QString& image) {
  selectedDisabledImage_ = image;
  this->Invalidate();
}
template <class QtBase>
void OptionBase<QtBase>::SetSelectedTextColor(Argb color) {
  selectedTextColor_ = color;
  this->Invalidate();
}

template <class QtBase>
void OptionBase<QtBase>::SetAttribute(const QString& name, const QString& value) {
  if (name == u"selected") Selected(this->AttrBool(name, value), false);
  else if (name == u"group") SetGroup(value);
  else if (name == u"selectedimage") SetSelectedImage(value);
  else if (name == u"selectedhotimage") SetSelectedHotImage(value);
  else if (name == u"selecteddisabledimage") SetSelectedDisabledImage(value);
  else if (name == u"selectedtextcolor") SetSelectedTextColor(this->AttrColor(name, value));
  else ButtonBase<QtBase>::SetAttribute(name, value);
}

template <class QtBase>
bool OptionBase<QtBase>::HasImages() const {
  return ButtonBase<QtBase>::HasImages() || !selectedImage_.isEmpty() || !selectedHotImage_.isEmpty() ||
         !selectedDisabledImage_.isEmpty();
}

template <class QtBase>
QString OptionBase<QtBase>::StatusImage() const {
  if (IsSelected()) {
    if (!this->isEnabled() && !selectedDisabledImage_.isEmpty()) return selectedDisabledImage_;
    if (this->IsHot() && !selectedHotImage_.isEmpty()) return selectedHotImage_;
    if (!selectedImage_.isEmpty()) return selectedImage_;
  }
  return ButtonBase<QtBase>::StatusImage();
}

template <class QtBase>
Argb OptionBase<QtBase>::StatusTextColor() const {
  if (IsSelected() && this->isEnabled() && selectedTextColor_) return selectedTextColor_;
  return ButtonBase<QtBase>::StatusTextColor();
}

Option::Option(QWidget* parent) : OptionBase<QPushButton>(parent) {}

CheckBox::CheckBox(QWidget* parent) : OptionBase<QCheckBox>(parent) {
  SetTextAlign(Qt::AlignLeft | Qt::AlignVCenter);
}

template class ButtonBase<QPushButton>;
template class ButtonBase<QCheckBox>;
template class OptionBase<QPushButton>;
template class OptionBase<QCheckBox>;

}  // namespace zrv::ui
