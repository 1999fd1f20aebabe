#include "ui/list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>

#include "ui/attribute_parse.h"
#include "ui/language.h"
#include "ui/render.h"

namespace zrv::ui {

namespace {

// Background of a row: its own colour when it has one, else the list's item colours by state.
void PaintRowBackground(QPainter& painter, Control* row, const List* owner, bool selected, bool hot) {
  Argb color = 0;
  if (owner) {
    if (selected && owner->ItemSelectedBkColor())
      color = owner->ItemSelectedBkColor();
    else if (hot && owner->ItemHotBkColor())
      color = owner->ItemHotBkColor();
    else
      color = owner->ItemBkColor();
  }
  if (color) render::DrawColor(painter, row->Widget()->rect(), color);
}

Argb RowTextColor(const Control* row, const List* owner, bool selected) {
  if (owner && selected && owner->ItemSelectedTextColor()) return owner->ItemSelectedTextColor();
  if (row->GetTextColor()) return row->GetTextColor();
  if (owner && owner->ItemTextColor()) return owner->ItemTextColor();
  return row->Widget()->palette().color(QPalette::WindowText).rgba();
}

QRect TextRect(const Control* row) {
  const QMargins p = row->GetTextPadding();
  return row->Widget()->rect().marginsRemoved(
      QMargins(row->Scale(p.left()), row->Scale(p.top()), row->Scale(p.right()), row->Scale(p.bottom())));
}

void SetSelectedProperty(QWidget* w, bool selected) {
  w->setProperty("selected", selected);
  w->style()->unpolish(w);
  w->style()->polish(w);
  w->update();
}

}  // namespace

// ---- ListElement

List* ListElement::GetOwner() const {
  const QWidget* w = const_cast<ListElement*>(this)->AsControl()->Widget();
  for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
    if (auto* list = dynamic_cast<List*>(Control::FromWidget(p))) return list;
  }
  return nullptr;
}

int ListElement::GetIndex() const {
  List* owner = GetOwner();
  return owner ? owner->GetItemIndex(const_cast<ListElement*>(this)->AsControl()) : -1;
}

bool ListElement::Select(bool notify) {
  List* owner = GetOwner();
  return owner && owner->SelectItem(GetIndex(), false, notify);
}

void ListElement::SetSelectedState(bool selected) {
  selected_ = selected;
  SetSelectedProperty(AsControl()->Widget(), selected);
}

void ListElement::HandlePress(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  if (!AsControl()->Widget()->isEnabled()) return;
  List* owner = GetOwner();
  if (!owner) return;
  owner->RowPressed(this, AsControl()->Widget()->mapTo(AsControl()->Widget()->window(), event->pos()));
}

void ListElement::HandleDoubleClick(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !AsControl()->Widget()->isEnabled()) return;
  if (List* owner = GetOwner()) owner->RowActivated(this);
}

// ---- rows

ListLabelElement::ListLabelElement(QWidget* parent) : ControlWidget<QWidget>(parent) {
  setAttribute(Qt::WA_StyledBackground, true);
  setProperty("selected", false);
}

void ListLabelElement::SetAttribute(const QString& name, const QString& value) {
  if (name == u"selected") {
    if (AttrBool(name, value)) {
      if (List* owner = GetOwner())
        owner->SelectItem(GetIndex());
      else
        selected_ = true;  // the list takes it when the row is added
    }
  } else {
    ControlWidget<QWidget>::SetAttribute(name, value);
  }
}

void ListLabelElement::SetSelectedState(bool selected) { ListElement::SetSelectedState(selected); }

void ListLabelElement::PaintBkColor(QPainter& painter) {
  PaintRowBackground(painter, this, GetOwner(), IsSelected(), IsHot());
  ControlWidget<QWidget>::PaintBkColor(painter);
}

void ListLabelElement::PaintText(QPainter& painter) {
  const QString text = ShownText();
  if (text.isEmpty()) return;
  const List* owner = GetOwner();
  const int align = static_cast<int>(owner ? owner->ItemAlign() : GetTextAlign());
  render::DrawText(painter, TextRect(this), text, RowTextColor(this, owner, IsSelected()), font(), align, true);
}

ListTextElement::ListTextElement(QWidget* parent) : ListLabelElement(parent) {}

QString ListTextElement::GetText(int column) const {
  if (column < 0 || column >= columns_.size()) return QString();
  return IsResourceText() ? TextById(columns_[column]) : columns_[column];
}

void ListTextElement::SetText(int column, const QString& text) {
  if (column < 0) return;
  while (columns_.size() <= column) columns_.append(QString());
  columns_[column] = text;
  Control::SetText(columns_.join(u'|'));
}

void ListTextElement::SetText(const QString& text) {
  columns_ = text.split(u'|');
  Control::SetText(text);
}

