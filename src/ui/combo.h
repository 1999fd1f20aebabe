#pragma once
// Combo: a drop-down list. Items carry a text (or text id), user data, a visible flag and a
// height. "itemselect" when the user picks another item (wParam new index, lParam old index).

#include <QComboBox>

#include "ui/control_widget.h"

namespace zrv::ui {

struct ComboItem {
  QString text;
  QString userData;
  bool resourceText = false;  // text is a text id
  bool visible = true;        // hidden items cannot be chosen
  int height = 0;             // 96-DPI pixels; 0: the combo's item height
};

class Combo : public ControlWidget<QComboBox> {
  Q_OBJECT
 public:
  explicit Combo(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("Combo"); }

  int Add(const ComboItem& item);  // returns the index
  bool AddAt(const ComboItem& item, int index);
  bool RemoveAt(int index);
  void RemoveAll();
  int GetCount() const;

  // Selects item index (-1: none). Silent unless notify is set; takeFocus gives it the focus.
  // A hidden item cannot be selected (false).
  bool SelectItem(int index, bool takeFocus = false, bool notify = false);
  int GetCurSel() const;

  QString GetItemText(int index) const;    // as shown (translated)
  QString GetItemTextId(int index) const;  // as stored
  void SetItemText(int index, const QString& text, bool resourceText = false);
  QString GetItemUserData(int index) const;
  void SetItemUserData(int index, const QString& data);
  bool IsItemVisible(int index) const;
  void SetItemVisible(int index, bool visible);
  int FindItemByUserData(const QString& data) const;  // -1 when none

  void SetItemHeight(int height);
  void SetAttribute(const QString& name, const QString& value) override;

 protected:
  void UpdateShownText() override {}
  void changeEvent(QEvent* event) override;
  void ApplyQFont(const QFont& font) override;

 private:
  class CodeChange;
  void UpdateRow(int index);
  int item_height_ = 30;
  int drop_height_ = 0;
  int last_index_ = -1;  // current index as last seen
  int user_prev_ = -1;   // index before the user's change
  bool user_changed_ = false;
  int code_change_ = 0;
};

}  // namespace zrv::ui
