#include "app/window_fit.h"

#include "platform/debug_output.h"

namespace zrv::app {
namespace {

constexpr int kLargeScreenWidth = 1500;
constexpr int kLargeScreenHeight = 960;
constexpr int kLargeDpi = 144;
constexpr int kNormalDpi = 96;

constexpr int kAlignLeftTop = 2 | 4;
constexpr int kAlignTopRight = 4 | 8;
constexpr int kAlignLeftBottom = 2 | 16;
constexpr int kAlignRightBottom = 8 | 16;
constexpr int kAboveBottomPanel = 20;

}  // namespace

int FitDpiForScreen(const QSize& screen) {
  return screen.width() > kLargeScreenWidth && screen.height() > kLargeScreenHeight ? kLargeDpi : kNormalDpi;
}

bool IsWindowDpi(int dpi) {
  switch (dpi) {
    case 48:
    case 72:
    case 96:
    case 120:
    case 144:
    case 168:
    case 192: return true;
    default: return false;
  }
}

int CheckedWindowDpi(int dpi) {
  if (IsWindowDpi(dpi)) return dpi;
  platform::DebugOut("MAIN_WND DPI SET ERROR");
  return kNormalDpi;
}

QRect PanelRect(const QRect& screen, const QRect& available) {
  const QRect local = available.translated(-screen.topLeft());
  const int width = screen.width();
  const int height = screen.height();
  if (local.top() > 0) return {0, 0, width, local.top()};
  if (local.left() > 0) return {0, 0, local.left(), height};
  if (local.bottom() < height - 1) return {0, local.bottom() + 1, width, height - 1 - local.bottom()};
  if (local.right() < width - 1) return {local.right() + 1, 0, width - 1 - local.right(), height};
  return {};
}

MenuPlacement TrayMenuPlacement(const QPoint& cursor, const QRect& panel) {
  if (panel.isEmpty()) return {cursor, kAlignLeftTop};
  if (panel.left() == 0 && panel.top() == 0 && panel.width() > panel.height()) {
    return {QPoint(cursor.x(), panel.height() + 1), kAlignTopRight};
  }
  if (panel.left() == 0 && panel.top() == 0 && panel.height() > panel.width()) {
    return {QPoint(panel.width() + 1, cursor.y()), kAlignLeftBottom};
  }
  if (panel.left() == 0 && panel.top() > 0)
    return {QPoint(cursor.x(), panel.top() - kAboveBottomPanel), kAlignRightBottom};
  if (panel.left() > 0 && panel.top() == 0) return {QPoint(panel.left() - 1, cursor.y()), kAlignRightBottom};
  return {cursor, kAlignLeftTop};
}

}  // namespace zrv::app
