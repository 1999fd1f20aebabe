#include "ui/control.h"

#include <QCursor>
#include <QFont>
#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyle>

#include <cmath>

#include "ui/attribute_parse.h"
#include "ui/containers.h"
#include "ui/control_timers.h"
#include "ui/direct_pixels.h"
#include "ui/language.h"
#include "ui/render.h"
#include "ui/resources.h"
#include "ui/window.h"

namespace zrv::ui {

namespace {

// A code-made focus change raises no setfocus/killfocus (see Edit).
int g_codeFocus = 0;

Qt::CursorShape CursorByName(const QString& name, bool* ok) {
  static const QHash<QString, Qt::CursorShape> kShapes = {
      {"arrow", Qt::ArrowCursor},    {"ibeam", Qt::IBeamCursor},        {"wait", Qt::WaitCursor},
      {"cross", Qt::CrossCursor},    {"uparrow", Qt::UpArrowCursor},    {"size", Qt::SizeAllCursor},
      {"icon", Qt::ArrowCursor},     {"sizenwse", Qt::SizeFDiagCursor}, {"sizenesw", Qt::SizeBDiagCursor},
      {"sizewe", Qt::SizeHorCursor}, {"sizens", Qt::SizeVerCursor},     {"sizeall", Qt::SizeAllCursor},
      {"no", Qt::ForbiddenCursor},   {"hand", Qt::PointingHandCursor},
  };
  auto it = kShapes.find(name.trimmed().toLower());
  *ok = it != kShapes.end();
  return *ok ? it.value() : Qt::ArrowCursor;
}

}  // namespace

bool CodeFocusChangeActive() { return g_codeFocus > 0; }

namespace {
WindowBase* g_buildingWindow = nullptr;
}

WindowBase* BuildingWindow() { return g_buildingWindow; }

BuildingWindowScope::BuildingWindowScope(WindowBase* window) : previous_(g_buildingWindow) {
  if (window) g_buildingWindow = window;
}

BuildingWindowScope::~BuildingWindowScope() { g_buildingWindow = previous_; }

Control::Control(QWidget* self) : self_(self) {}

Control::~Control() {
  delete timers_;
  timers_ = nullptr;
}

QString Control::GetName() const { return self_->objectName(); }

void Control::SetName(const QString& name) { self_->setObjectName(name); }

QString Control::ShownText() const { return resource_text_ ? TextById(text_) : text_; }

QString Control::GetText() const { return ShownText(); }

void Control::SetText(const QString& text) {
  text_ = text;
  UpdateShownText();
  Invalidate();
}

void Control::SetResourceText(bool on) {
  if (resource_text_ == on) return;
  resource_text_ = on;
  UpdateShownText();
  Invalidate();
}

void Control::SetTextId(const QString& id) {
  resource_text_ = true;
  SetText(id);
}

void Control::StoreText(const QString& text) {
  text_ = text;
  resource_text_ = false;
}

void Control::SetToolTip(const QString& text) {
  tool_tip_ = text;
  UpdateToolTip();
}

void Control::SetResourceToolTip(bool on) {
  resource_tool_tip_ = on;
  UpdateToolTip();
}

QString Control::GetToolTip() const { return self_->toolTip(); }

void Control::UpdateToolTip() {
  self_->setToolTip(resource_tool_tip_ && !tool_tip_.isEmpty() ? TextById(tool_tip_) : tool_tip_);
}

void Control::UpdateShownText() {}

void Control::OnLanguageChanged() {
  if (resource_text_) {
    UpdateShownText();
    Invalidate();
  }
  if (resource_tool_tip_) UpdateToolTip();
}

void Control::SetVisible(bool visible) {
  // Always through setVisible: a hide before the control joins its parent must stick.
  self_->setVisible(visible);
  NeedUpdate();
}

bool Control::IsVisible() const { return !self_->isHidden(); }

void Control::SetEnabled(bool enabled) { self_->setEnabled(enabled); }

bool Control::IsEnabled() const { return self_->isEnabled(); }

void Control::SetFocus() {
  ++g_codeFocus;
  self_->setFocus(Qt::OtherFocusReason);
  --g_codeFocus;
}

bool Control::IsFocused() const { return self_->hasFocus(); }

void Control::SetFixedWidth(int width) {
  fixed_.setWidth(std::max(0, width));
  NeedUpdate();
}

void Control::SetFixedHeight(int height) {
  fixed_.setHeight(std::max(0, height));
  NeedUpdate();
}

void Control::SetMinWidth(int v) {
  min_size_.setWidth(std::max(0, v));
  NeedUpdate();
}

void Control::SetMaxWidth(int v) {
  max_size_.setWidth(std::max(0, v));
  NeedUpdate();
}

void Control::SetMinHeight(int v) {
  min_size_.setHeight(std::max(0, v));
  NeedUpdate();
}

void Control::SetMaxHeight(int v) {
  max_size_.setHeight(std::max(0, v));
  NeedUpdate();
}

void Control::SetPadding(const QMargins& padding) {
  padding_ = padding;
  NeedUpdate();
}

void Control::SetFloat(bool on) {
  float_ = on;
  NeedUpdate();
}

void Control::SetFloatPos(const QRect& rect) {
  float_pos_ = rect;
  NeedUpdate();
}

QRect Control::GetPos() const {
  QWidget* top = self_->window();
  return QRect(self_->mapTo(top, QPoint(0, 0)), self_->size());
}

double Control::Zoom() const {
  const WindowBase* w = GetWindow();
  return w ? w->GetZoom() : 1.0;
}

int Control::Scale(int px96) const { return static_cast<int>(std::lround(px96 * Zoom())); }

void Control::SetBkColor(Argb color) {
  bk_color_ = color;
  UpdateOpaquePaint();
  Invalidate();
}

void Control::UpdateOpaquePaint() {
  // A repaint inside an opaque control (a device picture, twenty times a second) then stops at it
  // instead of repainting every layer of the window behind it.
  if (!BkColorCoversRect()) return;
  const bool rounded = border_round_.width() > 0 || border_round_.height() > 0;
  self_->setAttribute(Qt::WA_OpaquePaintEvent, (bk_color_ >> 24) == 0xFF && !rounded);
}

void Control::SetBkImage(const QString& image) {
  bk_image_ = image;
  Invalidate();
}

void Control::SetForeImage(const QString& image) {
  fore_image_ = image;
  Invalidate();
}

void Control::SetBorderColor(Argb color) {
  border_color_ = color;
  Invalidate();
}

void Control::SetBorderSize(int size) {
  border_size_ = std::max(0, size);
  Invalidate();
}

void Control::SetBorderRound(const QSize& radii) {
  border_round_ = radii;
  UpdateOpaquePaint();
  Invalidate();
}

void Control::SetFont(int fontId) {
  font_id_ = fontId;
  ApplyFont();
}

void Control::ApplyFont() {
  // Without a font id the control inherits the window's default font from its parent.
  if (font_id_ < 0) {
    ApplyQFont(QFont());
    return;
  }
  const WindowBase* w = GetWindow();
  if (!w) return;
  ApplyQFont(w->MakeFont(font_id_));
}

void Control::ApplyQFont(const QFont& font) { self_->setFont(font); }

void Control::ZoomChanged() {
  ApplyFont();
  UpdateShownText();
  NeedUpdate();
}

void Control::SetTextColor(Argb color) {
  text_color_ = color;
  if (color != 0) {
    QPalette p = self_->palette();
    const QColor c = QColor::fromRgba(color);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    p.setColor(QPalette::Text, c);
    self_->setPalette(p);
  }
  Invalidate();
}

void Control::KeepTextColours() {
  const QPalette& p = self_->palette();
  const auto differs = [&p](QPalette::ColorGroup group, Argb color) {
    return color != 0 && p.color(group, QPalette::WindowText).rgba() != color;
  };
  // Only on a real difference: setting the palette raises this again.
  if (differs(QPalette::Active, text_color_) || differs(QPalette::Inactive, text_color_)) SetTextColor(text_color_);
  if (differs(QPalette::Disabled, disabled_text_color_)) SetDisabledTextColor(disabled_text_color_);
}

void Control::SetDisabledTextColor(Argb color) {
  disabled_text_color_ = color;
  if (color != 0) {
    QPalette p = self_->palette();
    const QColor c = QColor::fromRgba(color);
    p.setColor(QPalette::Disabled, QPalette::WindowText, c);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, c);
    p.setColor(QPalette::Disabled, QPalette::Text, c);
    self_->setPalette(p);
  }
  Invalidate();
}

