#include "platform/input/input_capture.h"

#include <linux/input-event-codes.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QKeyEvent>
#include <QWindow>

#include <cstdio>
#include <vector>

#include "platform_input/x_test_support.h"

namespace zrv::platform::input {
namespace {

using test::WaitFor;
using test::XClient;

constexpr std::uint16_t kLockMask = XCB_MOD_MASK_LOCK;
constexpr std::uint16_t kNumLockMask = XCB_MOD_MASK_2;

class DesktopCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    ZRV_REQUIRE_X();
    QObject::connect(&capture_, &InputCapture::keyEvent, [this](const KeyRecord& r) { keys_.push_back(r); });
    QObject::connect(&capture_, &InputCapture::buttonEvent, [this](const ButtonRecord& r) { buttons_.push_back(r); });
  }

  bool WaitForKeys(std::size_t count) {
    return WaitFor([&] { return keys_.size() >= count; });
  }

  XClient other_;
  InputCapture capture_;
  std::vector<KeyRecord> keys_;
  std::vector<ButtonRecord> buttons_;
};

TEST_F(DesktopCapture, KeysAreTakenFromOtherClientsInOrderUntilStop) {
  ASSERT_EQ(capture_.Start(true, false), CaptureScope::kDesktop);
  other_.Type(KEY_A);
  other_.Type(KEY_KPENTER);
  other_.Key(KEY_LEFTALT, true);
  other_.Type(KEY_TAB);
  other_.Key(KEY_LEFTALT, false);
  ASSERT_TRUE(WaitForKeys(8));
  const struct {
    KeyMessage message;
    std::uint32_t scan;
    bool extended;
  } expected[] = {
      {KeyMessage::kKeyDown, 0x1E, false},       {KeyMessage::kKeyUp, 0x1E, false},
      {KeyMessage::kKeyDown, 0x1C, true},        {KeyMessage::kKeyUp, 0x1C, true},
      {KeyMessage::kSystemKeyDown, 0x38, false}, {KeyMessage::kSystemKeyDown, 0x0F, false},
      {KeyMessage::kSystemKeyUp, 0x0F, false},   {KeyMessage::kSystemKeyUp, 0x38, false},
  };
  ASSERT_EQ(keys_.size(), std::size(expected));
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    EXPECT_EQ(keys_[i].message, expected[i].message) << i;
    EXPECT_EQ(keys_[i].scan_code, expected[i].scan) << i;
    EXPECT_EQ(keys_[i].extended, expected[i].extended) << i;
  }
  EXPECT_TRUE(other_.TakeKeyPresses().empty());

  capture_.Stop();
  other_.Type(KEY_B);
  EXPECT_EQ(other_.TakeKeyPresses(), std::vector<int>{KEY_B + 8});
  EXPECT_EQ(keys_.size(), std::size(expected));
}

// A receiver may run an event loop (a message box) or stop the capture; records keep their order,
// none comes twice, and none comes after the stop.
TEST_F(DesktopCapture, ReceiverMayRunAnEventLoopOrStop) {
  ASSERT_EQ(capture_.Start(true, false), CaptureScope::kDesktop);
  QObject::connect(&capture_, &InputCapture::keyEvent, [&] {
    if (keys_.size() == 1) WaitFor([] { return false; }, 100);
    if (keys_.size() == 3) capture_.Stop();
  });
  other_.Type(KEY_1);
  other_.Type(KEY_2);
  other_.Type(KEY_3);
  ASSERT_TRUE(WaitFor([&] { return capture_.KeyScope() == CaptureScope::kNone; }));
  WaitFor([] { return false; }, 100);
  ASSERT_EQ(keys_.size(), 3u);
  EXPECT_EQ(keys_[1].message, KeyMessage::kKeyUp);
  EXPECT_EQ(keys_[2].scan_code, 0x03u);                    // 2
  EXPECT_EQ(other_.TakeKeyPresses(), std::vector<int>{});  // typed while the grab was held
  other_.Type(KEY_4);
  EXPECT_EQ(other_.TakeKeyPresses(), std::vector<int>{KEY_4 + 8});
}

