#pragma once
// The state every skin control has, whatever Qt widget it is: name, text or text id, user data,
// fixed size and padding in 96-DPI pixels, background, images, font id, timers and notifications.
//
// Control is a mixin: each concrete control derives from a Qt widget and from Control through
// ControlWidget<QtBase> (control_widget.h). The control name is the widget's objectName.

#include <QColor>
#include <QEvent>
#include <QHash>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <memory>

#include "ui/notify.h"

class QPainter;

namespace zrv::ui {

class WindowBase;
class Container;
class ControlTimers;

// Colour values are 0xAARRGGBB; 0 means "none" (nothing is drawn).
using Argb = quint32;

class Control {
 public:
  explicit Control(QWidget* self);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  QWidget* Widget() const { return self_; }
  // The element name of the class ("Button", "DeviceKeyButton", ...).
  virtual QString GetClass() const = 0;

  // ---- identity and data
  QString GetName() const;
  void SetName(const QString& name);
  QString GetUserData() const { return user_data_; }
  void SetUserData(const QString& data) { user_data_ = data; }
  qint64 GetTag() const { return tag_; }
  void SetTag(qint64 tag) { tag_ = tag; }

  // ---- text. With resource text on, the stored text is a text id and the control shows its
  // translation, again after every language change.
  QString GetText() const;  // what the control shows
  virtual void SetText(const QString& text);
  QString GetTextId() const { return text_; }  // the text as stored (the id with resource text)
  void SetResourceText(bool on);
  bool IsResourceText() const { return resource_text_; }
  // Convenience: SetText(id) with resource text on.
  void SetTextId(const QString& id);
  void SetToolTip(const QString& text);
  void SetResourceToolTip(bool on);
  QString GetToolTip() const;

  // ---- state
  void SetVisible(bool visible);
  bool IsVisible() const;  // the control's own flag (a hidden parent does not count)
  void SetEnabled(bool enabled);
  bool IsEnabled() const;
  // Moves the keyboard focus here; raises no setfocus/killfocus notification.
  void SetFocus();
  bool IsFocused() const;

  // ---- geometry, in 96-DPI pixels; the layout applies the window's zoom.
  void SetFixedWidth(int width);  // 0: not fixed
  void SetFixedHeight(int height);
  int GetFixedWidth() const { return fixed_.width(); }
  int GetFixedHeight() const { return fixed_.height(); }
  void SetMinWidth(int v);
  void SetMaxWidth(int v);
  void SetMinHeight(int v);
  void SetMaxHeight(int v);
  int GetMinWidth() const { return min_size_.width(); }
  int GetMaxWidth() const { return max_size_.width(); }
  int GetMinHeight() const { return min_size_.height(); }
  int GetMaxHeight() const { return max_size_.height(); }
  void SetPadding(const QMargins& padding);
  QMargins GetPadding() const { return padding_; }
  void SetFloat(bool on);
  bool IsFloat() const { return float_; }
  // Position and size relative to the parent; an empty size takes the fixed width and height.
  void SetFloatPos(const QRect& rect);
  QRect GetFloatPos() const { return float_pos_; }
  // The control's rectangle in its window's coordinates, in device-independent pixels as laid out.
  QRect GetPos() const;
  // Zoom of the window the control lives in (1.0 outside a window).
  double Zoom() const;
  int Scale(int px96) const;

