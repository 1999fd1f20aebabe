#pragma once
// ControlWidget<QtBase>: a Qt widget that is also a skin Control. It routes the Qt events that
// every control shares (language change, hover, context menu, painting) to Control.

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

#include "ui/control.h"

namespace zrv::ui {

template <class QtBase>
class ControlWidget : public QtBase, public Control {
 public:
  explicit ControlWidget(QWidget* parent = nullptr) : QtBase(parent), Control(this) {}

 protected:
  bool event(QEvent* event) override {
    if (!IsDrawnByParent()) return QtBase::event(event);
    const QEvent::Type type = event->type();
    const QPointer<QWidget> alive(this);  // a click may delete the control
    const bool handled = QtBase::event(event);
    if (alive) OnEventHandled(type);
    return handled;
  }
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::LanguageChange) OnLanguageChanged();
    if (event->type() == QEvent::EnabledChange) QtBase::update();
    if (event->type() == QEvent::PaletteChange) KeepTextColours();
    QtBase::changeEvent(event);
  }
  void enterEvent(QEnterEvent* event) override {
    OnEnter();
    QtBase::enterEvent(event);
  }
  void leaveEvent(QEvent* event) override {
    OnLeave();
    QtBase::leaveEvent(event);
  }
  void contextMenuEvent(QContextMenuEvent* event) override {
    if (OnContextMenu(event->globalPos())) {
      event->accept();
      return;
    }
    QtBase::contextMenuEvent(event);
  }
  void paintEvent(QPaintEvent* event) override {
    // One painter when the library paints everything: a device picture repaints its key buttons
    // twenty times a second, and a painter per layer was a good part of that.
    if (PaintsItself()) {
      QPainter painter(this);
      PaintBackground(painter);
      PaintOverlay(painter);
      return;
    }
    {
      QPainter painter(this);
      PaintBackground(painter);
    }
    QtBase::paintEvent(event);
    QPainter painter(this);
    PaintOverlay(painter);
  }
};

}  // namespace zrv::ui
