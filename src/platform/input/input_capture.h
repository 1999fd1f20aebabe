#pragma once
// Chooses where key and mouse-button input is captured and hands it over as records, in input
// order, on the thread that started the capture (the user-interface thread).
//
// On an X11 session keys are taken from the whole desktop and buttons observed there
// (X11Capture). Where that is impossible (a Wayland session, no display, or another program holds
// the keyboard grab) the capture falls back to this program's windows (WindowCapture). A desktop
// grab is never kept while this program is not the one the user works with: it moves to the
// window capture when ReleaseGrab is called (the window lost the focus), when the application is
// no longer active, and when the server ends it.

#include <QObject>

#include "platform/input/input_records.h"
#include "platform/input/window_capture.h"
#include "platform/input/x11_capture.h"

namespace zrv::platform::input {

class InputCapture : public QObject {
  Q_OBJECT
 public:
  explicit InputCapture(QObject* parent = nullptr);
  ~InputCapture() override;

  // Stops any capture, then captures keys and/or buttons. Returns the scope of the keys (of the
  // buttons when no keys are asked for); kNone only when nothing could be captured at all.
  CaptureScope Start(bool keys, bool buttons);
  void Stop();
  // Lets go of the desktop keyboard grab; keys are captured in our windows from then on.
  void ReleaseGrab();

  CaptureScope KeyScope() const { return key_scope_; }
  CaptureScope ButtonScope() const { return button_scope_; }

 signals:
  void keyEvent(const zrv::platform::input::KeyRecord& record);
  void buttonEvent(const zrv::platform::input::ButtonRecord& record);
  // The keys' scope changed without Start or Stop (the grab was released or lost).
  void keyScopeChanged(zrv::platform::input::CaptureScope scope);

 private:
  static bool DesktopCapturePossible();
  void StartWindowCapture();
  void OnDesktopCaptureLost();
  void OnApplicationStateChanged(Qt::ApplicationState state);

  X11Capture x11_;
  WindowCapture window_;
  CaptureScope key_scope_ = CaptureScope::kNone;
  CaptureScope button_scope_ = CaptureScope::kNone;
};

}  // namespace zrv::platform::input
