#pragma once
// The numbered messages the main window still handles (CMainWnd::OnCustomMessage): the numbers
// that other windows of the program and the input hook send. A number whose payload the window
// reads has a struct that reads it from the message's two words. Everything else reaches the
// window as a typed call: Qt's signals (activation, pointer, screens, the tray icon, suspend and
// resume), discovery's queued calls, and the requests of other programs over the single-instance
// channel (docs/ipc.md), whose payloads are the structs at the end.

#include <QtGlobal>

#include <cstdint>

namespace zrv::app::msg {

// Sent by other windows of the program and the input hook.
inline constexpr int kDpiChangedNotice = 1224;
inline constexpr int kInputHook = 1054;
inline constexpr int kShowSettingProgress = 3072;
inline constexpr int kReserved3085 = 3085;
inline constexpr int kLanguageChanged = 3089;  // w: language index
inline constexpr int kOpenSettings = 3093;
inline constexpr int kClearUpdateMark = 3094;
// The instance message; its number shows in the trace, whoever asks the window to show itself.
inline constexpr int kInstanceMessage = 0x7101;

// kInputHook: the hook was installed or removed.
struct InputHook {
  bool installed = false;
  static InputHook From(qint64 w, qint64 /*l*/) { return {w == 1}; }
};

// The instance message ("Show"): restore the window and bring it to the front. A second start
// sends (0, 1), discovery's first scan (0, 0); the words are only traced.
struct InstanceMessage {
  qint64 first = 0;
  qint64 second = 0;
};

// "RequestLightControl": (1, 0) this program stops driving the device lighting, (1, 1) it drives
// it again; anything else is ignored.
struct LightControlRequest {
  int command = 0;
  int drive = 0;
  bool Valid() const { return command == 1 && (drive == 0 || drive == 1); }
};

}  // namespace zrv::app::msg
