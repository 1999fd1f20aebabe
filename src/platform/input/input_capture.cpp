#include "platform/input/input_capture.h"

#include <QGuiApplication>
#include <QWindow>

#include "platform/debug_output.h"

namespace zrv::platform::input {

InputCapture::InputCapture(QObject* parent) : QObject(parent) {
  connect(&x11_, &X11Capture::keyEvent, this, &InputCapture::keyEvent);
  connect(&x11_, &X11Capture::buttonEvent, this, &InputCapture::buttonEvent);
  connect(&x11_, &X11Capture::lost, this, &InputCapture::OnDesktopCaptureLost);
  connect(&window_, &WindowCapture::keyEvent, this, &InputCapture::keyEvent);
  connect(&window_, &WindowCapture::buttonEvent, this, &InputCapture::buttonEvent);
  if (qGuiApp != nullptr) {
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, &InputCapture::OnApplicationStateChanged);
  }
}

InputCapture::~InputCapture() { Stop(); }

bool InputCapture::DesktopCapturePossible() {
  // Under Wayland an X server (Xwayland) sees keys only while one of its windows has the focus,
  // so its grab would promise more than it keeps.
  return qGuiApp != nullptr && QGuiApplication::platformName() == QLatin1String("xcb") &&
         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

CaptureScope InputCapture::Start(bool keys, bool buttons) {
  Stop();
  if (qGuiApp == nullptr || (!keys && !buttons)) return CaptureScope::kNone;
  if (DesktopCapturePossible() && x11_.Open()) {
    if (keys) {
      // For our focused window, not the root: a grab for the root moves the server's focus away
      // from our window, which the toolkit takes for a deactivation.
      const QWindow* focus = QGuiApplication::focusWindow();
      const auto window = focus != nullptr ? static_cast<std::uint32_t>(focus->winId()) : 0u;
      const X11Capture::GrabResult grab = x11_.GrabKeyboard(window);
      if (grab == X11Capture::GrabResult::kGrabbed) {
        key_scope_ = CaptureScope::kDesktop;
      } else {
        DebugPrintf("input capture: keyboard grab %s, keys only in our windows",
                    grab == X11Capture::GrabResult::kHeldElsewhere ? "held by another program" : "failed");
      }
    }
    if (buttons && x11_.ObserveButtons()) button_scope_ = CaptureScope::kDesktop;
    if (key_scope_ != CaptureScope::kDesktop && button_scope_ != CaptureScope::kDesktop) x11_.Close();
  }
  if (keys && key_scope_ == CaptureScope::kNone) key_scope_ = CaptureScope::kWindow;
  if (buttons && button_scope_ == CaptureScope::kNone) button_scope_ = CaptureScope::kWindow;
  StartWindowCapture();
  return keys ? key_scope_ : button_scope_;
}

void InputCapture::Stop() {
  window_.Stop();
  x11_.Close();
  key_scope_ = CaptureScope::kNone;
  button_scope_ = CaptureScope::kNone;
}

void InputCapture::ReleaseGrab() {
  if (key_scope_ != CaptureScope::kDesktop) return;
  x11_.UngrabKeyboard();
  key_scope_ = CaptureScope::kWindow;
  if (button_scope_ != CaptureScope::kDesktop) x11_.Close();
  StartWindowCapture();
  emit keyScopeChanged(key_scope_);
}

void InputCapture::OnDesktopCaptureLost() {
  if (!x11_.IsOpen() && button_scope_ == CaptureScope::kDesktop) {
    button_scope_ = CaptureScope::kWindow;
    StartWindowCapture();
  }
  ReleaseGrab();
}

void InputCapture::StartWindowCapture() {
  window_.Start(key_scope_ == CaptureScope::kWindow, button_scope_ == CaptureScope::kWindow);
}

void InputCapture::OnApplicationStateChanged(Qt::ApplicationState state) {
  if (state != Qt::ApplicationActive) ReleaseGrab();
}

}  // namespace zrv::platform::input
