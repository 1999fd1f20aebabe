#pragma once
// Notifications: one per user action, delivered to the window's notify handler.

#include <QPoint>
#include <QString>

namespace zrv::ui {

class Control;

// The notification types. The strings are shared with the routing tables of the windows.
namespace notify {
inline constexpr const char* kWindowInit = "windowinit";
inline constexpr const char* kWindowSize = "windowsize";
inline constexpr const char* kClick = "click";
inline constexpr const char* kDbClick = "dbclick";
inline constexpr const char* kSelectChanged = "selectchanged";
inline constexpr const char* kValueChanged = "valuechanged";
inline constexpr const char* kMoveValueChanged = "movevaluechanged";
inline constexpr const char* kItemSelect = "itemselect";
inline constexpr const char* kItemClick = "itemclick";
inline constexpr const char* kItemActivate = "itemactivate";
inline constexpr const char* kTextChanged = "textchanged";
inline constexpr const char* kKillFocus = "killfocus";
inline constexpr const char* kSetFocus = "setfocus";
inline constexpr const char* kReturn = "return";
inline constexpr const char* kTimer = "timer";
inline constexpr const char* kColorChanged = "colorchanged";
inline constexpr const char* kMenu = "menu";
inline constexpr const char* kMouseEnter = "msenter";
inline constexpr const char* kMouseLeave = "msleave";
inline constexpr const char* kClickSelectEnd = "click_select_end";
}  // namespace notify

struct Notify {
  QString type;
  Control* sender = nullptr;
  qint64 wParam = 0;
  qint64 lParam = 0;
  QPoint ptMouse;  // pointer position in window coordinates when the action came from the mouse

  // The sender's control name (empty without sender).
  QString SenderName() const;
};

}  // namespace zrv::ui
