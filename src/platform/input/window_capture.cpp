#include "platform/input/window_capture.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace zrv::platform::input {
namespace {

// Native codes of the platforms Qt runs on here (xcb, wayland) are X keycodes.
constexpr quint32 kKeycodeOffset = 8;

unsigned XButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::MiddleButton: return 2;
    case Qt::RightButton: return 3;
    case Qt::BackButton: return 8;
    case Qt::ForwardButton: return 9;
    default: return 0;
  }
}

}  // namespace

WindowCapture::WindowCapture(QObject* parent) : QObject(parent) {}

WindowCapture::~WindowCapture() { Stop(); }

bool WindowCapture::Start(bool keys, bool buttons) {
  Stop();
  if (qGuiApp == nullptr) return false;
  keys_ = keys;
  buttons_ = buttons;
  if (keys_ || buttons_) {
    qGuiApp->installEventFilter(this);
    installed_ = true;
  }
  return true;
}

void WindowCapture::Stop() {
  if (installed_ && qGuiApp != nullptr) qGuiApp->removeEventFilter(this);
  installed_ = false;
  keys_ = false;
  buttons_ = false;
}

bool WindowCapture::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return keys_ && HandleKey(watched, event);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
      if (buttons_) HandleButton(watched, event);
      return false;
    default: return false;
  }
}

bool WindowCapture::HandleKey(QObject* watched, QEvent* event) {
  auto* key = static_cast<QKeyEvent*>(event);
  const quint32 native = key->nativeScanCode();
  const std::uint32_t linux_key = native >= kKeycodeOffset ? native - kKeycodeOffset : 0;
  const bool lock = IsLockKey(linux_key);
  if (event->type() == QEvent::ShortcutOverride) {
    if (lock) return false;
    // Claimed by the focus object, so no shortcut fires and the key event itself follows.
    event->accept();
    return true;
  }
  // A key event reaches the window first and is then passed on to widgets, so the window sees
  // each input event exactly once. Qt reports a release for each repeat; that is no release.
  const bool repeat_release = key->isAutoRepeat() && event->type() == QEvent::KeyRelease;
  if (watched->isWindowType() && linux_key != 0 && !repeat_release) {
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    emit keyEvent(MakeKeyRecord(event->type() == QEvent::KeyPress, linux_key, modifiers.testFlag(Qt::AltModifier),
                                modifiers.testFlag(Qt::ControlModifier)));
  }
  return !lock;
}

void WindowCapture::HandleButton(QObject* watched, QEvent* event) {
  if (!watched->isWindowType()) return;
  auto* mouse = static_cast<QMouseEvent*>(event);
  ButtonRecord record;
  if (!ButtonMessageFor(XButtonOf(mouse->button()), event->type() == QEvent::MouseButtonPress, record.message,
                        record.mouse_data)) {
    return;
  }
  const QPointF point = mouse->globalPosition() * static_cast<QWindow*>(watched)->devicePixelRatio();
  record.x = qRound(point.x());
  record.y = qRound(point.y());
  emit buttonEvent(record);
}

}  // namespace zrv::platform::input