void Control::SetTextPadding(const QMargins& padding) {
  text_padding_ = padding;
  UpdateShownText();
  Invalidate();
}

void Control::SetTextAlign(Qt::Alignment align) {
  text_align_ = align;
  UpdateShownText();
  Invalidate();
}

// ---- attributes

int Control::AttrInt(const QString& name, const QString& value, int fallback) const {
  int v = 0;
  if (attr::ParseInt(value, &v)) return v;
  AttrError(name, value, QStringLiteral("an integer"));
  return fallback;
}

bool Control::AttrBool(const QString& name, const QString& value) const {
  bool v = false;
  if (attr::ParseBool(value, &v)) return v;
  AttrError(name, value, QStringLiteral("true or false"));
  return false;
}

Argb Control::AttrColor(const QString& name, const QString& value) const {
  quint32 v = 0;
  if (attr::ParseColor(value, &v)) return v;
  AttrError(name, value, QStringLiteral("a colour (#RRGGBB or #AARRGGBB)"));
  return 0;
}

QMargins Control::AttrMargins(const QString& name, const QString& value) const {
  QMargins m;
  if (attr::ParseMargins(value, &m)) return m;
  AttrError(name, value, QStringLiteral("four integers \"l,t,r,b\""));
  return QMargins();
}

QSize Control::AttrSize(const QString& name, const QString& value) const {
  QSize s;
  if (attr::ParseSize(value, &s)) return s;
  AttrError(name, value, QStringLiteral("two integers \"w,h\""));
  return QSize(0, 0);
}

