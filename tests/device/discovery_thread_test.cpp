#include "device/device_grab_thread.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "device/discovery_queue.h"
#include "discovery_test_support.h"
#include "platform/debug_output.h"
#include "sim/headset_model.h"
#include "sim/keyboard_model.h"
#include "sim/mouse_model.h"
#include "sim/mousepad_model.h"
#include "test_devices.h"

namespace zrv::device {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Handled {
  DiscoveryMessage message;
  size_t index;
  bool present_when_handled;
  std::string path_when_handled;
};

// Discovery over the virtual devices only (no real hardware of the machine gets in the way), with
// the test thread as the user-interface thread.
class DiscoveryThreadTest : public ::testing::Test {
 protected:
  DiscoveryThreadTest()
      : backend_(std::make_shared<testing::CountingBackend>(VirtualHidRegistry::Instance().Backend())),
        backends_({backend_}),
        list_(testing::SimulatorIds()),
        set_(list_),
        thread_(list_, queue_) {}

  ~DiscoveryThreadTest() override {
    thread_.StopAndWait(60s);  // an overrun is reported; the destructor joins
    VirtualHidRegistry::Instance().UnplugAll();
  }

  // Handles messages as the window would until done() holds or the time is up.
  template <class Done>
  bool RunUntil(Done done, std::chrono::milliseconds limit = 3s) {
    const auto deadline = Clock::now() + limit;
    while (!done()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left <= 0ms) return false;
      queue_.ProcessNext([this](DiscoveryMessage message, size_t index) { Handle(message, index); },
                         std::min<std::chrono::milliseconds>(left, 20ms));
    }
    return true;
  }

  void Handle(DiscoveryMessage message, size_t index) {
    handled_.push_back({message, index, list_.IsPresent(index), list_.Path(index)});
    if (message == DiscoveryMessage::kDeviceAdd) set_.attacher.Attach(index);
    if (message == DiscoveryMessage::kDeviceRemove) set_.attacher.Detach(index);
  }

  int Count(DiscoveryMessage message) const {
    int n = 0;
    for (const auto& h : handled_) n += h.message == message;
    return n;
  }
  bool FirstScanSeen() const { return Count(DiscoveryMessage::kFirstScanDone) > 0; }
  // Waits for n more scans, handling messages meanwhile.
  bool RunScans(uint64_t n) {
    const uint64_t target = thread_.ScanCount() + n;
    return RunUntil([&] { return thread_.ScanCount() >= target; });
  }

  platform::DebugCapture debug_;
  std::shared_ptr<testing::CountingBackend> backend_;
  ScopedHidBackends backends_;
  InterfaceList list_;
  testing::FakeDeviceSet set_;
  DiscoveryQueue queue_;
  DeviceGrabThread thread_;
  std::vector<Handled> handled_;
};