  // ---- look
  void SetBkColor(Argb color);
  Argb GetBkColor() const { return bk_color_; }
  void SetBkImage(const QString& image);
  QString GetBkImage() const { return bk_image_; }
  void SetForeImage(const QString& image);
  QString GetForeImage() const { return fore_image_; }
  void SetBorderColor(Argb color);
  void SetBorderSize(int size);
  void SetBorderRound(const QSize& radii);
  bool HasBorder() const { return border_color_ != 0 && border_size_ > 0; }
  void SetFont(int fontId);  // -1: the window's default font
  int GetFont() const { return font_id_; }
  void SetTextColor(Argb color);
  Argb GetTextColor() const { return text_color_; }
  void SetDisabledTextColor(Argb color);
  Argb GetDisabledTextColor() const { return disabled_text_color_; }
  void SetTextPadding(const QMargins& padding);
  QMargins GetTextPadding() const { return text_padding_; }
  // Qt alignment flags of the text.
  void SetTextAlign(Qt::Alignment align);
  Qt::Alignment GetTextAlign() const { return text_align_; }
  // Applies the font of the window's table at the current zoom (called on zoom and table changes).
  void ApplyFont();
  // The window's zoom changed: fonts, text margins and sizes follow.
  virtual void ZoomChanged();

  // ---- attributes (layout vocabulary). Unknown names are kept as custom attributes.
  // Subclasses handle their own names and pass the rest to their base class.
  virtual void SetAttribute(const QString& name, const QString& value);
  // "name='value' name2='value2'": what Style and Default elements hold.
  void ApplyAttributeList(const QString& list);
  QString GetCustomAttribute(const QString& name) const { return custom_.value(name); }
  bool HasCustomAttribute(const QString& name) const { return custom_.contains(name); }
  // The skin style last applied with the "style" attribute.
  QString GetStyleName() const { return style_name_; }

  // ---- notifications and timers
  void SendNotify(const QString& type, qint64 wParam = 0, qint64 lParam = 0);
  void SendNotify(const QString& type, qint64 wParam, qint64 lParam, const QPoint& pt);
  void SetHoverNotify(bool on) { hover_notify_ = on; }
  void SetMenuNotify(bool on) { menu_notify_ = on; }
  // Periodic timer; the same id again restarts it. Fires DoTimer(id).
  bool SetTimer(int id, int milliseconds);
  void KillTimer(int id);
  void KillAllTimers();
  bool HasTimer(int id) const;
  // Default: raises the "timer" notification with the id as wParam.
  virtual void DoTimer(int id);
  // Called once by the builder when the element's whole subtree exists.
  virtual void DoInit() {}

  // ---- tree
  WindowBase* GetWindow() const;
  Container* GetParentContainer() const;
  void Invalidate();  // repaint
  void NeedUpdate();  // lay out again and repaint
  // A control drawn by its parent container's painter (the key buttons of a device picture): Qt
  // no longer paints it on its own, which spares a paint event per control and frame, and its
  // repaints, and the events that change its look, repaint its rectangle in the parent instead.
  // Only a container draws children: elsewhere the call changes nothing.
  void SetDrawnByParent(bool drawn);
  bool IsDrawnByParent() const { return drawn_by_parent_; }
  // True for controls that a container they are added to draws (SetDrawnByParent).
  virtual bool DrawnByContainer() const { return false; }

  // The Control behind a widget, or null.
  static Control* FromWidget(QWidget* widget);

  // ---- painting; ControlWidget calls these around the Qt widget's own painting.
  // Background colour, background image, status image (below the Qt painting).
  virtual void PaintBackground(QPainter& painter);
  // Text, fore image and border (above the Qt painting).
  virtual void PaintOverlay(QPainter& painter);
  virtual void PaintBkColor(QPainter& painter);
  virtual void PaintBkImage(QPainter& painter);
  virtual void PaintStatusImage(QPainter& painter);
  virtual void PaintText(QPainter& painter);
  virtual void PaintForeImage(QPainter& painter);
  virtual void PaintBorder(QPainter& painter);
  // True when the library paints the control entirely (the Qt widget's own painting is skipped).
  virtual bool PaintsItself() const { return false; }
  // True when an opaque background colour, if set, covers the whole rectangle whatever the
  // control's state (containers): Qt then need not repaint what lies behind it.
  virtual bool BkColorCoversRect() const { return false; }
  // True when PaintBkColor and PaintBkImage draw the colour and image attributes and nothing that
  // follows the control's state (containers): an opaque colour under an image is then drawn from
  // one image of both, made again when one of them, the size or the zoom changes.
  virtual bool BackgroundFollowsAttributes() const { return false; }
  // Draws an image string over the control's rectangle (dest/source as the string says).
  bool DrawImage(QPainter& painter, const QString& imageString) const;