void Control::AttrError(const QString& name, const QString& value, const QString& why) const {
  attr::ReportError(QStringLiteral("attribute %1=\"%2\" of %3 must be %4")
                        .arg(name, value, const_cast<Control*>(this)->GetClass(), why));
}

void Control::SetAttribute(const QString& name, const QString& value) {
  if (name == u"name") {
    SetName(value);
  } else if (name == u"text") {
    SetText(value);
  } else if (name == u"resourcetext") {
    SetResourceText(AttrBool(name, value));
  } else if (name == u"tooltip") {
    SetToolTip(value);
  } else if (name == u"resourcetooltip") {
    SetResourceToolTip(AttrBool(name, value));
  } else if (name == u"width") {
    SetFixedWidth(AttrInt(name, value));
  } else if (name == u"height") {
    SetFixedHeight(AttrInt(name, value));
  } else if (name == u"minwidth") {
    SetMinWidth(AttrInt(name, value));
  } else if (name == u"maxwidth") {
    SetMaxWidth(AttrInt(name, value));
  } else if (name == u"minheight") {
    SetMinHeight(AttrInt(name, value));
  } else if (name == u"maxheight") {
    SetMaxHeight(AttrInt(name, value));
  } else if (name == u"float") {
    SetFloat(AttrBool(name, value));
  } else if (name == u"pos") {
    const QMargins m = AttrMargins(name, value);
    const int w = m.right() > m.left() ? m.right() - m.left() : 0;
    const int h = m.bottom() > m.top() ? m.bottom() - m.top() : 0;
    SetFloatPos(QRect(m.left(), m.top(), w, h));
  } else if (name == u"padding") {
    SetPadding(AttrMargins(name, value));
  } else if (name == u"visible") {
    SetVisible(AttrBool(name, value));
  } else if (name == u"enabled") {
    SetEnabled(AttrBool(name, value));
  } else if (name == u"userdata") {
    SetUserData(value);
  } else if (name == u"tag") {
    SetTag(AttrInt(name, value));
  } else if (name == u"bkcolor") {
    SetBkColor(AttrColor(name, value));
  } else if (name == u"bkimage") {
    SetBkImage(value);
  } else if (name == u"foreimage") {
    SetForeImage(value);
  } else if (name == u"bordercolor") {
    SetBorderColor(AttrColor(name, value));
  } else if (name == u"bordersize") {
    SetBorderSize(AttrInt(name, value));
  } else if (name == u"borderround") {
    SetBorderRound(AttrSize(name, value));
  } else if (name == u"font") {
    SetFont(AttrInt(name, value, -1));
  } else if (name == u"textcolor") {
    SetTextColor(AttrColor(name, value));
  } else if (name == u"disabledtextcolor") {
    SetDisabledTextColor(AttrColor(name, value));
  } else if (name == u"align" || name == u"valign") {
    Qt::Alignment a;
    if (!attr::ParseAlign(value, &a)) {
      AttrError(name, value, QStringLiteral("left, center, right, top, vcenter or bottom"));
      return;
    }
    Qt::Alignment now = text_align_;
    if (a & Qt::AlignHorizontal_Mask) now = (now & ~Qt::AlignHorizontal_Mask) | (a & Qt::AlignHorizontal_Mask);
    if (a & Qt::AlignVertical_Mask) now = (now & ~Qt::AlignVertical_Mask) | (a & Qt::AlignVertical_Mask);
    SetTextAlign(now);
  } else if (name == u"textpadding") {
    SetTextPadding(AttrMargins(name, value));
  } else if (name == u"cursor") {
    bool ok = false;
    const Qt::CursorShape shape = CursorByName(value, &ok);
    if (ok)
      self_->setCursor(shape);
    else
      AttrError(name, value, QStringLiteral("a cursor name (arrow, hand, ibeam, ...)"));
  } else if (name == u"menu") {
    SetMenuNotify(AttrBool(name, value));
  } else if (name == u"hovernotify") {
    SetHoverNotify(AttrBool(name, value));
  } else if (name == u"style") {
    const WindowBase* w = GetWindow();
    QString list = w ? w->GetStyle(value) : QString();
    if (list.isEmpty()) list = Resources::Instance().GetGlobalStyle(value);
    style_name_ = value;
    self_->setProperty("style", value);
    if (!list.isEmpty()) ApplyAttributeList(list);
    self_->style()->unpolish(self_);
    self_->style()->polish(self_);
    Invalidate();
  } else {
    custom_.insert(name, value);
  }
}

