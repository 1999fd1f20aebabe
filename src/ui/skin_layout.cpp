#include "ui/skin_layout.h"

#include <QWidget>
#include <QWidgetItem>

#include <algorithm>
#include <cmath>

#include "ui/control.h"

namespace zrv::ui {

namespace {

int Z(int v, double zoom) { return static_cast<int>(std::lround(v * zoom)); }

QMargins Z(const QMargins& m, double zoom) {
  return QMargins(Z(m.left(), zoom), Z(m.top(), zoom), Z(m.right(), zoom), Z(m.bottom(), zoom));
}

struct Child {
  QLayoutItem* item;
  QWidget* widget;
  Control* control;
};

// Size of a child along one axis: fixed when set, else 0 (shares the rest).
int FixedAlong(const Control* c, bool horizontal, double zoom) {
  if (!c) return 0;
  return Z(horizontal ? c->GetFixedWidth() : c->GetFixedHeight(), zoom);
}

int MinAlong(const Control* c, bool horizontal, double zoom) {
  if (!c) return 0;
  return Z(horizontal ? c->GetMinWidth() : c->GetMinHeight(), zoom);
}

int MaxAlong(const Control* c, bool horizontal, double zoom) {
  if (!c) return 0;
  return Z(horizontal ? c->GetMaxWidth() : c->GetMaxHeight(), zoom);
}

}  // namespace

SkinLayout::SkinLayout(Direction direction, QWidget* parent) : QLayout(parent), direction_(direction) {
  setContentsMargins(0, 0, 0, 0);
  setSpacing(0);
  setSizeConstraint(QLayout::SetNoConstraint);
}

SkinLayout::~SkinLayout() {
  while (!items_.isEmpty()) delete items_.takeFirst();
}

void SkinLayout::addItem(QLayoutItem* item) { items_.append(item); }

void SkinLayout::insertWidgetAt(int index, QWidget* widget) {
  addChildWidget(widget);
  index = std::clamp(index, 0, static_cast<int>(items_.size()));
  items_.insert(index, new QWidgetItem(widget));
  invalidate();
}

QLayoutItem* SkinLayout::itemAt(int index) const {
  return index >= 0 && index < items_.size() ? items_[index] : nullptr;
}

QLayoutItem* SkinLayout::takeAt(int index) {
  if (index < 0 || index >= items_.size()) return nullptr;
  QLayoutItem* item = items_.takeAt(index);
  invalidate();
  return item;
}

int SkinLayout::indexOfWidget(QWidget* widget) const {
  for (int i = 0; i < items_.size(); ++i) {
    if (items_[i]->widget() == widget) return i;
  }
  return -1;
}

QWidget* SkinLayout::widgetAt(int index) const {
  QLayoutItem* item = itemAt(index);
  return item ? item->widget() : nullptr;
}

void SkinLayout::moveItem(int from, int to) {
  if (from < 0 || from >= items_.size()) return;
  to = std::clamp(to, 0, static_cast<int>(items_.size()) - 1);
  items_.move(from, to);
  invalidate();
}

double SkinLayout::ZoomOf() const {
  const Control* c = Control::FromWidget(parentWidget());
  return c ? c->Zoom() : 1.0;
}

QSize SkinLayout::Content(bool minimum) const {
  const double zoom = ZoomOf();
  const QMargins inset = Z(inset_, zoom);
  int along = 0, across = 0, shown = 0;
  const bool horizontal = direction_ == Direction::kHorizontal;
  for (QLayoutItem* item : items_) {
    QWidget* w = item->widget();
    if (!w || w->isHidden()) continue;
    const Control* c = Control::FromWidget(w);
    if (c && c->IsFloat()) continue;
    const QMargins pad = c ? Z(c->GetPadding(), zoom) : QMargins();
    int width = c ? Z(c->GetFixedWidth(), zoom) : 0;
    int height = c ? Z(c->GetFixedHeight(), zoom) : 0;
    if (width == 0 && c) width = Z(c->GetMinWidth(), zoom);
    if (height == 0 && c) height = Z(c->GetMinHeight(), zoom);
    if (!c && minimum) {
      width = w->minimumSizeHint().width();
      height = w->minimumSizeHint().height();
    }
    width += pad.left() + pad.right();
    height += pad.top() + pad.bottom();
    ++shown;
    if (direction_ == Direction::kFill) {
      along = std::max(along, width);
      across = std::max(across, height);
    } else if (horizontal) {
      along += width;
      across = std::max(across, height);
    } else {
      along += height;
      across = std::max(across, width);
    }
  }
  if (direction_ != Direction::kFill && shown > 1) along += Z(child_padding_, zoom) * (shown - 1);
  QSize size = (direction_ == Direction::kVertical) ? QSize(across, along) : QSize(along, across);
  size += QSize(inset.left() + inset.right(), inset.top() + inset.bottom());
  return size;
}

QSize SkinLayout::sizeHint() const { return Content(false); }
QSize SkinLayout::minimumSize() const { return Content(true); }

void SkinLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  const double zoom = ZoomOf();
  const QRect area = rect.marginsRemoved(Z(inset_, zoom));
  QList<Child> flow;
  for (QLayoutItem* item : items_) {
    QWidget* w = item->widget();
    if (!w || w->isHidden()) continue;
    Control* c = Control::FromWidget(w);
    if (c && c->IsFloat()) {
      const QRect pos = c->GetFloatPos();
      QSize size(Z(pos.width(), zoom), Z(pos.height(), zoom));
      if (size.width() <= 0) size.setWidth(Z(c->GetFixedWidth(), zoom));
      if (size.height() <= 0) size.setHeight(Z(c->GetFixedHeight(), zoom));
      if (size.width() <= 0) size.setWidth(w->sizeHint().width());
      if (size.height() <= 0) size.setHeight(w->sizeHint().height());
      w->setGeometry(QRect(rect.topLeft() + QPoint(Z(pos.x(), zoom), Z(pos.y(), zoom)), size));
      continue;
    }
    flow.append({item, w, c});
  }
  if (flow.isEmpty()) return;

