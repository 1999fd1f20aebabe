#pragma once
// CDeviceHook: the input hook of the key assignment editor (one key to assign) and the macro
// editor (key and mouse-button presses to record). While installed, every key press is taken
// away from the rest of the desktop (Caps, Num and Scroll Lock keep working) and handed over as
// a key message of the hook's mode; in the macro modes every mouse-button press and release is
// handed over as well and still reaches its target. Messages arrive synchronously on the
// user-interface thread, one at a time, in input order.
//
// There is one hook state: a second Install replaces the first, whichever editor made it.

#include <QObject>

#include <cstdint>

#include "platform/input/input_capture.h"
#include "platform/input/input_records.h"

namespace zrv::editors {

enum class HookMode : std::uint32_t {
  kSingleKey = 1,  // capture one key for the key assignment editor
  kHitKey = 2,
  kKbMacro = 4,          // record, append
  kKbMacroPrevious = 8,  // record before the selected row
  kKbMacroLater = 16,    // record after the selected row
  kKbMacroSingle = 32,   // change the selected row
  kMouseSingleKey = 256,
  kMouseHitKey = 512,
  kMouseKbMacro = 1024,
};

struct HookKeyMessage {
  HookMode mode;
  platform::input::KeyRecord key;  // receivers use scan_code and extended
};

struct HookMouseMessage {
  HookMode mode;
  platform::input::ButtonRecord button;
};

class CDeviceHook : public QObject {
  Q_OBJECT
 public:
  enum InstallResult : int {
    kNotInstalled = 0,  // no key capture possible at all
    kInstalled = 1,     // keys are taken from the whole desktop
    // Installed, but keys (and on Wayland mouse buttons) are captured only while our window is
    // active: the page says so in a line.
    kInstalledInWindow = 2,
  };

  explicit CDeviceHook(QObject* parent = nullptr);
  ~CDeviceHook() override;  // uninstalls

  // Removes the hook if installed, then installs it in `mode`: with `keyboard` the keys are
  // captured, with `mouse` the mouse buttons (in the macro modes 4-32 only; other modes have no
  // mouse messages). On kNotInstalled the previous mode is kept.
  InstallResult Install(HookMode mode, bool keyboard, bool mouse);
  // 1 when a key capture was removed, 0 when none was installed.
  int Uninstall();
  // Our window lost the focus: the desktop-wide key capture is released (keys are then captured
  // only while the window is active again); the hook stays installed.
  void OnWindowFocusLost();

  bool IsInstalled() const { return installed_; }
  HookMode Mode() const { return mode_; }
  // Where keys are captured now (kNone when not installed).
  platform::input::CaptureScope KeyScope() const { return capture_.KeyScope(); }

  // Whether a mode hands key messages over / expects mouse messages.
  static bool HasKeyMessage(HookMode mode);
  static bool HasMouseMessage(HookMode mode);

 signals:
  void keyMessage(const zrv::editors::HookKeyMessage& message);
  void mouseMessage(const zrv::editors::HookMouseMessage& message);
  // Keys are now captured only while our window is active (the desktop grab was released or the
  // server ended it); the page shows its notice.
  void captureNarrowed();

 private:
  void OnKey(const platform::input::KeyRecord& record);
  void OnButton(const platform::input::ButtonRecord& record);

  platform::input::InputCapture capture_;
  HookMode mode_ = HookMode::kSingleKey;
  bool installed_ = false;
  bool keyboard_ = false;
};

}  // namespace zrv::editors