void ListTextElement::PaintText(QPainter& painter) {
  const List* owner = GetOwner();
  const QRect area = TextRect(this);
  const int n = static_cast<int>(columns_.size());
  const int align = static_cast<int>(owner ? owner->ItemAlign() : GetTextAlign());
  const Argb color = RowTextColor(this, owner, IsSelected());
  int x = area.left();
  for (int i = 0; i < n; ++i) {
    const int w = owner ? owner->ColumnWidth(i, area.width(), n) : area.width() / std::max(1, n);
    render::DrawText(painter, QRect(x, area.top(), w, area.height()), GetText(i), color, font(), align, true);
    x += w;
  }
}

ListContainerElement::ListContainerElement(QWidget* parent) : HorizontalLayout(parent) {
  setProperty("selected", false);
}

void ListContainerElement::SetAttribute(const QString& name, const QString& value) {
  if (name == u"selected") {
    if (AttrBool(name, value)) {
      if (List* owner = GetOwner())
        owner->SelectItem(GetIndex());
      else
        selected_ = true;
    }
  } else {
    HorizontalLayout::SetAttribute(name, value);
  }
}

void ListContainerElement::PaintBkColor(QPainter& painter) {
  PaintRowBackground(painter, this, GetOwner(), IsSelected(), IsHot());
  HorizontalLayout::PaintBkColor(painter);
}

void ListContainerElement::SetSelectedState(bool selected) { ListElement::SetSelectedState(selected); }

ListHeaderItem::ListHeaderItem(QWidget* parent) : ControlWidget<QLabel>(parent) { setTextFormat(Qt::PlainText); }

void ListHeaderItem::UpdateShownText() {
  setAlignment(GetTextAlign());
  setText(ShownText());
}

ListHeader::ListHeader(QWidget* parent) : HorizontalLayout(parent) {}

// ---- List

List::List(QWidget* parent) : VerticalLayout(parent), scroll_(new QScrollArea(this)), body_(new VerticalLayout) {
  setFocusPolicy(Qt::StrongFocus);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(true);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_->setFocusPolicy(Qt::NoFocus);
  body_->setObjectName(QString());
  scroll_->setWidget(body_);
  scroll_->viewport()->setAutoFillBackground(false);
  body_->setAutoFillBackground(false);
  Layout()->insertWidgetAt(0, scroll_);
}

bool List::Add(Control* row) { return AddAt(row, GetCount()); }

bool List::AddAt(Control* row, int index) {
  if (!row) return false;
  if (auto* header = dynamic_cast<ListHeader*>(row)) {
    if (header_) VerticalLayout::Remove(header_);
    header_ = header;
    if (!VerticalLayout::AddAt(header, 0)) return false;
    if (header_hidden_) header->SetVisible(false);
    return true;
  }
  auto* element = dynamic_cast<ListElement*>(row);
  if (!element) return false;
  index = std::clamp(index, 0, GetCount());
  if (row->GetFixedHeight() == 0) row->SetFixedHeight(item_height_);
  if (row->GetFont() < 0 && item_font_ >= 0) row->SetFont(item_font_);
  const bool wantSelected = element->selected_;
  element->selected_ = false;
  if (!body_->AddAt(row, index)) return false;
  if (current_ >= index) ++current_;
  if (wantSelected) SetCurrent(index, false);
  return true;
}

bool List::Remove(Control* row) { return RemoveAt(GetItemIndex(row)); }

bool List::RemoveAt(int index) {
  if (index < 0 || index >= GetCount()) return false;
  if (index == current_)
    current_ = -1;
  else if (index < current_)
    --current_;
  return body_->RemoveAt(index);
}

void List::RemoveAll() {
  current_ = -1;
  body_->RemoveAll();
}

int List::GetCount() const { return body_->GetCount(); }

Control* List::GetItemAt(int index) const { return body_->GetItemAt(index); }

int List::GetItemIndex(Control* row) const { return body_->GetItemIndex(row); }

bool List::SetCurrent(int index, bool notify) {
  if (index < -1 || index >= GetCount()) return false;
  if (index >= 0 && !GetItemAt(index)->IsVisible()) return false;
  const int old = current_;
  if (old == index) return true;
  if (old >= 0) {
    if (auto* e = dynamic_cast<ListElement*>(GetItemAt(old))) e->SetSelectedState(false);
  }
  current_ = index;
  if (index >= 0) {
    if (auto* e = dynamic_cast<ListElement*>(GetItemAt(index))) e->SetSelectedState(true);
  }
  if (notify) SendNotify(QString::fromLatin1(notify::kItemSelect), index, old);
  return true;
}

bool List::SelectItem(int index, bool takeFocus, bool notify) {
  if (!SetCurrent(index, notify)) return false;
  if (takeFocus) SetFocus();
  return true;
}

bool List::SelectItemActivate(int index) {
  if (!SelectItem(index)) return false;
  if (auto* e = dynamic_cast<ListElement*>(GetItemAt(index))) RowActivated(e);
  return true;
}

void List::RowPressed(ListElement* row, const QPoint& windowPos) {
  const int index = GetItemIndex(row->AsControl());
  if (index < 0) return;
  QPointer<QWidget> rowAlive(row->AsControl()->Widget());
  QPointer<QWidget> alive(this);
  setFocus(Qt::MouseFocusReason);
  SetCurrent(index, true);
  if (!alive || !rowAlive) return;
  row->AsControl()->SendNotify(QString::fromLatin1(notify::kItemClick), index, 0, windowPos);
}

