// The notification thread against a simulated keyboard: codes reach the device, a stop ends the
// blocked read, and attaching and detaching through discovery start and stop it.

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "device/device_attach.h"
#include "device/discovery_interface_list.h"
#include "device/hid_path.h"
#include "devices/model/keyboard_device.h"
#include "model_test_support.h"
#include "platform/debug_output.h"
#include "sim/keyboard_model.h"

namespace zrv::devices {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Records the codes its notification thread hands over and asks for timer 1002 on 0x0401.
class ListeningKeyboard : public CHalveronKeyboardDevice {
 public:
  ~ListeningKeyboard() override { StopNotificationThread(); }

  bool WaitForCodes(size_t n) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return codes_.size() >= n; });
  }
  std::vector<uint16_t> Codes() const {
    std::lock_guard lock(mutex_);
    return codes_;
  }

 protected:
  void OnNotification(uint16_t code) override {
    if (code == 0x0401) RequestTimer(kTimerSyncRequest, kSyncRequestDelayMs);
    std::lock_guard lock(mutex_);
    codes_.push_back(code);
    changed_.notify_all();
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<uint16_t> codes_;
};

class NotificationThreadTest : public testing::SimulatorTest {
 protected:
  void SetUp() override {
    device_ = sim::KeyboardModel::Create();
    ASSERT_TRUE(device_->Plug());
  }
  void OpenNotificationLink() {
    device::DeviceLink& link = keyboard_.NotificationLink();
    ASSERT_EQ(link.Hid().Open(device_->NotificationPath(), true, true, true, false), 1);
    link.SetConnected(true);
  }

  platform::DebugCapture debug_;
  std::shared_ptr<sim::KeyboardModel> device_;
  ListeningKeyboard keyboard_;
};

TEST_F(NotificationThreadTest, CodesReachTheDeviceInOrderAndMayAskForTimers) {
  std::vector<std::pair<int, int>> requests;
  std::mutex requests_mutex;
  keyboard_.SetTimerRequestHandler([&](int id, int delay) {
    std::lock_guard lock(requests_mutex);
    requests.emplace_back(id, delay);
  });
  OpenNotificationLink();
  ASSERT_TRUE(keyboard_.StartNotificationThread());
  device_->Notify(0x0402);
  device_->Notify(0x0401);
  device_->KeyDown(17);
  ASSERT_TRUE(keyboard_.WaitForCodes(3));
  EXPECT_EQ(keyboard_.Codes(), (std::vector<uint16_t>{0x0402, 0x0401, 0x0511}));
  {
    std::lock_guard lock(requests_mutex);
    EXPECT_EQ(requests, (std::vector<std::pair<int, int>>{{1002, 100}}));
  }
  EXPECT_TRUE(debug_.Contains("接收到自动添加设备的同步信息要求  TEST"));
  EXPECT_TRUE(keyboard_.StopNotificationThread());
}

TEST_F(NotificationThreadTest, StopEndsTheBlockedReadAtOnce) {
  OpenNotificationLink();
  ASSERT_TRUE(keyboard_.StartNotificationThread());
  // Let the thread reach its read, which waits without limit for a report that never comes.
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (!keyboard_.NotificationLink().Hid().ReadInProgress() && Clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(1));
  }
  ASSERT_TRUE(keyboard_.NotificationLink().Hid().ReadInProgress());

  // The read waits without limit: only the close can have ended it.
  EXPECT_TRUE(keyboard_.StopNotificationThread());
  EXPECT_FALSE(keyboard_.NotificationThreadRunning());
  EXPECT_FALSE(debug_.Contains("notification thread still running"));
  EXPECT_FALSE(keyboard_.NotificationLink().Connected());
  EXPECT_FALSE(keyboard_.NotificationLink().Hid().IsOpen());
  EXPECT_TRUE(debug_.Contains("MS设备同步线程设定退出"));

  // A new attach starts a new listener.
  OpenNotificationLink();
  EXPECT_TRUE(keyboard_.StartNotificationThread());
  device_->Notify(0x0404);
  EXPECT_TRUE(keyboard_.WaitForCodes(1));
}

TEST_F(NotificationThreadTest, AListenerWaitsWhileItsLinkIsNotConnectedAndStopsFromThere) {
  ASSERT_TRUE(keyboard_.StartNotificationThread());  // nothing open: it waits for the link
  EXPECT_TRUE(keyboard_.NotificationThreadRunning());
  EXPECT_TRUE(keyboard_.StopNotificationThread());
  EXPECT_FALSE(keyboard_.NotificationThreadRunning());
}

