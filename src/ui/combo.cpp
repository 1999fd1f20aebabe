#include "ui/combo.h"

#include <QAbstractItemView>
#include <QListView>
#include <QStandardItemModel>

#include "ui/language.h"

namespace zrv::ui {

namespace {
constexpr int kTextIdRole = Qt::UserRole + 1;
constexpr int kResourceRole = Qt::UserRole + 2;
constexpr int kUserDataRole = Qt::UserRole + 3;
constexpr int kVisibleRole = Qt::UserRole + 4;
constexpr int kHeightRole = Qt::UserRole + 5;
}  // namespace

class Combo::CodeChange {
 public:
  explicit CodeChange(Combo* combo) : combo_(combo) { ++combo_->code_change_; }
  ~CodeChange() {
    --combo_->code_change_;
    combo_->user_changed_ = false;
  }

 private:
  Combo* combo_;
};

Combo::Combo(QWidget* parent) : ControlWidget<QComboBox>(parent) {
  setView(new QListView(this));
  connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (code_change_ == 0) {
      user_prev_ = last_index_;
      user_changed_ = true;
    }
    last_index_ = index;
  });
  // activated comes only from the user (list, keys, wheel); report it when the choice changed.
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (!user_changed_) return;
    user_changed_ = false;
    SendNotify(QString::fromLatin1(notify::kItemSelect), index, user_prev_);
  });
}

int Combo::Add(const ComboItem& item) {
  AddAt(item, GetCount());
  return GetCount() - 1;
}

bool Combo::AddAt(const ComboItem& item, int index) {
  if (index < 0 || index > GetCount()) return false;
  CodeChange guard(this);
  insertItem(index, QString());
  setItemData(index, item.text, kTextIdRole);
  setItemData(index, item.resourceText, kResourceRole);
  setItemData(index, item.userData, kUserDataRole);
  setItemData(index, item.visible, kVisibleRole);
  setItemData(index, item.height, kHeightRole);
  UpdateRow(index);
  // Qt selects the first item added to an empty combo; an empty combo added to stays unselected.
  if (GetCount() == 1) setCurrentIndex(-1);
  return true;
}

bool Combo::RemoveAt(int index) {
  if (index < 0 || index >= GetCount()) return false;
  CodeChange guard(this);
  removeItem(index);
  return true;
}

void Combo::RemoveAll() {
  CodeChange guard(this);
  clear();
}

int Combo::GetCount() const { return count(); }

bool Combo::SelectItem(int index, bool takeFocus, bool notify) {
  if (index < -1 || index >= GetCount()) return false;
  if (index >= 0 && !IsItemVisible(index)) return false;
  const int old = currentIndex();
  {
    CodeChange guard(this);
    setCurrentIndex(index);
  }
  if (takeFocus) SetFocus();
  if (notify && old != index) SendNotify(QString::fromLatin1(notify::kItemSelect), index, old);
  return true;
}

int Combo::GetCurSel() const { return currentIndex(); }

QString Combo::GetItemText(int index) const { return itemText(index); }

QString Combo::GetItemTextId(int index) const { return itemData(index, kTextIdRole).toString(); }

void Combo::SetItemText(int index, const QString& text, bool resourceText) {
  if (index < 0 || index >= GetCount()) return;
  setItemData(index, text, kTextIdRole);
  setItemData(index, resourceText, kResourceRole);
  UpdateRow(index);
}

QString Combo::GetItemUserData(int index) const { return itemData(index, kUserDataRole).toString(); }

void Combo::SetItemUserData(int index, const QString& data) {
  if (index >= 0 && index < GetCount()) setItemData(index, data, kUserDataRole);
}

bool Combo::IsItemVisible(int index) const {
  return index >= 0 && index < GetCount() && itemData(index, kVisibleRole).toBool();
}

void Combo::SetItemVisible(int index, bool visible) {
  if (index < 0 || index >= GetCount()) return;
  setItemData(index, visible, kVisibleRole);
  UpdateRow(index);
}

int Combo::FindItemByUserData(const QString& data) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (GetItemUserData(i) == data) return i;
  }
  return -1;
}

void Combo::SetItemHeight(int height) {
  item_height_ = std::max(0, height);
  for (int i = 0; i < GetCount(); ++i) UpdateRow(i);
}

void Combo::UpdateRow(int index) {
  const QString stored = itemData(index, kTextIdRole).toString();
  const bool resource = itemData(index, kResourceRole).toBool();
  setItemText(index, resource ? TextById(stored) : stored);
  const bool visible = itemData(index, kVisibleRole).toBool();
  if (auto* model = qobject_cast<QStandardItemModel*>(this->model())) {
    if (QStandardItem* item = model->item(index)) {
      // A hidden item is also disabled, so keys and the wheel skip it.
      item->setEnabled(visible);
      const int h = itemData(index, kHeightRole).toInt();
      item->setSizeHint(QSize(-1, Scale(h > 0 ? h : item_height_)));
    }
  }
  if (auto* list = qobject_cast<QListView*>(view())) list->setRowHidden(index, !visible);
}

void Combo::SetAttribute(const QString& name, const QString& value) {
  if (name == u"itemheight") {
    SetItemHeight(AttrInt(name, value));
  } else if (name == u"dropboxheight") {
    drop_height_ = AttrInt(name, value);
    if (drop_height_ > 0) view()->setMaximumHeight(Scale(drop_height_));
  } else {
    ControlWidget<QComboBox>::SetAttribute(name, value);
  }
}

void Combo::changeEvent(QEvent* event) {
  ControlWidget<QComboBox>::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) {
    for (int i = 0; i < GetCount(); ++i) {
      if (itemData(i, kResourceRole).toBool()) UpdateRow(i);
    }
  }
}

void Combo::ApplyQFont(const QFont& font) {
  ControlWidget<QComboBox>::ApplyQFont(font);
  view()->setFont(this->font());  // the drop-down is a window of its own: it inherits nothing
  for (int i = 0; i < GetCount(); ++i) UpdateRow(i);
}

}  // namespace zrv::ui
