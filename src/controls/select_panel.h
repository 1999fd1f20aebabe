#pragma once
// CSelectPanelUI ("SelectPanel"): the container that holds the key buttons of a device picture and
// lets the user select a group of them by dragging a rectangle over the picture.
//
// The drag starts on the panel itself (a press on a key button is the button's). On release every
// direct child whose class is exactly "DeviceKeyButton" is selected when its rectangle and the
// dragged one overlap (touching edges do not count) and deselected otherwise, and
// "click_select_end" is raised. A press and release without a move in between changes nothing.

#include <QPoint>

#include "ui/containers.h"

class QMouseEvent;
class QPaintEvent;
class QPainter;

namespace zrv::controls {

class CSelectPanelUI : public ui::VerticalLayout {
  Q_OBJECT
 public:
  static constexpr ui::Argb kSelectFill = 0x460099FF;
  static constexpr ui::Argb kSelectBorder = 0xFF0099FF;
  static constexpr int kSelectBorderSize = 2;

  explicit CSelectPanelUI(QWidget* parent = nullptr);
  ~CSelectPanelUI() override;
  QString GetClass() const override { return QStringLiteral("SelectPanel"); }

  bool IsDragging() const { return dragging_; }
  // The dragged rectangle in window coordinates, right and bottom exclusive (empty on a straight
  // line); it keeps the last drag's rectangle after the release.
  QRect GetSelectRect() const;
  // Colours of the selection pass through here. The library keeps no window-wide hue adjustment,
  // so they are drawn as given.
  ui::Argb GetAdjustColor(ui::Argb colour) const { return colour; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  class Band;
  friend class Band;
  // The rectangle over the key buttons while dragging; the band widget calls it.
  void PaintSelection(QPainter& painter, const QRect& rect) const;
  void ShowBand();
  void SelectKeyButtons();

  bool pressed_ = false;
  bool dragging_ = false;
  QPoint anchor_;
  QPoint current_;
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  // Children paint over their parent, so the rectangle lies on a transparent child of its own,
  // raised above the key buttons and kept out of the layout.
  Band* band_ = nullptr;
};

}  // namespace zrv::controls
