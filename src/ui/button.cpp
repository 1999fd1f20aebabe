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
  normal_image_ = image;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetHotImage(const QString& image) {
  hot_image_ = image;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetPushedImage(const QString& image) {
  pushed_image_ = image;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetFocusedImage(const QString& image) {
  focused_image_ = image;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetDisabledImage(const QString& image) {
  disabled_image_ = image;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetHotTextColor(Argb color) {
  hot_text_color_ = color;
  this->Invalidate();
}
template <class QtBase>
void ButtonBase<QtBase>::SetPushedTextColor(Argb color) {
  pushed_text_color_ = color;
  this->Invalidate();
}

template <class QtBase>
void ButtonBase<QtBase>::BindTabLayoutName(const QString& tabLayoutName) {
  bind_tab_name_ = tabLayoutName;
}

template <class QtBase>
void ButtonBase<QtBase>::BindTabIndex(int index) {
  bind_tab_index_ = index;
}

template <class QtBase>
void ButtonBase<QtBase>::ApplyTabBinding() {
  if (bind_tab_name_.isEmpty() || bind_tab_index_ < 0) return;
  WindowBase* w = this->GetWindow();
  if (!w) return;
  if (auto* tab = w->template FindControl<TabLayout>(bind_tab_name_)) tab->SelectItem(bind_tab_index_);
}

template <class QtBase>
void ButtonBase<QtBase>::Activate() {
  if (this->isEnabled()) this->click();
}

template <class QtBase>
void ButtonBase<QtBase>::SetAttribute(const QString& name, const QString& value) {
  if (name == u"normalimage")
    SetNormalImage(value);
  else if (name == u"hotimage")
    SetHotImage(value);
  else if (name == u"pushedimage")
    SetPushedImage(value);
  else if (name == u"focusedimage")
    SetFocusedImage(value);
  else if (name == u"disabledimage")
    SetDisabledImage(value);
  else if (name == u"hottextcolor")
    SetHotTextColor(this->AttrColor(name, value));
  else if (name == u"pushedtextcolor")
    SetPushedTextColor(this->AttrColor(name, value));
  else if (name == u"bindtablayoutname")
    BindTabLayoutName(value);
  else if (name == u"bindtabindex")
    BindTabIndex(this->AttrInt(name, value, -1));
  else
    ControlWidget<QtBase>::SetAttribute(name, value);
}

template <class QtBase>
bool ButtonBase<QtBase>::HasImages() const {
  return !normal_image_.isEmpty() || !hot_image_.isEmpty() || !pushed_image_.isEmpty() || !focused_image_.isEmpty() ||
         !disabled_image_.isEmpty();
}

template <class QtBase>
bool ButtonBase<QtBase>::PaintsItself() const {
  return HasImages();
}

template <class QtBase>
QString ButtonBase<QtBase>::StatusImage() const {
  // The image tests first: asking Qt for the focus walks up to the window.
  if (!disabled_image_.isEmpty() && !this->isEnabled()) return disabled_image_;
  if (!pushed_image_.isEmpty() && this->isDown()) return pushed_image_;
  if (!hot_image_.isEmpty() && this->IsHot()) return hot_image_;
  if (!focused_image_.isEmpty() && this->hasFocus()) return focused_image_;
  return normal_image_;
}

template <class QtBase>
Argb ButtonBase<QtBase>::StatusTextColor() const {
  if (!this->isEnabled() && this->GetDisabledTextColor()) return this->GetDisabledTextColor();
  if (this->isDown() && pushed_text_color_) return pushed_text_color_;
  if (this->IsHot() && hot_text_color_) return hot_text_color_;
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
    this->SendNotify(QString::fromLatin1(notify::kDbClick), 0, 0, this->mapTo(this->window(), event->pos()));
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
  selected_image_ = image;
  this->Invalidate();
}
template <class QtBase>
void OptionBase<QtBase>::SetSelectedHotImage(const QString& image) {
  selected_hot_image_ = image;
  this->Invalidate();
}
template <class QtBase>
void OptionBase<QtBase>::SetSelectedDisabledImage(const QString& image) {
  selected_disabled_image_ = image;
  this->Invalidate();
}
template <class QtBase>
void OptionBase<QtBase>::SetSelectedTextColor(Argb color) {
  selected_text_color_ = color;
  this->Invalidate();
}

template <class QtBase>
void OptionBase<QtBase>::SetAttribute(const QString& name, const QString& value) {
  if (name == u"selected")
    Selected(this->AttrBool(name, value), false);
  else if (name == u"group")
    SetGroup(value);
  else if (name == u"selectedimage")
    SetSelectedImage(value);
  else if (name == u"selectedhotimage")
    SetSelectedHotImage(value);
  else if (name == u"selecteddisabledimage")
    SetSelectedDisabledImage(value);
  else if (name == u"selectedtextcolor")
    SetSelectedTextColor(this->AttrColor(name, value));
  else
    ButtonBase<QtBase>::SetAttribute(name, value);
}

template <class QtBase>
bool OptionBase<QtBase>::HasImages() const {
  return ButtonBase<QtBase>::HasImages() || !selected_image_.isEmpty() || !selected_hot_image_.isEmpty() ||
         !selected_disabled_image_.isEmpty();
}

template <class QtBase>
QString OptionBase<QtBase>::StatusImage() const {
  if (IsSelected()) {
    if (!this->isEnabled() && !selected_disabled_image_.isEmpty()) return selected_disabled_image_;
    if (this->IsHot() && !selected_hot_image_.isEmpty()) return selected_hot_image_;
    if (!selected_image_.isEmpty()) return selected_image_;
  }
  return ButtonBase<QtBase>::StatusImage();
}

template <class QtBase>
Argb OptionBase<QtBase>::StatusTextColor() const {
  if (IsSelected() && this->isEnabled() && selected_text_color_) return selected_text_color_;
  return ButtonBase<QtBase>::StatusTextColor();
}

Option::Option(QWidget* parent) : OptionBase<QPushButton>(parent) {}

CheckBox::CheckBox(QWidget* parent) : OptionBase<QCheckBox>(parent) { SetTextAlign(Qt::AlignLeft | Qt::AlignVCenter); }

template class ButtonBase<QPushButton>;
template class ButtonBase<QCheckBox>;
template class OptionBase<QPushButton>;
template class OptionBase<QCheckBox>;

}  // namespace zrv::ui
