#pragma once
// Input capture inside this program's own windows, where no desktop-wide capture is possible (a
// Wayland session, or another program holds the keyboard grab): an application-wide event filter
// takes key events (and the shortcuts they would trigger) while a window of ours has the focus,
// and observes mouse-button events over our windows without taking them. Caps, Num and Scroll
// Lock pass on.

#include <QObject>

#include "platform/input/input_records.h"

namespace zrv::platform::input {

class WindowCapture : public QObject {
  Q_OBJECT
 public:
  explicit WindowCapture(QObject* parent = nullptr);
  ~WindowCapture() override;

  // False without a QGuiApplication.
  bool Start(bool keys, bool buttons);
  void Stop();
  bool CapturingKeys() const { return keys_; }
  bool CapturingButtons() const { return buttons_; }

 signals:
  void keyEvent(const zrv::platform::input::KeyRecord& record);
  void buttonEvent(const zrv::platform::input::ButtonRecord& record);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool HandleKey(QObject* watched, QEvent* event);
  void HandleButton(QObject* watched, QEvent* event);

  bool installed_ = false;
  bool keys_ = false;
  bool buttons_ = false;
};

}  // namespace zrv::platform::input
