#pragma once
// The messages the main window handles (CMainWnd::HandleWindowMessage). They arrive as custom
// messages of the UI layer: posted or sent by workers, or turned into messages from what the
// platform reports (activation, pointer, screens, the session bus, logind, the tray icon).

namespace zrv::app::msg {

// What the platform reports. Values of our own; nothing outside the process sees them.
inline constexpr int kActivate = 0x7001;        // w: 1 active, 0 inactive
inline constexpr int kMouseLeave = 0x7002;
inline constexpr int kMouseHover = 0x7003;
inline constexpr int kPowerBroadcast = 0x7004;  // w: kPowerSuspend or kPowerResume
inline constexpr int kDpiChanged = 0x7005;      // w: new DPI
inline constexpr int kDisplayChange = 0x7006;
inline constexpr int kTimer = 0x7007;           // w: timer id
inline constexpr int kKeyDown = 0x7008;
inline constexpr int kMenuCommand = 0x7009;     // handled through OnMenuCommand
inline constexpr int kTrayCallback = 0x700A;    // l: kTrayLeftUp or kTrayRightUp

// From other processes (the session bus or the local socket, docs/ipc.md).
inline constexpr int kInstanceMessage = 0x7101;     // show yourself; also after the first scan
inline constexpr int kForwardMessage = 0x7102;      // an installer's report for the settings window
inline constexpr int kLightControlRequest = 0x7103;  // w: 1, l: 0 give up / 1 take the lighting
inline constexpr int kToolMessage = 0x7104;         // describe the devices

inline constexpr int kPowerSuspend = 4;
inline constexpr int kPowerResume = 18;
inline constexpr int kTrayLeftUp = 0x0202;
inline constexpr int kTrayRightUp = 0x0205;

// The program's own.
inline constexpr int kDpiChangedNotice = 1224;
inline constexpr int kInputHook = 1054;         // w: 0 remove, 1 install
inline constexpr int kShowSettingProgress = 3072;
inline constexpr int kReserved3085 = 3085;
inline constexpr int kLanguageChanged = 3089;   // w: language index
inline constexpr int kDeviceArrived = 0x0C12;   // 3090, w: row of the interface list
inline constexpr int kDeviceLeft = 0x0C13;      // 3091, w: row of the interface list
inline constexpr int kOpenSettings = 3093;
inline constexpr int kClearUpdateMark = 3094;

}  // namespace zrv::app::msg
