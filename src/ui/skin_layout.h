#pragma once
// The layout of every container: places children from their Control sizes (96-DPI pixels times
// the window's zoom), paddings, the container's inset and child padding, and float positions.

#include <QLayout>
#include <QList>
#include <QWidget>

namespace zrv::ui {

class SkinLayout : public QLayout {
 public:
  enum class Direction { kFill, kHorizontal, kVertical };
  explicit SkinLayout(Direction direction, QWidget* parent);
  ~SkinLayout() override;

  void addItem(QLayoutItem* item) override;
  void insertWidgetAt(int index, QWidget* widget);
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  int count() const override { return static_cast<int>(items_.size()); }
  int indexOfWidget(QWidget* widget) const;
  QWidget* widgetAt(int index) const;
  void moveItem(int from, int to);

  QSize sizeHint() const override;
  QSize minimumSize() const override;
  QSize maximumSize() const override { return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); }
  void setGeometry(const QRect& rect) override;
  Qt::Orientations expandingDirections() const override { return Qt::Horizontal | Qt::Vertical; }

  void SetInset(const QMargins& inset) {
    inset_ = inset;
    invalidate();
  }
  QMargins Inset() const { return inset_; }
  void SetChildPadding(int padding) {
    child_padding_ = padding;
    invalidate();
  }
  int ChildPadding() const { return child_padding_; }
  void SetChildAlign(Qt::Alignment a) {
    child_align_ = a;
    invalidate();
  }
  void SetChildVAlign(Qt::Alignment a) {
    child_v_align_ = a;
    invalidate();
  }
  Direction direction() const { return direction_; }

 private:
  double ZoomOf() const;
  QSize Content(bool minimum) const;
  Direction direction_;
  QList<QLayoutItem*> items_;
  QMargins inset_;
  int child_padding_ = 0;
  Qt::Alignment child_align_ = Qt::AlignLeft;
  Qt::Alignment child_v_align_ = Qt::AlignTop;
};

}  // namespace zrv::ui
