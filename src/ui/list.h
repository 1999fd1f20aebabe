#pragma once
// List and its rows. A List scrolls a column of rows; the user selects one row at a time.
// Notifications: "itemselect" from the list when the user selects another row (wParam new index,
// lParam old index), "itemclick" from the row on each click, "itemactivate" from the row on a
// double click or Enter.

#include <QLabel>
#include <QScrollArea>

#include "ui/containers.h"
#include "ui/control_widget.h"

namespace zrv::ui {

class List;
class VerticalLayout;

// Common part of the rows.
class ListElement {
 public:
  virtual ~ListElement() = default;
  virtual Control* AsControl() = 0;
  List* GetOwner() const;
  int GetIndex() const;
  bool IsSelected() const { return selected_; }
  // Selects the row in its list (silent unless notify).
  bool Select(bool notify = false);

 protected:
  friend class List;
  // Called by the list: paints/updates the selected look.
  virtual void SetSelectedState(bool selected);
  void HandlePress(QMouseEvent* event);
  void HandleDoubleClick(QMouseEvent* event);
  bool selected_ = false;
};

// One line of text.
class ListLabelElement : public ControlWidget<QWidget>, public ListElement {
  Q_OBJECT
 public:
  explicit ListLabelElement(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ListLabelElement"); }
  Control* AsControl() override { return this; }
  void SetAttribute(const QString& name, const QString& value) override;
  void PaintBkColor(QPainter& painter) override;
  void PaintText(QPainter& painter) override;

 protected:
  void mousePressEvent(QMouseEvent* event) override { HandlePress(event); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { HandleDoubleClick(event); }
  void SetSelectedState(bool selected) override;
};

// Text per column (the columns of the list's header).
class ListTextElement : public ListLabelElement {
  Q_OBJECT
 public:
  explicit ListTextElement(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ListTextElement"); }
  using Control::GetText;
  QString GetText(int column) const;
  void SetText(int column, const QString& text);
  void SetText(const QString& text) override;  // "a|b|c": one text per column
  void PaintText(QPainter& painter) override;

 private:
  QStringList columns_;
};

// A row holding any controls, laid out horizontally.
class ListContainerElement : public HorizontalLayout, public ListElement {
  Q_OBJECT
 public:
  explicit ListContainerElement(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ListContainerElement"); }
  Control* AsControl() override { return this; }
  void SetAttribute(const QString& name, const QString& value) override;
  void PaintBkColor(QPainter& painter) override;  // follows the selection and the pointer
  bool BackgroundFollowsAttributes() const override { return false; }

 protected:
  void mousePressEvent(QMouseEvent* event) override { HandlePress(event); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { HandleDoubleClick(event); }
  void SetSelectedState(bool selected) override;
};

class ListHeaderItem : public ControlWidget<QLabel> {
  Q_OBJECT
 public:
  explicit ListHeaderItem(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ListHeaderItem"); }

 protected:
  void UpdateShownText() override;
};

class ListHeader : public HorizontalLayout {
  Q_OBJECT
 public:
  explicit ListHeader(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ListHeader"); }
};

class List : public VerticalLayout {
  Q_OBJECT
 public:
  explicit List(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("List"); }

  // Rows (ListLabelElement, ListTextElement, ListContainerElement or classes derived from them).
  // A ListHeader goes to the header place; everything else is a row.
  bool Add(Control* row) override;
  bool AddAt(Control* row, int index) override;
  bool Remove(Control* row) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;
  int GetCount() const override;
  Control* GetItemAt(int index) const override;
  int GetItemIndex(Control* row) const override;

  // Selects a row (-1: none). Silent unless notify; takeFocus gives the list the focus.
  bool SelectItem(int index, bool takeFocus = false, bool notify = false);
  // Selects the row and raises "itemactivate" from it (as a double click would).
  bool SelectItemActivate(int index);
  int GetCurSel() const { return current_; }

  void EnsureVisible(int index);
  void LineDown();
  void LineUp();
  void EndDown();  // scrolls to the end
  void HomeUp();   // scrolls to the start

  ListHeader* GetHeader() const { return header_; }
  // Pixel width of column `column` for a row `rowWidth` wide (header widths, zoomed).
  int ColumnWidth(int column, int rowWidth, int columns) const;

  // Row look (used by the rows when they paint).
  Argb ItemBkColor() const { return item_bk_; }
  Argb ItemHotBkColor() const { return item_hot_bk_; }
  Argb ItemSelectedBkColor() const { return item_selected_bk_; }
  Argb ItemTextColor() const { return item_text_; }
  Argb ItemSelectedTextColor() const { return item_selected_text_; }
  int ItemFont() const { return item_font_; }
  int ItemHeight() const { return item_height_; }
  Qt::Alignment ItemAlign() const { return item_align_; }

  void SetAttribute(const QString& name, const QString& value) override;

  // Called by rows on user input.
  void RowPressed(ListElement* row, const QPoint& windowPos);
  void RowActivated(ListElement* row);

  // The container that holds the rows (the builder adds row elements there).
  VerticalLayout* Body() const { return body_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool SetCurrent(int index, bool notify);
  QScrollArea* scroll_;
  VerticalLayout* body_;
  ListHeader* header_ = nullptr;
  bool header_hidden_ = false;
  int current_ = -1;
  Argb item_bk_ = 0, item_hot_bk_ = 0, item_selected_bk_ = 0, item_text_ = 0, item_selected_text_ = 0;
  int item_font_ = -1;
  int item_height_ = 30;
  Qt::Alignment item_align_ = Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace zrv::ui