void Control::ApplyAttributeList(const QString& list) {
  QList<QPair<QString, QString>> pairs;
  QString error;
  if (!attr::ParseAttributeList(list, &pairs, &error)) {
    attr::ReportError(QStringLiteral("attribute list \"%1\": %2").arg(list, error));
    return;
  }
  for (const auto& [name, value] : pairs) SetAttribute(name, value);
}

// ---- notifications and timers

void Control::SendNotify(const QString& type, qint64 wParam, qint64 lParam) {
  SendNotify(type, wParam, lParam, QPoint());
}

void Control::SendNotify(const QString& type, qint64 wParam, qint64 lParam, const QPoint& pt) {
  WindowBase* w = GetWindow();
  if (!w) return;
  Notify msg;
  msg.type = type;
  msg.sender = this;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.ptMouse = pt;
  w->SendNotify(msg);
}

bool Control::SetTimer(int id, int milliseconds) {
  if (!timers_) timers_ = new ControlTimers(this, self_);
  return timers_->Start(id, milliseconds);
}

void Control::KillTimer(int id) {
  if (timers_) timers_->Stop(id);
}

void Control::KillAllTimers() {
  if (timers_) timers_->StopAll();
}

bool Control::HasTimer(int id) const { return timers_ && timers_->Has(id); }

void Control::DoTimer(int id) { SendNotify(QString::fromLatin1(notify::kTimer), id); }

// ---- tree

WindowBase* Control::GetWindow() const {
  if (auto* w = dynamic_cast<WindowBase*>(self_->window())) return w;
  // A subtree being built for a window is not inside it yet.
  return BuildingWindow();
}

Container* Control::GetParentContainer() const {
  for (QWidget* p = self_->parentWidget(); p; p = p->parentWidget()) {
    if (auto* c = dynamic_cast<Container*>(Control::FromWidget(p))) return c;
  }
  return nullptr;
}

void Control::Invalidate() {
  QWidget* parent = self_->parentWidget();
  if (drawn_by_parent_ && parent != nullptr) {
    if (self_->isVisible()) parent->update(self_->geometry());
    return;
  }
  self_->update();
}

void Control::SetDrawnByParent(bool drawn) {
  auto* container = dynamic_cast<Container*>(FromWidget(self_->parentWidget()));
  if (drawn == drawn_by_parent_ || container == nullptr) return;
  drawn_by_parent_ = drawn;
  container->AdoptDrawnChild(this, drawn);
  self_->setUpdatesEnabled(!drawn);  // Qt's paint pass skips a child whose updates are off
  Invalidate();
}

void Control::OnEventHandled(QEvent::Type type) {
  if (!drawn_by_parent_) return;
  switch (type) {
    // Qt repaints a button itself on these (pressed, focus, enabled), which it cannot while the
    // control's updates are off; a move or a hide leaves the old rectangle to repaint too.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize: Invalidate(); break;
    case QEvent::Hide:
      if (QWidget* parent = self_->parentWidget()) parent->update(self_->geometry());
      break;
    default: break;
  }
}

void Control::NeedUpdate() {
  QWidget* parent = self_->parentWidget();
  if (parent && parent->layout()) parent->layout()->invalidate();
  if (self_->layout()) self_->layout()->invalidate();
  self_->updateGeometry();
  Invalidate();
}

Control* Control::FromWidget(QWidget* widget) { return dynamic_cast<Control*>(widget); }

// ---- painting

struct Control::KeptBackground {
  QImage image;
  Argb colour;
  QString image_string;
  double zoom;
};

