#pragma once
// Button, Option and CheckBox. A click raises "click"; a double click raises "dbclick" between
// the two clicks. Options and check boxes raise "selectchanged" for every change of their state
// made by the user (both directions), before the "click". A button or option can be bound to a
// TabLayout page (bindtablayoutname / bindtabindex).

#include <QCheckBox>
#include <QPushButton>

#include "ui/control_widget.h"

namespace zrv::ui {

// State images and tab binding shared by the three classes.
template <class QtBase>
class ButtonBase : public ControlWidget<QtBase> {
 public:
  explicit ButtonBase(QWidget* parent = nullptr);

  void SetNormalImage(const QString& image);
  void SetHotImage(const QString& image);
  void SetPushedImage(const QString& image);
  void SetFocusedImage(const QString& image);
  void SetDisabledImage(const QString& image);
  QString GetNormalImage() const { return normal_image_; }
  void SetHotTextColor(Argb color);
  void SetPushedTextColor(Argb color);

  void BindTabLayoutName(const QString& tabLayoutName);
  void BindTabIndex(int index);
  QString GetBindTabLayoutName() const { return bind_tab_name_; }
  int GetBindTabIndex() const { return bind_tab_index_; }
  // Shows the bound page (does nothing without a binding).
  void ApplyTabBinding();

  // Activates the button as a click of the user would (notifications included).
  void Activate();

  void SetAttribute(const QString& name, const QString& value) override;
  void PaintStatusImage(QPainter& painter) override;
  void PaintText(QPainter& painter) override;
  bool PaintsItself() const override;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // Chooses the image for the current state; options add their selected images.
  virtual QString StatusImage() const;
  virtual Argb StatusTextColor() const;
  void UpdateShownText() override;
  virtual bool HasImages() const;

  QString normal_image_, hot_image_, pushed_image_, focused_image_, disabled_image_;
  Argb hot_text_color_ = 0, pushed_text_color_ = 0;
  QString bind_tab_name_;
  int bind_tab_index_ = -1;
};

class Button : public ButtonBase<QPushButton> {
  Q_OBJECT
 public:
  explicit Button(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("Button"); }
};

// Selection state shared by options and check boxes.
class Selectable {
 public:
  virtual ~Selectable() = default;
  virtual bool IsSelected() const = 0;
  // Changes the state; silent unless notify is set. Selecting an option of a group deselects
  // the others of the group in the same window (each notified too when notify is set).
  virtual void Selected(bool selected, bool notify = false) = 0;
  virtual QString GetGroup() const = 0;
};

template <class QtBase>
class OptionBase : public ButtonBase<QtBase>, public Selectable {
 public:
  explicit OptionBase(QWidget* parent = nullptr);

  bool IsSelected() const override;
  void Selected(bool selected, bool notify = false) override;
  QString GetGroup() const override { return group_; }
  void SetGroup(const QString& group) { group_ = group; }
  void SetSelectedImage(const QString& image);
  void SetSelectedHotImage(const QString& image);
  void SetSelectedDisabledImage(const QString& image);
  QString GetSelectedImage() const { return selected_image_; }
  void SetSelectedTextColor(Argb color);

  void SetAttribute(const QString& name, const QString& value) override;

 protected:
  void nextCheckState() override;
  QString StatusImage() const override;
  Argb StatusTextColor() const override;
  bool HasImages() const override;

 private:
  void SetState(bool selected, bool notify);
  QString group_;
  QString selected_image_, selected_hot_image_, selected_disabled_image_;
  Argb selected_text_color_ = 0;
};

class Option : public OptionBase<QPushButton> {
  Q_OBJECT
 public:
  explicit Option(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("Option"); }
};

class CheckBox : public OptionBase<QCheckBox> {
  Q_OBJECT
 public:
  explicit CheckBox(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("CheckBox"); }
  // A check box is a check box: grouping it is allowed but unusual.
  bool GetCheck() const { return IsSelected(); }
  void SetCheck(bool check, bool notify = false) { Selected(check, notify); }
};

}  // namespace zrv::ui