TEST_F(DesktopCapture, LockKeysStillChangeTheirStateAndAreReported) {
  const std::uint16_t before = other_.ModifierState();
  ASSERT_EQ(capture_.Start(true, false), CaptureScope::kDesktop);
  other_.Type(KEY_CAPSLOCK);
  other_.Type(KEY_NUMLOCK);
  ASSERT_TRUE(WaitForKeys(4));
  EXPECT_EQ(keys_[0].scan_code, 0x3Au);
  EXPECT_EQ(keys_[2].scan_code, 0x45u);
  EXPECT_TRUE(keys_[2].extended);
  const std::uint16_t after = other_.ModifierState();
  EXPECT_NE(before & kLockMask, after & kLockMask);
  EXPECT_NE(before & kNumLockMask, after & kNumLockMask);
  capture_.Stop();
  other_.Type(KEY_CAPSLOCK);  // back as it was
  other_.Type(KEY_NUMLOCK);
}

TEST_F(DesktopCapture, HeldKeyRepeatsItsPressOnly) {
  ASSERT_EQ(capture_.Start(true, false), CaptureScope::kDesktop);
  other_.Key(KEY_X, true);
  ASSERT_TRUE(WaitForKeys(3));  // the press and two repeats (server autorepeat)
  other_.Key(KEY_X, false);
  ASSERT_TRUE(WaitFor([&] { return keys_.back().message == KeyMessage::kKeyUp; }));
  for (std::size_t i = 0; i + 1 < keys_.size(); ++i) EXPECT_EQ(keys_[i].message, KeyMessage::kKeyDown) << i;
}

TEST_F(DesktopCapture, ButtonsAreSeenWithThePointerPositionAndStillReachTheirTarget) {
  other_.MovePointer(120, 80);
  ASSERT_EQ(capture_.Start(false, true), CaptureScope::kDesktop);
  other_.Click(1);
  other_.Click(9);
  other_.Click(4);  // the wheel: no message
  ASSERT_TRUE(WaitFor([&] { return buttons_.size() >= 4; }));
  ASSERT_EQ(buttons_.size(), 4u);
  EXPECT_EQ(buttons_[0].message, ButtonMessage::kLeftDown);
  EXPECT_EQ(buttons_[0].x, 120);
  EXPECT_EQ(buttons_[0].y, 80);
  EXPECT_EQ(buttons_[1].message, ButtonMessage::kLeftUp);
  EXPECT_EQ(buttons_[2].message, ButtonMessage::kXDown);
  EXPECT_EQ(buttons_[2].mouse_data, 2u << 16);
  EXPECT_EQ(other_.TakeButtonPresses(), (std::vector<int>{1, 9, 4}));
  other_.Type(KEY_C);  // keys were not asked for
  EXPECT_EQ(other_.TakeKeyPresses(), std::vector<int>{KEY_C + 8});
}

TEST_F(DesktopCapture, ReleasedOnFocusLossAndKeysReachOthersAgain) {
  ASSERT_EQ(capture_.Start(true, false), CaptureScope::kDesktop);
  std::vector<CaptureScope> changes;
  QObject::connect(&capture_, &InputCapture::keyScopeChanged, [&](CaptureScope s) { changes.push_back(s); });
  capture_.ReleaseGrab();
  EXPECT_EQ(changes, std::vector<CaptureScope>{CaptureScope::kWindow});
  EXPECT_EQ(capture_.KeyScope(), CaptureScope::kWindow);
  other_.Type(KEY_D);
  EXPECT_EQ(other_.TakeKeyPresses(), std::vector<int>{KEY_D + 8});
}

TEST_F(DesktopCapture, GrabHeldByAnotherProgramFallsBackToOurWindow) {
  ASSERT_TRUE(other_.GrabKeyboard());
  EXPECT_EQ(capture_.Start(true, true), CaptureScope::kWindow);
  EXPECT_EQ(capture_.KeyScope(), CaptureScope::kWindow);
  EXPECT_EQ(capture_.ButtonScope(), CaptureScope::kDesktop);  // observing needs no grab
}

// The fallback itself: keys typed into our focused window become records and never reach it.
class KeyWindow : public QWindow {
 public:
  std::vector<int> pressed;