void List::RowActivated(ListElement* row) {
  const int index = GetItemIndex(row->AsControl());
  if (index < 0) return;
  row->AsControl()->SendNotify(QString::fromLatin1(notify::kItemActivate), index);
}

void List::keyPressEvent(QKeyEvent* event) {
  const int n = GetCount();
  auto step = [&](int from, int dir) {
    for (int i = from + dir; i >= 0 && i < n; i += dir) {
      if (GetItemAt(i)->IsVisible()) return i;
    }
    return -1;
  };
  int target = -1;
  switch (event->key()) {
    case Qt::Key_Up: target = step(current_ < 0 ? n : current_, -1); break;
    case Qt::Key_Down: target = step(current_, 1); break;
    case Qt::Key_Home: target = step(-1, 1); break;
    case Qt::Key_End: target = step(n, -1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (current_ >= 0) {
        if (auto* e = dynamic_cast<ListElement*>(GetItemAt(current_))) RowActivated(e);
      }
      return;
    default: VerticalLayout::keyPressEvent(event); return;
  }
  if (target >= 0 && target != current_) {
    QPointer<QWidget> alive(this);
    SetCurrent(target, true);
    if (alive) EnsureVisible(target);
  }
}

// Brings the body's size and the scroll range up to date now, so scrolling right after rows
// were added lands where it should.
static void SyncBody(QScrollArea* scroll, QWidget* body) {
  if (body->layout()) body->layout()->invalidate();
  const QSize min = body->layout() ? body->layout()->minimumSize() : QSize();
  const QSize view = scroll->viewport()->size();
  body->resize(view.width(), std::max(min.height(), view.height()));
  if (body->layout()) body->layout()->activate();
}

void List::EnsureVisible(int index) {
  Control* row = GetItemAt(index);
  if (!row) return;
  SyncBody(scroll_, body_);
  scroll_->ensureWidgetVisible(row->Widget(), 0, 0);
}

void List::LineDown() {
  SyncBody(scroll_, body_);
  QScrollBar* bar = scroll_->verticalScrollBar();
  bar->setValue(bar->value() + Scale(item_height_));
}

void List::LineUp() {
  SyncBody(scroll_, body_);
  QScrollBar* bar = scroll_->verticalScrollBar();
  bar->setValue(bar->value() - Scale(item_height_));
}

void List::EndDown() {
  SyncBody(scroll_, body_);
  scroll_->verticalScrollBar()->setValue(scroll_->verticalScrollBar()->maximum());
}

void List::HomeUp() {
  SyncBody(scroll_, body_);
  scroll_->verticalScrollBar()->setValue(0);
}

int List::ColumnWidth(int column, int rowWidth, int columns) const {
  const int headerCount = header_ ? header_->GetCount() : 0;
  const int n = std::max(columns, headerCount);
  if (n <= 0) return rowWidth;
  if (headerCount == 0) return rowWidth / n;
  int fixedSum = 0, open = 0;
  for (int i = 0; i < n; ++i) {
    const Control* h = i < headerCount ? header_->GetItemAt(i) : nullptr;
    if (h && h->GetFixedWidth() > 0)
      fixedSum += Scale(h->GetFixedWidth());
    else
      ++open;
  }
  const Control* h = column < headerCount ? header_->GetItemAt(column) : nullptr;
  if (h && h->GetFixedWidth() > 0) return Scale(h->GetFixedWidth());
  return open > 0 ? std::max(0, rowWidth - fixedSum) / open : 0;
}

void List::SetAttribute(const QString& name, const QString& value) {
  if (name == u"itembkcolor")
    item_bk_ = AttrColor(name, value);
  else if (name == u"itemhotbkcolor")
    item_hot_bk_ = AttrColor(name, value);
  else if (name == u"itemselectedbkcolor")
    item_selected_bk_ = AttrColor(name, value);
  else if (name == u"itemtextcolor")
    item_text_ = AttrColor(name, value);
  else if (name == u"itemselectedtextcolor")
    item_selected_text_ = AttrColor(name, value);
  else if (name == u"itemfont")
    item_font_ = AttrInt(name, value, -1);
  else if (name == u"itemheight")
    item_height_ = AttrInt(name, value, 30);
  else if (name == u"itemalign") {
    Qt::Alignment a;
    if (attr::ParseAlign(value, &a))
      item_align_ = (a & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    else
      AttrError(name, value, QStringLiteral("left, center or right"));
  } else if (name == u"multiselect") {
    AttrBool(name, value);  // accepted; a list selects one row
  } else if (name == u"header") {
    header_hidden_ = value.trimmed().toLower() == u"hidden";
    if (header_) header_->SetVisible(!header_hidden_);
  } else {
    VerticalLayout::SetAttribute(name, value);
  }
  Invalidate();
}

}  // namespace zrv::ui