  if (direction_ == Direction::kFill) {
    for (const Child& ch : flow) {
      const QMargins pad = ch.control ? Z(ch.control->GetPadding(), zoom) : QMargins();
      QRect r = area.marginsRemoved(pad);
      const int fw = FixedAlong(ch.control, true, zoom);
      const int fh = FixedAlong(ch.control, false, zoom);
      if (fw > 0) {
        int x = r.left();
        if (child_align_ & Qt::AlignHCenter)
          x += (r.width() - fw) / 2;
        else if (child_align_ & Qt::AlignRight)
          x = r.right() + 1 - fw;
        r = QRect(x, r.top(), fw, r.height());
      }
      if (fh > 0) {
        int y = r.top();
        if (child_v_align_ & Qt::AlignVCenter)
          y += (r.height() - fh) / 2;
        else if (child_v_align_ & Qt::AlignBottom)
          y = r.bottom() + 1 - fh;
        r = QRect(r.left(), y, r.width(), fh);
      }
      ch.widget->setGeometry(r);
    }
    return;
  }

  const bool horizontal = direction_ == Direction::kHorizontal;
  const int gap = Z(child_padding_, zoom);
  const int total = horizontal ? area.width() : area.height();
  const int across = horizontal ? area.height() : area.width();

  // Sizes along the direction: fixed ones first, the rest shares what is left (respecting
  // minimum and maximum sizes; a child pinned by its limit leaves the share to the others).
  const int n = static_cast<int>(flow.size());
  QList<int> size(n, 0);
  QList<bool> decided(n, false);
  int used = gap * (n - 1);
  for (int i = 0; i < n; ++i) {
    const Control* c = flow[i].control;
    const QMargins pad = c ? Z(c->GetPadding(), zoom) : QMargins();
    used += horizontal ? pad.left() + pad.right() : pad.top() + pad.bottom();
    const int fixed = FixedAlong(c, horizontal, zoom);
    if (fixed > 0) {
      size[i] = fixed;
      decided[i] = true;
      used += fixed;
    }
  }
  for (int round = 0; round < n; ++round) {
    int open = 0;
    for (int i = 0; i < n; ++i) open += decided[i] ? 0 : 1;
    if (open == 0) break;
    const int share = std::max(0, (total - used) / open);
    bool pinned = false;
    for (int i = 0; i < n; ++i) {
      if (decided[i]) continue;
      const int mn = MinAlong(flow[i].control, horizontal, zoom);
      const int mx = MaxAlong(flow[i].control, horizontal, zoom);
      if (mn > 0 && share < mn) {
        size[i] = mn;
      } else if (mx > 0 && share > mx) {
        size[i] = mx;
      } else {
        continue;
      }
      decided[i] = true;
      used += size[i];
      pinned = true;
    }
    if (!pinned) {
      int rest = std::max(0, total - used);
      for (int i = 0; i < n; ++i) {
        if (decided[i]) continue;
        size[i] = share;
        rest -= share;
        decided[i] = true;
      }
      // The last shared child takes the pixels lost to integer division.
      for (int i = n - 1; i >= 0 && rest > 0; --i) {
        if (FixedAlong(flow[i].control, horizontal, zoom) == 0) {
          size[i] += rest;
          break;
        }
      }
      break;
    }
  }
  int sum = gap * (n - 1);
  for (int i = 0; i < n; ++i) {
    const Control* c = flow[i].control;
    const QMargins pad = c ? Z(c->GetPadding(), zoom) : QMargins();
    sum += size[i] + (horizontal ? pad.left() + pad.right() : pad.top() + pad.bottom());
  }
  int pos = horizontal ? area.left() : area.top();
  const Qt::Alignment alongAlign =
      horizontal ? (child_align_ & Qt::AlignHorizontal_Mask) : (child_v_align_ & Qt::AlignVertical_Mask);
  if (sum < total) {
    if (alongAlign & (Qt::AlignHCenter | Qt::AlignVCenter))
      pos += (total - sum) / 2;
    else if (alongAlign & (Qt::AlignRight | Qt::AlignBottom))
      pos += total - sum;
  }
  for (int i = 0; i < n; ++i) {
    const Control* c = flow[i].control;
    const QMargins pad = c ? Z(c->GetPadding(), zoom) : QMargins();
    const int crossFixed = FixedAlong(c, !horizontal, zoom);
    if (horizontal) {
      pos += pad.left();
      const int avail = across - pad.top() - pad.bottom();
      const int h = crossFixed > 0 ? crossFixed : avail;
      int y = area.top() + pad.top();
      if (crossFixed > 0 && (child_v_align_ & Qt::AlignVCenter))
        y += (avail - h) / 2;
      else if (crossFixed > 0 && (child_v_align_ & Qt::AlignBottom))
        y += avail - h;
      flow[i].widget->setGeometry(QRect(pos, y, size[i], h));
      pos += size[i] + pad.right() + gap;
    } else {
      pos += pad.top();
      const int avail = across - pad.left() - pad.right();
      const int w = crossFixed > 0 ? crossFixed : avail;
      int x = area.left() + pad.left();
      if (crossFixed > 0 && (child_align_ & Qt::AlignHCenter))
        x += (avail - w) / 2;
      else if (crossFixed > 0 && (child_align_ & Qt::AlignRight))
        x += avail - w;
      flow[i].widget->setGeometry(QRect(x, pos, w, size[i]));
      pos += size[i] + pad.bottom() + gap;
    }
  }
}

}  // namespace zrv::ui