bool Control::PaintKeptBackground(QPainter& painter) {
  const bool rounded = border_round_.width() > 0 || border_round_.height() > 0;
  if (!BackgroundFollowsAttributes() || (bk_color_ >> 24) != 0xFF || rounded || bk_image_.isEmpty()) {
    kept_background_.reset();
    return false;
  }
  // Blitted 1:1, so only where the painter lands on whole device pixels unscaled.
  if (!render::LandsOnWholePixels(painter)) return false;
  const qreal scale = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
  const QSize pixels(static_cast<int>(std::ceil(self_->width() * scale)),
                     static_cast<int>(std::ceil(self_->height() * scale)));
  if (pixels.isEmpty() || qint64{pixels.width()} * pixels.height() > 1024 * 1024) return false;  // memory
  KeptBackground* kept = kept_background_.get();
  if (kept == nullptr || kept->image.size() != pixels || kept->image.devicePixelRatio() != scale ||
      kept->colour != bk_color_ || kept->zoom != Zoom() || kept->image_string != bk_image_) {
    kept_background_ = std::make_unique<KeptBackground>(
        KeptBackground{QImage(pixels, QImage::Format_RGB32), bk_color_, bk_image_, Zoom()});
    kept = kept_background_.get();
    kept->image.setDevicePixelRatio(scale);
    kept->image.fill(QColor::fromRgba(bk_color_));
    QPainter p(&kept->image);
    PaintBkImage(p);
  }
  // Copied row by row where the painter's pixels allow: a picture's frame repaints a few boxes, which
  // the engine would copy span by span, spread over its thread pool.
  const std::optional<render::PixelTarget> target = render::DirectTarget(painter, self_->rect());
  if (!target || !render::CopyInto(*target, kept->image)) painter.drawImage(QPoint(0, 0), kept->image);
  return true;
}

void Control::PaintBackground(QPainter& painter) {
  if (!PaintKeptBackground(painter)) {
    PaintBkColor(painter);
    PaintBkImage(painter);
  }
  PaintStatusImage(painter);
}

void Control::PaintOverlay(QPainter& painter) {
  PaintText(painter);
  PaintForeImage(painter);
  PaintBorder(painter);
}

void Control::PaintBkColor(QPainter& painter) {
  if (bk_color_ == 0) return;
  if (border_round_.width() > 0 || border_round_.height() > 0) {
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(self_->rect()), Scale(border_round_.width()), Scale(border_round_.height()));
    painter.fillPath(path, QColor::fromRgba(bk_color_));
  } else {
    render::DrawColor(painter, self_->rect(), bk_color_);
  }
}

void Control::PaintBkImage(QPainter& painter) {
  if (!bk_image_.isEmpty()) DrawImage(painter, bk_image_);
}

void Control::PaintStatusImage(QPainter& painter) { (void)painter; }

void Control::PaintText(QPainter& painter) { (void)painter; }

void Control::PaintForeImage(QPainter& painter) {
  if (!fore_image_.isEmpty()) DrawImage(painter, fore_image_);
}

void Control::PaintBorder(QPainter& painter) {
  if (border_color_ == 0 || border_size_ <= 0) return;
  const int size = std::max(1, Scale(border_size_));
  if (border_round_.width() > 0 || border_round_.height() > 0) {
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor::fromRgba(border_color_), size);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal half = size / 2.0;
    painter.drawRoundedRect(QRectF(self_->rect()).adjusted(half, half, -half, -half), Scale(border_round_.width()),
                            Scale(border_round_.height()));
  } else {
    render::DrawRect(painter, self_->rect(), size, border_color_);
  }
}

bool Control::DrawImage(QPainter& painter, const QString& imageString) const {
  return render::DrawImageString(painter, self_->rect(), imageString, Zoom());
}

// ---- events

void Control::OnEnter() {
  hot_ = true;
  Invalidate();
  if (hover_notify_ && self_->isEnabled()) SendNotify(QString::fromLatin1(notify::kMouseEnter));
}

void Control::OnLeave() {
  hot_ = false;
  Invalidate();
  if (hover_notify_ && self_->isEnabled()) SendNotify(QString::fromLatin1(notify::kMouseLeave));
}

bool Control::OnContextMenu(const QPoint& globalPos) {
  if (!menu_notify_) return false;
  QWidget* top = self_->window();
  const QPoint p = top->mapFromGlobal(globalPos);
  SendNotify(QString::fromLatin1(notify::kMenu), p.x(), p.y(), p);
  return true;
}

}  // namespace zrv::ui
