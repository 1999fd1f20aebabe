#pragma once
// Desktop-wide input capture on an X server, through a connection of its own:
//  - keys: an active keyboard grab, so no other client sees them. The server still runs each
//    key's own actions, so Caps, Num and Scroll Lock change their state for the whole desktop as
//    usual. Autorepeat is made detectable: a held key repeats its press only.
//  - mouse buttons: XInput 2 raw button events of all master devices; they are observed, not
//    taken, and still reach their target. The position comes from a pointer query.
// The connection's socket is served by a socket notifier on the thread that opened it; records
// are emitted synchronously, in the order the server sent them.

#include <xcb/xcb.h>

#include <QObject>

#include <cstdint>

#include "platform/input/input_records.h"

class QSocketNotifier;

namespace zrv::platform::input {

class X11Capture : public QObject {
  Q_OBJECT
 public:
  enum class GrabResult { kGrabbed, kHeldElsewhere, kFailed };

  explicit X11Capture(QObject* parent = nullptr);
  ~X11Capture() override;  // closes the connection, which ends its grab

  // Connects to the display named by DISPLAY; false when there is none.
  bool Open();
  void Close();
  bool IsOpen() const { return connection_ != nullptr; }

  // Grabs the keyboard for `window` (0: the root window). Grabbing for the window that has the
  // focus leaves the server's focus where it is, so the window's owner sees no focus change; the
  // server ends the grab when that window is unmapped.
  GrabResult GrabKeyboard(std::uint32_t window);
  void UngrabKeyboard();
  bool KeyboardGrabbed() const { return grabbed_; }

  // Starts observing mouse buttons; false when the server has no XInput 2.
  bool ObserveButtons();
  bool ObservingButtons() const { return observing_; }

 signals:
  void keyEvent(const zrv::platform::input::KeyRecord& record);
  void buttonEvent(const zrv::platform::input::ButtonRecord& record);
  // The grab ended without UngrabKeyboard (the server broke it, or its window was unmapped), or
  // the connection was lost (then IsOpen() is false).
  void lost();

 private:
  void OnReadable();
  void Dispatch(const xcb_generic_event_t* event);
  void HandleButton(const xcb_generic_event_t* event);
  bool EndsGrab(const xcb_generic_event_t* event) const;
  void SelectRootEvents(std::uint32_t mask);
  bool Usable() const;

  xcb_connection_t* connection_ = nullptr;
  std::uint32_t root_ = 0;
  std::uint32_t grab_window_ = 0;
  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  std::uint8_t xinput_opcode_ = 0;
  bool grabbed_ = false;
  std::uint32_t grab_sequence_ = 0;  // focus events older than the grab request are not about it
  bool observing_ = false;
  bool draining_ = false;
};

}  // namespace zrv::platform::input
