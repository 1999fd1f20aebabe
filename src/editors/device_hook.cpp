#include "editors/device_hook.h"

namespace zrv::editors {

using platform::input::ButtonRecord;
using platform::input::CaptureScope;
using platform::input::InputCapture;
using platform::input::KeyRecord;

CDeviceHook::CDeviceHook(QObject* parent) : QObject(parent) {
  connect(&capture_, &InputCapture::keyEvent, this, &CDeviceHook::OnKey);
  connect(&capture_, &InputCapture::buttonEvent, this, &CDeviceHook::OnButton);
  connect(&capture_, &InputCapture::keyScopeChanged, this, [this](CaptureScope scope) {
    if (installed_ && keyboard_ && scope == CaptureScope::kWindow) emit captureNarrowed();
  });
}

CDeviceHook::~CDeviceHook() { Uninstall(); }

bool CDeviceHook::HasKeyMessage(HookMode mode) {
  switch (mode) {
    case HookMode::kSingleKey:
    case HookMode::kHitKey:
    case HookMode::kKbMacro:
    case HookMode::kKbMacroPrevious:
    case HookMode::kKbMacroLater:
    case HookMode::kKbMacroSingle:
    case HookMode::kMouseSingleKey:
    case HookMode::kMouseHitKey:
    case HookMode::kMouseKbMacro: return true;
  }
  return false;
}

bool CDeviceHook::HasMouseMessage(HookMode mode) {
  return mode == HookMode::kKbMacro || mode == HookMode::kKbMacroPrevious || mode == HookMode::kKbMacroLater ||
         mode == HookMode::kKbMacroSingle;
}

CDeviceHook::InstallResult CDeviceHook::Install(HookMode mode, bool keyboard, bool mouse) {
  Uninstall();
  const bool buttons = mouse && HasMouseMessage(mode);
  const CaptureScope scope = capture_.Start(keyboard, buttons);
  if (scope == CaptureScope::kNone && keyboard) return kNotInstalled;
  mode_ = mode;
  installed_ = true;
  keyboard_ = keyboard;
  const bool in_window =
      capture_.KeyScope() == CaptureScope::kWindow || capture_.ButtonScope() == CaptureScope::kWindow;
  return in_window ? kInstalledInWindow : kInstalled;
}

int CDeviceHook::Uninstall() {
  const int result = installed_ && keyboard_ ? 1 : 0;
  capture_.Stop();
  installed_ = false;
  keyboard_ = false;
  return result;
}

void CDeviceHook::OnWindowFocusLost() { capture_.ReleaseGrab(); }

void CDeviceHook::OnKey(const KeyRecord& record) {
  // Keys of a mode without a message are still taken, just not handed over.
  if (installed_ && HasKeyMessage(mode_)) emit keyMessage(HookKeyMessage{mode_, record});
}

void CDeviceHook::OnButton(const ButtonRecord& record) {
  if (installed_ && HasMouseMessage(mode_)) emit mouseMessage(HookMouseMessage{mode_, record});
}

}  // namespace zrv::editors