 protected:
  void keyPressEvent(QKeyEvent* event) override { pressed.push_back(event->key()); }
};

// The grab keeps our window active (were it taken for a loss of focus, the grab would end at
// once); focus moving to another program ends it.
TEST_F(DesktopCapture, GrabLastsWhileOurWindowHasTheFocus) {
  KeyWindow window;
  window.resize(200, 100);
  window.show();
  window.requestActivate();
  ASSERT_TRUE(WaitFor([&] { return window.isActive(); }));
  ASSERT_EQ(capture_.Start(true, false), CaptureScope::kDesktop);
  WaitFor([] { return false; }, 500);
  EXPECT_TRUE(window.isActive());
  ASSERT_EQ(capture_.KeyScope(), CaptureScope::kDesktop);
  other_.Type(KEY_G);
  EXPECT_TRUE(WaitForKeys(2));
  EXPECT_TRUE(window.pressed.empty());

  other_.Focus();  // as a window manager does when the user clicks another program
  ASSERT_TRUE(WaitFor([&] { return capture_.KeyScope() == CaptureScope::kWindow; }));
  other_.Type(KEY_H);
  EXPECT_EQ(other_.TakeKeyPresses(), std::vector<int>{KEY_H + 8});
}

TEST_F(DesktopCapture, WindowCaptureTakesKeysTypedIntoOurWindow) {
  qputenv("WAYLAND_DISPLAY", "wayland-test");  // no desktop capture in a Wayland session
  KeyWindow window;
  window.resize(200, 100);
  window.show();
  window.requestActivate();
  ASSERT_TRUE(WaitFor([&] { return window.isActive(); }));
  const CaptureScope scope = capture_.Start(true, true);
  qunsetenv("WAYLAND_DISPLAY");
  ASSERT_EQ(scope, CaptureScope::kWindow);
  other_.Type(KEY_Q);
  ASSERT_TRUE(WaitForKeys(2));
  EXPECT_EQ(keys_[0].scan_code, 0x10u);
  EXPECT_EQ(keys_[1].message, KeyMessage::kKeyUp);
  EXPECT_TRUE(window.pressed.empty());
  capture_.Stop();
  other_.Type(KEY_Q);
  EXPECT_TRUE(WaitFor([&] { return !window.pressed.empty(); }));
}

// A process that holds the grab, ended by a termination request or a crash in the receiver of a
// key. It takes 30 s to die (a hung shut-down, a slow crash reporter), so keys reaching the other
// client again in the meantime show that the grab went with the signal, not with the process.
class GrabHolder : public ::testing::Test {
 protected:
  void SetUp() override { ZRV_REQUIRE_X(); }
  void TearDown() override {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  // Starts the probe and waits until it holds the grab.
  void StartProbe(const char* option) {
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::execl(ZRV31_INPUT_PROBE, ZRV31_INPUT_PROBE, "--slow-exit", option, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    char line[32] = {};
    ASSERT_GT(::read(out[0], line, sizeof(line) - 1), 0);
    ::close(out[0]);
    ASSERT_STREQ(line, "scope 1\n");
    other_.Type(KEY_E);
  }

  bool KeysReachOtherClient() {
    return WaitFor([&] {
      other_.Type(KEY_F);
      return !other_.TakeKeyPresses().empty();
    });
  }

  XClient other_;
  pid_t pid_ = -1;
};

TEST_F(GrabHolder, TerminationRequestReleasesTheGrabAtOnce) {
  StartProbe("--hold");
  ASSERT_TRUE(other_.TakeKeyPresses().empty());  // the probe has the keys
  ::kill(pid_, SIGTERM);
  EXPECT_TRUE(KeysReachOtherClient());
  EXPECT_EQ(::waitpid(pid_, nullptr, WNOHANG), 0);  // still in its slow shut-down
}

TEST_F(GrabHolder, CrashInTheKeyReceiverReleasesTheGrabAtOnce) {
  StartProbe("--abort-on-key");  // the key StartProbe types makes it abort
  EXPECT_TRUE(KeysReachOtherClient());
  EXPECT_EQ(::waitpid(pid_, nullptr, WNOHANG), 0);
}

}  // namespace
}  // namespace zrv::platform::input
