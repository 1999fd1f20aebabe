#include "platform/input/x11_capture.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <QPointer>
#include <QSocketNotifier>

#include <cstdlib>
#include <memory>

#include "platform/debug_output.h"
#include "platform/input/socket_guard.h"
#include "platform/input/xkb_autorepeat.h"

namespace zrv::platform::input {
namespace {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

}  // namespace

X11Capture::X11Capture(QObject* parent) : QObject(parent) {}

X11Capture::~X11Capture() { Close(); }

bool X11Capture::Open() {
  Close();
  int screen_number = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screen_number);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return false;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screen_number && screens.rem > 0; ++i) xcb_screen_next(&screens);
  if (screens.rem == 0) {
    xcb_disconnect(connection);
    return false;
  }
  connection_ = connection;
  root_ = screens.data->root;
  fd_ = xcb_get_file_descriptor(connection);
  if (!GuardSocket(fd_)) DebugOut("input capture: no signal guard for the X connection");
  draining_ = false;

  // A held key then repeats its press without a release in between, like the keyboard's own
  // typematic repeat, so receivers can tell a repeat from a new press.
  if (!MakeAutorepeatDetectable(connection_)) DebugOut("input capture: no detectable autorepeat");
  // The focus events on the root tell when the server ends the grab.
  SelectRootEvents(XCB_EVENT_MASK_FOCUS_CHANGE);
  xcb_flush(connection_);

  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &X11Capture::OnReadable);
  return true;
}

void X11Capture::Close() {
  if (connection_ == nullptr) return;
  if (notifier_ != nullptr) {
    // Close may run inside the notifier's own signal.
    notifier_->setEnabled(false);
    notifier_->deleteLater();
    notifier_ = nullptr;
  }
  // The server would end the grab with the connection too, but only once it gets round to the
  // closed socket; ungrabbing first means the keys are free when Close returns.
  UngrabKeyboard();
  UnguardSocket(fd_);
  xcb_disconnect(connection_);
  connection_ = nullptr;
  fd_ = -1;
  grabbed_ = false;
  observing_ = false;
}

bool X11Capture::Usable() const {
  return connection_ != nullptr && xcb_connection_has_error(connection_) == 0 && SocketUsable(fd_);
}

X11Capture::GrabResult X11Capture::GrabKeyboard(std::uint32_t window) {
  if (!Usable()) return GrabResult::kFailed;
  if (grabbed_) return GrabResult::kGrabbed;
  grab_window_ = window != 0 ? window : root_;
  // Unmapping the window ends the grab; its unmap notification tells us.
  if (grab_window_ != root_) {
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, grab_window_, XCB_CW_EVENT_MASK, &mask);
  }
  const xcb_grab_keyboard_cookie_t cookie =
      xcb_grab_keyboard(connection_, 0, grab_window_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
  Reply<xcb_grab_keyboard_reply_t> reply(xcb_grab_keyboard_reply(connection_, cookie, nullptr));
  if (!reply) return GrabResult::kFailed;
  switch (reply->status) {
    case XCB_GRAB_STATUS_SUCCESS:
      grabbed_ = true;
      grab_sequence_ = cookie.sequence;
      return GrabResult::kGrabbed;
    case XCB_GRAB_STATUS_ALREADY_GRABBED:
    case XCB_GRAB_STATUS_FROZEN: return GrabResult::kHeldElsewhere;
    default: return GrabResult::kFailed;
  }
}

void X11Capture::UngrabKeyboard() {
  if (!grabbed_) return;
  grabbed_ = false;
  if (!Usable()) return;
  xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
  // A round trip: the server has let go when this returns.
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

bool X11Capture::ObserveButtons() {
  if (!Usable()) return false;
  if (observing_) return true;
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection_, &xcb_input_id);
  if (extension == nullptr || extension->present == 0) return false;
  // Raw events reach the root window whatever grabs other clients hold from XInput 2.1 on.
  Reply<xcb_input_xi_query_version_reply_t> version(
      xcb_input_xi_query_version_reply(connection_, xcb_input_xi_query_version(connection_, 2, 2), nullptr));
  if (!version || version->major_version < 2 || (version->major_version == 2 && version->minor_version < 1)) {
    return false;
  }
  xinput_opcode_ = extension->major_opcode;
  struct {
    xcb_input_event_mask_t head;
    std::uint32_t bits;
  } mask = {};
  mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
  mask.head.mask_len = 1;
  mask.bits = XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE;
  Reply<xcb_generic_error_t> error(
      xcb_request_check(connection_, xcb_input_xi_select_events_checked(connection_, root_, 1, &mask.head)));
  observing_ = !error;
  return observing_;
}