TEST_F(DiscoveryThreadTest, KeyboardAttachesBothCollectionsAndComesBackAfterUnplugging) {
  auto keyboard = sim::KeyboardModel::Create();
  ASSERT_TRUE(keyboard->Plug());
  ASSERT_TRUE(thread_.Start());
  ASSERT_TRUE(RunUntil([&] { return FirstScanSeen(); }));

  // Collection 3 comes first in the descriptor, so the notification record arrives first.
  ASSERT_EQ(handled_.size(), 3u);
  EXPECT_EQ(handled_[0].message, DiscoveryMessage::kDeviceAdd);
  EXPECT_EQ(handled_[0].index, 1u);
  EXPECT_EQ(handled_[1].message, DiscoveryMessage::kDeviceAdd);
  EXPECT_EQ(handled_[1].index, 0u);
  EXPECT_EQ(handled_[2].message, DiscoveryMessage::kFirstScanDone);
  // Each record was present, with its path, before its message was handled.
  EXPECT_TRUE(handled_[0].present_when_handled);
  EXPECT_EQ(handled_[0].path_when_handled, keyboard->NotificationPath());
  EXPECT_EQ(handled_[1].path_when_handled, keyboard->CommandPath());

  testing::FakeDeviceSet& set = set_;
  EXPECT_TRUE(set.keyboard().CommandLink().Connected());
  EXPECT_TRUE(set.keyboard().NotificationLink().Connected());
  std::array<uint8_t, DeviceLink::kInfoBlockSize> info{};
  EXPECT_EQ(set.keyboard().CommandLink().ReadInfo(info), kLinkOk);
  int adds = 0;
  for (const auto& line : debug_.Lines()) adds += line == "添加一个键盘设备";
  EXPECT_EQ(adds, 2);

  // Unplugged: one removal per collection.
  handled_.clear();
  keyboard->Unplug();
  ASSERT_TRUE(RunUntil([&] { return Count(DiscoveryMessage::kDeviceRemove) == 2; }));
  EXPECT_FALSE(list_.IsPresent(0));
  EXPECT_FALSE(list_.IsPresent(1));
  EXPECT_FALSE(handled_[0].present_when_handled);
  EXPECT_EQ(handled_[0].path_when_handled, "");
  EXPECT_FALSE(set.keyboard().CommandLink().Connected());
  EXPECT_FALSE(set.keyboard().NotificationLink().Connected());
  EXPECT_EQ(set.keyboard().CommandLink().ReadInfo(info), kLinkNothingDone);

  // Plugged in again: both collections attach again, on the new paths.
  handled_.clear();
  ASSERT_TRUE(keyboard->Plug());
  ASSERT_TRUE(RunUntil([&] { return Count(DiscoveryMessage::kDeviceAdd) == 2; }));
  EXPECT_TRUE(set.keyboard().CommandLink().Connected());
  EXPECT_TRUE(set.keyboard().NotificationLink().Connected());
  EXPECT_EQ(set.keyboard().CommandLink().Hid().Path(), keyboard->CommandPath());
  EXPECT_EQ(set.keyboard().CommandLink().ReadInfo(info), kLinkOk);
  EXPECT_EQ(Count(DiscoveryMessage::kFirstScanDone), 0);  // only after the very first scan
}

TEST_F(DiscoveryThreadTest, ADeviceReplugedBetweenTwoChecksIsRemovedAndAddedAgain) {
  auto keyboard = sim::KeyboardModel::Create();
  ASSERT_TRUE(keyboard->Plug());
  ASSERT_TRUE(thread_.Start());
  ASSERT_TRUE(RunUntil([&] { return FirstScanSeen(); }));
  const std::string old_path = list_.Path(0);

  // Gone and back before the next presence check: the old path is dead even though a device with
  // the same identity sits behind the new one.
  handled_.clear();
  keyboard->Unplug();
  ASSERT_TRUE(keyboard->Plug());
  ASSERT_NE(keyboard->CommandPath(), old_path);
  ASSERT_TRUE(RunUntil([&] { return Count(DiscoveryMessage::kDeviceAdd) == 2; }));
  EXPECT_EQ(Count(DiscoveryMessage::kDeviceRemove), 2);
  EXPECT_EQ(handled_[0].message, DiscoveryMessage::kDeviceRemove);
  EXPECT_EQ(list_.Path(0), keyboard->CommandPath());
  EXPECT_EQ(set_.keyboard().CommandLink().Hid().Path(), keyboard->CommandPath());
}

TEST_F(DiscoveryThreadTest, InterfaceZeroAndAForeignUsagePageAreIgnored) {
  // The keyboard's ids and layout on interface 0, and on interface 1 with collection 4 of page 0xFF00.
  auto interface_zero =
      std::make_shared<testing::EchoDevice>(testing::KeyboardLikeDescriptor(0xFF1C), 0x320F, 0x505B, 0);
  auto foreign_page = std::make_shared<testing::EchoDevice>(testing::KeyboardLikeDescriptor(0xFF00), 0x320F, 0x505B, 1);
  ASSERT_NE(VirtualHidRegistry::Instance().Plug(interface_zero), 0u);
  ASSERT_NE(VirtualHidRegistry::Instance().Plug(foreign_page), 0u);
  ASSERT_TRUE(thread_.Start());
  ASSERT_TRUE(RunUntil([&] { return FirstScanSeen(); }));
  ASSERT_TRUE(RunScans(2));

  // Only the consumer collection of interface 1 fits a record (the keyboard's notifications).
  ASSERT_EQ(Count(DiscoveryMessage::kDeviceAdd), 1);
  EXPECT_EQ(handled_[0].index, 1u);
  EXPECT_FALSE(list_.IsPresent(0));
  EXPECT_FALSE(set_.keyboard().CommandLink().Connected());
  // The foreign collection is probed on every scan: its record is still looked for.
  EXPECT_TRUE(list_.IsLookedFor(0x320F, 0x505B, 1, 4));
}