// A handler that does not return until the test lets it.
class StuckKeyboard : public CHalveronKeyboardDevice {
 public:
  ~StuckKeyboard() override {
    Release();
    StopNotificationThread();
  }
  void Release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  bool WaitUntilStuck() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return stuck_; });
  }
  bool WaitForCode(uint16_t code) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(5),
                             [&] { return std::find(codes_.begin(), codes_.end(), code) != codes_.end(); });
  }

 protected:
  void OnNotification(uint16_t code) override {
    std::unique_lock lock(mutex_);
    stuck_ = true;
    codes_.push_back(code);
    changed_.notify_all();
    changed_.wait(lock, [&] { return released_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stuck_ = false;
  bool released_ = false;
  std::vector<uint16_t> codes_;
};

TEST_F(NotificationThreadTest, AListenerThatOverrunsTheStopIsKeptAndServesTheNextAttachOnceItEnds) {
  StuckKeyboard keyboard;
  device::DeviceLink& link = keyboard.NotificationLink();
  const auto open = [&] {
    ASSERT_EQ(link.Hid().Open(device_->NotificationPath(), true, true, true, false), 1);
    link.SetConnected(true);
  };
  open();
  ASSERT_TRUE(keyboard.StartNotificationThread());
  device_->Notify(0x0401);
  ASSERT_TRUE(keyboard.WaitUntilStuck());

  EXPECT_FALSE(keyboard.StopNotificationThread()) << "gave up after the 1000 ms wait";
  EXPECT_TRUE(debug_.Contains("notification thread still running after 1000 ms"));
  EXPECT_TRUE(keyboard.NotificationThreadRunning()) << "kept, not killed";

  // The device comes back while the old listener is still busy: no second listener beside it, but
  // the device is not left without one either.
  open();
  EXPECT_FALSE(keyboard.StartNotificationThread());
  EXPECT_TRUE(debug_.Contains("the previous notification thread has not ended; it listens again when it has"));
  EXPECT_TRUE(keyboard.NotificationThreadRunning());
  keyboard.Release();
  device_->Notify(0x0404);
  EXPECT_TRUE(keyboard.WaitForCode(0x0404)) << "the old listener took the new link over";

  EXPECT_TRUE(keyboard.StopNotificationThread());
  EXPECT_FALSE(keyboard.NotificationThreadRunning());
  open();
  EXPECT_TRUE(keyboard.StartNotificationThread()) << "a listener that has ended is replaced by a new one";
  device_->Notify(0x0401);
  EXPECT_TRUE(keyboard.WaitForCode(0x0401));
}

// The device goes again while a hand-over waits: the stop cancels it and the listener ends.
TEST_F(NotificationThreadTest, AStopCancelsAPendingHandOver) {
  StuckKeyboard keyboard;
  device::DeviceLink& link = keyboard.NotificationLink();
  ASSERT_EQ(link.Hid().Open(device_->NotificationPath(), true, true, true, false), 1);
  link.SetConnected(true);
  ASSERT_TRUE(keyboard.StartNotificationThread());
  device_->Notify(0x0401);
  ASSERT_TRUE(keyboard.WaitUntilStuck());
  EXPECT_FALSE(keyboard.StartNotificationThread()) << "hand-over pending";

  keyboard.OnNotificationLinkClosing();
  link.SetConnected(false);
  link.Hid().Close();
  keyboard.Release();
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (keyboard.NotificationThreadRunning() && Clock::now() < deadline) std::this_thread::sleep_for(milliseconds(1));
  EXPECT_FALSE(keyboard.NotificationThreadRunning());
}

TEST_F(NotificationThreadTest, AttachAndDetachThroughDiscoveryStartAndStopTheListener) {
  device::InterfaceList list;
  device::DeviceAttacher attacher(list);
  keyboard_.SetRecord(device::kInterfaceTable[0]);
  attacher.AddDevice(keyboard_);

  const std::string path = device_->NotificationPath();
  const auto index = list.Claim({device::PathVendorId(path), device::PathProductId(path),
                                 device::PathInterfaceNumber(path), device::PathCollectionNumber(path), 0x000C, 0x01},
                                path);
  ASSERT_TRUE(index.has_value());
  const device::AttachResult attached = attacher.Attach(*index);
  EXPECT_EQ(attached.device, &keyboard_);
  EXPECT_TRUE(attached.changed);
  EXPECT_TRUE(keyboard_.NotificationThreadRunning());
  device_->Notify(0x0401);
  ASSERT_TRUE(keyboard_.WaitForCodes(1));

  list.Release(*index);
  const device::AttachResult detached = attacher.Detach(*index);
  EXPECT_TRUE(detached.changed);
  EXPECT_FALSE(keyboard_.NotificationThreadRunning()) << "ended by the detach";
  EXPECT_FALSE(debug_.Contains("notification thread still running"));
}

}  // namespace
}  // namespace zrv::devices