void X11Capture::SelectRootEvents(std::uint32_t mask) {
  xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
}

void X11Capture::OnReadable() {
  if (draining_ || connection_ == nullptr) return;
  // While a receiver runs (perhaps a nested event loop) the notifier stays off, so the records
  // keep their order and nothing is handled twice.
  QPointer<X11Capture> self(this);
  xcb_connection_t* const connection = connection_;
  draining_ = true;
  notifier_->setEnabled(false);
  while (connection_ == connection) {
    xcb_generic_event_t* event = xcb_poll_for_event(connection);
    if (event == nullptr) break;
    Dispatch(event);
    std::free(event);
    if (!self) return;
  }
  if (connection_ != connection) return;  // closed, perhaps opened again, by a receiver
  draining_ = false;
  if (xcb_connection_has_error(connection_) != 0) {
    Close();
    DebugOut("input capture: X connection lost");
    emit lost();
    return;
  }
  notifier_->setEnabled(true);
}

void X11Capture::Dispatch(const xcb_generic_event_t* event) {
  const std::uint8_t type = event->response_type & 0x7F;
  if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
    const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    emit keyEvent(MakeKeyRecord(type == XCB_KEY_PRESS, key->detail >= 8 ? key->detail - 8u : 0u,
                                (key->state & XCB_MOD_MASK_1) != 0, (key->state & XCB_MOD_MASK_CONTROL) != 0));
  } else if (type == XCB_FOCUS_OUT || type == XCB_UNMAP_NOTIFY || type == XCB_DESTROY_NOTIFY) {
    if (grabbed_ && event->full_sequence >= grab_sequence_ && EndsGrab(event)) {
      grabbed_ = false;
      DebugOut("input capture: the server ended the keyboard grab");
      emit lost();
    }
  } else if (type == XCB_GE_GENERIC) {
    HandleButton(event);
  }
}

bool X11Capture::EndsGrab(const xcb_generic_event_t* event) const {
  switch (event->response_type & 0x7F) {
    case XCB_FOCUS_OUT: {
      // Only the end of a keyboard grab moves the focus away from the root "because of an
      // ungrab"; one that UngrabKeyboard did not ask for was broken by the server.
      const auto* focus = reinterpret_cast<const xcb_focus_out_event_t*>(event);
      return grab_window_ == root_ && focus->event == root_ && focus->mode == XCB_NOTIFY_MODE_UNGRAB;
    }
    case XCB_UNMAP_NOTIFY: return reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window == grab_window_;
    case XCB_DESTROY_NOTIFY: return reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == grab_window_;
    default: return false;
  }
}

void X11Capture::HandleButton(const xcb_generic_event_t* event) {
  const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
  if (!observing_ || generic->extension != xinput_opcode_) return;
  const bool press = generic->event_type == XCB_INPUT_RAW_BUTTON_PRESS;
  if (!press && generic->event_type != XCB_INPUT_RAW_BUTTON_RELEASE) return;
  const auto* raw = reinterpret_cast<const xcb_input_raw_button_press_event_t*>(event);
  if ((raw->flags & XCB_INPUT_POINTER_EVENT_FLAGS_POINTER_EMULATED) != 0) return;
  ButtonRecord record;
  if (!ButtonMessageFor(raw->detail, press, record.message, record.mouse_data)) return;
  Reply<xcb_query_pointer_reply_t> pointer(
      xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr));
  if (pointer) {
    record.x = pointer->root_x;
    record.y = pointer->root_y;
  }
  emit buttonEvent(record);
}

}  // namespace zrv::platform::input
