#pragma once
// Input-capture tests run against a private Xvfb that the test program starts and stops itself,
// type and click through XTest, and watch a second X client (a plain xcb window with the input
// focus) to see what reaches other programs.

#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zrv::test {

// Keeps the event loop running until `done` holds; false when it never did.
inline bool WaitFor(const std::function<bool()>& done, int milliseconds = 5000) {
  QDeadlineTimer deadline(milliseconds);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ::usleep(1000);
  }
  return true;
}

// A private X server for the whole test program.
class XvfbServer {
 public:
  bool Start() {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return false;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(pipe_fds[0]);
      const std::string fd = std::to_string(pipe_fds[1]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(pipe_fds[1]);
    // The number comes as "N\n", perhaps in pieces; the server ends itself when it cannot write it.
    std::string number;
    char c = 0;
    while (pid_ > 0 && ::read(pipe_fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(pipe_fds[0]);
    if (c != '\n' || number.empty()) return false;
    display_ = ":" + number;
    ::setenv("DISPLAY", display_.c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
    return true;
  }
  ~XvfbServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

inline bool g_have_x = false;

// main() of the test programs: a private Xvfb (not to list the tests), then a QGuiApplication on it.
inline int RunOnPrivateXServer(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  XvfbServer server;
  if (!GTEST_FLAG_GET(list_tests)) g_have_x = server.Start();
  ::setenv("QT_QPA_PLATFORM", g_have_x ? "xcb" : "offscreen", 1);
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

#define ZRV_REQUIRE_X()                                    \
  do {                                                     \
    if (!::zrv::test::g_have_x) GTEST_SKIP() << "no Xvfb"; \
  } while (false)

// Another program on the display: a window that holds the input focus and records what it gets.
// It also types and clicks through XTest.
class XClient {
 public:
  XClient() {
    connection_ = xcb_connect(nullptr, nullptr);
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const std::uint32_t mask = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE | XCB_EVENT_MASK_BUTTON_PRESS |
                               XCB_EVENT_MASK_BUTTON_RELEASE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen_->root, 0, 0, 400, 300, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual, XCB_CW_EVENT_MASK, &mask);
    xcb_map_window(connection_, window_);
    Sync();
    Focus();
  }
  ~XClient() { xcb_disconnect(connection_); }

  void Focus() {
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window_, XCB_CURRENT_TIME);
    Sync();
  }
  // Linux key code; press and release.
  void Type(std::uint32_t linux_key) {
    Key(linux_key, true);
    Key(linux_key, false);
  }
  void Key(std::uint32_t linux_key, bool press) {
    const auto keycode = static_cast<std::uint8_t>(linux_key + 8);
    const std::uint8_t type = press ? XCB_KEY_PRESS : XCB_KEY_RELEASE;
    xcb_test_fake_input(connection_, type, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    Sync();
  }
  void MovePointer(int x, int y) {
    xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, screen_->root,
                        static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 0);
    Sync();
  }
  void Click(std::uint8_t button) {
    xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    Sync();
  }
  bool GrabKeyboard() {
    auto* reply = xcb_grab_keyboard_reply(
        connection_,
        xcb_grab_keyboard(connection_, 0, window_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool grabbed = reply != nullptr && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    return grabbed;
  }

  // Key presses (X keycodes) and button presses that reached the window so far; a round trip
  // first, so whatever the server sent before now is counted.
  std::vector<int> TakeKeyPresses() { return Take(XCB_KEY_PRESS); }
  std::vector<int> TakeButtonPresses() { return Take(XCB_BUTTON_PRESS); }

  // The locked modifiers (Lock = Caps Lock, Mod2 = Num Lock) as the server keeps them.
  std::uint16_t ModifierState() {
    auto* reply = xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, screen_->root), nullptr);
    const std::uint16_t mask = reply != nullptr ? reply->mask : 0;
    std::free(reply);
    return mask;
  }

 private:
  void Sync() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

  std::vector<int> Take(std::uint8_t type) {
    Sync();
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      const std::uint8_t event_type = event->response_type & 0x7F;
      if (event_type == XCB_KEY_PRESS) keys_.push_back(reinterpret_cast<xcb_key_press_event_t*>(event)->detail);
      if (event_type == XCB_BUTTON_PRESS) {
        buttons_.push_back(reinterpret_cast<xcb_button_press_event_t*>(event)->detail);
      }
      std::free(event);
    }
    std::vector<int> taken;
    taken.swap(type == XCB_KEY_PRESS ? keys_ : buttons_);
    return taken;
  }

  xcb_connection_t* connection_ = nullptr;
  xcb_screen_t* screen_ = nullptr;
  xcb_window_t window_ = 0;
  std::vector<int> keys_;
  std::vector<int> buttons_;
};

}  // namespace zrv::test