TEST_F(DiscoveryThreadTest, NoEnumerationOnceEveryRecordIsPresent) {
  auto keyboard = sim::KeyboardModel::Create();
  auto mouse = sim::MouseModel::Create();
  auto pad = sim::MousePadModel::Create();
  auto headset = sim::HeadsetModel::Create();
  for (const auto& model : std::vector<std::shared_ptr<sim::FirmwareModel>>{keyboard, mouse, pad, headset}) {
    ASSERT_TRUE(model->Plug());
  }
  ASSERT_TRUE(thread_.Start());
  ASSERT_TRUE(RunUntil([&] { return Count(DiscoveryMessage::kDeviceAdd) == 7; }));
  EXPECT_TRUE(list_.NothingLookedFor());
  for (auto* device : {&set_.keyboard(), &set_.mouse(), &set_.mouse_pad(), &set_.headset()}) {
    EXPECT_TRUE(device->CommandLink().Connected()) << KindNumber(device->Record().kind);
  }

  // Give the thread time for a few rounds: presence checks continue, enumeration does not.
  const int enumerations = backend_->enumerations.load();
  const int presence_opens = backend_->presence_opens.load();
  std::this_thread::sleep_for(350ms);
  EXPECT_EQ(backend_->enumerations.load(), enumerations);
  EXPECT_GE(backend_->presence_opens.load() - presence_opens, 7 * 2);  // one open per record and round

  // One device goes: its records are looked for again, and enumeration resumes.
  pad->Unplug();
  ASSERT_TRUE(RunUntil([&] { return Count(DiscoveryMessage::kDeviceRemove) == 2; }));
  ASSERT_TRUE(RunUntil([&] { return backend_->enumerations.load() > enumerations; }));
  EXPECT_FALSE(set_.mouse_pad().CommandLink().Connected());
}

TEST_F(DiscoveryThreadTest, FirstScanDoneIsPostedOnceEvenWithNothingPlugged) {
  ASSERT_TRUE(thread_.Start());
  ASSERT_TRUE(RunScans(4));
  EXPECT_EQ(Count(DiscoveryMessage::kFirstScanDone), 1);
  EXPECT_EQ(handled_.size(), 1u);
}

TEST_F(DiscoveryThreadTest, StopAbandonsAMessageTheWindowNeverHandles) {
  auto keyboard = sim::KeyboardModel::Create();
  ASSERT_TRUE(keyboard->Plug());
  ASSERT_TRUE(thread_.Start());
  // Nobody handles: the thread waits inside its first add.
  const auto deadline = Clock::now() + 3s;
  while (queue_.Pending() == 0 && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
  ASSERT_EQ(queue_.Pending(), 1u);
  EXPECT_TRUE(thread_.Running());
  EXPECT_TRUE(list_.IsPresent(1));  // marked before the message went out

  thread_.RequestStop();
  EXPECT_TRUE(thread_.WaitForEnd(2s));
  EXPECT_FALSE(thread_.Running());
  EXPECT_TRUE(debug_.Contains("抓取设备线程设定退出"));

  // The window gets to the message after all: it is dropped unhandled.
  auto entry = queue_.Take(1s);
  ASSERT_TRUE(entry);
  ASSERT_TRUE(entry->handover);
  EXPECT_FALSE(entry->handover->Begin());
  EXPECT_EQ(queue_.Pending(), 0u);

  // Started again, discovery goes on where it stopped.
  ASSERT_TRUE(thread_.Start());
  ASSERT_TRUE(RunUntil([&] { return Count(DiscoveryMessage::kDeviceAdd) == 1; }));
  EXPECT_EQ(handled_[0].index, 0u);
}

TEST_F(DiscoveryThreadTest, EnumerationFailureEndsTheThread) {
  backend_->fail_enumeration.store(true);
  ASSERT_TRUE(thread_.Start());
  EXPECT_TRUE(thread_.WaitForEnd(2s));
  EXPECT_FALSE(thread_.Running());
  EXPECT_EQ(backend_->enumerations.load(), 1);
  EXPECT_EQ(queue_.Pending(), 0u);  // no first-scan message without a scan
  EXPECT_TRUE(debug_.Contains("抓取设备线程设定退出"));
}

}  // namespace
}  // namespace zrv::device