  // ---- called by ControlWidget on events
  void OnLanguageChanged();
  // The widget's palette was replaced (the style sheet machinery does that when a control built
  // on its own is put into a window): the text colours of the skin are put back.
  void KeepTextColours();
  void OnEnter();
  void OnLeave();
  bool OnContextMenu(const QPoint& globalPos);
  // After an event that may change the look of a control drawn by its parent.
  void OnEventHandled(QEvent::Type type);

 protected:
  // Attribute value parsers: report a bad value to the builder (file and line) or the debug
  // output, and return the fallback.
  int AttrInt(const QString& name, const QString& value, int fallback = 0) const;
  bool AttrBool(const QString& name, const QString& value) const;
  Argb AttrColor(const QString& name, const QString& value) const;
  // "l,t,r,b" (four integers).
  QMargins AttrMargins(const QString& name, const QString& value) const;
  QSize AttrSize(const QString& name, const QString& value) const;
  void AttrError(const QString& name, const QString& value, const QString& why) const;

  // Refreshes what the control shows from text_/resource_text_ (QLabel text, button text, ...).
  virtual void UpdateShownText();
  // Applies the font to the widget; composite controls override it to reach their parts.
  virtual void ApplyQFont(const QFont& font);
  // Shown text after translation.
  QString ShownText() const;
  // Keeps a text the user typed (plain text, no id) without touching the widget.
  void StoreText(const QString& text);
  bool IsHot() const { return hot_; }

 private:
  friend class ControlTimers;
  void UpdateToolTip();
  void UpdateOpaquePaint();
  // Draws the colour and image from the kept image of both; false when that does not apply.
  bool PaintKeptBackground(QPainter& painter);

  QWidget* self_;
  QString text_;
  bool resource_text_ = false;
  QString tool_tip_;
  bool resource_tool_tip_ = false;
  QString user_data_;
  qint64 tag_ = 0;
  QSize fixed_{0, 0};
  QSize min_size_{0, 0};
  QSize max_size_{0, 0};
  QMargins padding_;
  bool float_ = false;
  QRect float_pos_;
  Argb bk_color_ = 0;
  QString bk_image_;
  QString fore_image_;
  Argb border_color_ = 0;
  int border_size_ = 0;
  QSize border_round_{0, 0};
  int font_id_ = -1;
  Argb text_color_ = 0;
  Argb disabled_text_color_ = 0;
  QMargins text_padding_;
  Qt::Alignment text_align_ = Qt::AlignLeft | Qt::AlignVCenter;
  QHash<QString, QString> custom_;
  QString style_name_;
  bool hover_notify_ = false;
  bool menu_notify_ = false;
  bool hot_ = false;
  bool drawn_by_parent_ = false;
  struct KeptBackground;
  std::unique_ptr<KeptBackground> kept_background_;
  ControlTimers* timers_ = nullptr;
};

// True while Control::SetFocus moves the focus (focus notifications are for the user's moves).
bool CodeFocusChangeActive();
// The window a builder is building for (controls of a subtree not yet attached use it).
WindowBase* BuildingWindow();
class BuildingWindowScope {
 public:
  explicit BuildingWindowScope(WindowBase* window);
  ~BuildingWindowScope();
  BuildingWindowScope(const BuildingWindowScope&) = delete;
  BuildingWindowScope& operator=(const BuildingWindowScope&) = delete;

 private:
  WindowBase* previous_;
};

// Typed lookups over a widget tree.
template <class T = Control>
T* ControlCast(QWidget* widget) {
  return dynamic_cast<T*>(Control::FromWidget(widget));
}

}  // namespace zrv::ui
