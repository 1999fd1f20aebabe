#pragma once
// Containers: Container (children overlap), HorizontalLayout, VerticalLayout, TabLayout.
// Children are laid out by SkinLayout from their Control sizes (96-DPI pixels, zoomed).

#include <QWidget>

#include <vector>

#include "ui/control_widget.h"
#include "ui/skin_layout.h"

namespace zrv::ui {

// The "Control" element: an empty box (spacer, image, colour patch) that may show a text.
class PlainControl : public ControlWidget<QWidget> {
  Q_OBJECT
 public:
  explicit PlainControl(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("Control"); }
  void PaintText(QPainter& painter) override;
};

class Container : public ControlWidget<QWidget> {
  Q_OBJECT
 public:
  explicit Container(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("Container"); }
  bool BkColorCoversRect() const override { return true; }
  bool BackgroundFollowsAttributes() const override { return true; }

  // Children in order. Add/AddAt take ownership; Remove deletes the control (later, so a control
  // may remove itself from its own event handler).
  virtual bool Add(Control* control);
  virtual bool AddAt(Control* control, int index);
  virtual bool Remove(Control* control);
  virtual bool RemoveAt(int index);
  virtual void RemoveAll();
  virtual int GetCount() const;
  virtual Control* GetItemAt(int index) const;
  virtual int GetItemIndex(Control* control) const;
  bool SetItemIndex(Control* control, int index);  // moves a child

  void SetInset(const QMargins& inset);
  QMargins GetInset() const;
  void SetChildPadding(int padding);
  int GetChildPadding() const;
  void SetChildAlign(Qt::Alignment align);   // horizontal placement of narrower children
  void SetChildVAlign(Qt::Alignment align);  // vertical placement of lower children

  void SetAttribute(const QString& name, const QString& value) override;

  // Children drawn by this container's painter (Control::SetDrawnByParent), in the order they were
  // handed over. They are drawn after the container's own painting, so under its other children.
  void AdoptDrawnChild(Control* child, bool drawn);

 protected:
  using Direction = SkinLayout::Direction;
  Container(Direction direction, QWidget* parent);
  SkinLayout* Layout() const { return layout_; }
  void paintEvent(QPaintEvent* event) override;
  void childEvent(QChildEvent* event) override;

 private:
  SkinLayout* layout_;
  struct DrawnChild {
    Control* control;
    QObject* object;  // the same child, to recognise it while it is being destroyed
  };
  std::vector<DrawnChild> drawn_children_;
};

class HorizontalLayout : public Container {
  Q_OBJECT
 public:
  explicit HorizontalLayout(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("HorizontalLayout"); }
};

class VerticalLayout : public Container {
  Q_OBJECT
 public:
  explicit VerticalLayout(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("VerticalLayout"); }
};

// Pages are the children; exactly the selected one is visible. Selecting by code is silent.
class TabLayout : public Container {
  Q_OBJECT
 public:
  explicit TabLayout(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("TabLayout"); }

  bool SelectItem(int index);
  bool SelectItem(Control* page);
  int GetCurSel() const { return current_; }

  bool AddAt(Control* control, int index) override;
  bool RemoveAt(int index) override;
  void SetAttribute(const QString& name, const QString& value) override;

 private:
  void ShowCurrent();
  int current_ = 0;
};

}  // namespace zrv::ui
