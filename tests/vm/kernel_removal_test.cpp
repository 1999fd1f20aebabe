// Arrival and removal of real kernel HID devices: the presence check, the kernel's announcements,
// reads that wait without limit, two devices at once, and a node number that passes to another device.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <iostream>
#include <map>
#include <thread>

#include "device/device_grab_thread.h"
#include "device/device_link.h"
#include "device/discovery_interface_list.h"
#include "device/discovery_queue.h"
#include "device/hid_interface.h"
#include "device/kernel_uevents.h"
#include "sim/sim_ids.h"
#include "vm/kernel_hid_support.h"

namespace zrv::vmtest {
namespace {

using device::DeviceLink;
using device::DiscoveryMessage;
using device::HidInterface;

// The keyboard's two rows of the interface table: command and notification collection.
constexpr size_t kKeyboardCommandRow = 0;
constexpr size_t kKeyboardNotificationRow = 1;

class KernelRemovalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveUhid()) GTEST_SKIP() << "no /dev/uhid here: run inside the test VM";
  }
};

// Takes discovery messages until `count` of kind have arrived (or timeout); the time each came.
std::map<size_t, Clock::time_point> Await(device::DiscoveryQueue& queue, DiscoveryMessage kind, size_t count,
                                          std::chrono::milliseconds timeout) {
  std::map<size_t, Clock::time_point> arrived;
  const auto deadline = Clock::now() + timeout;
  while (arrived.size() < count && Clock::now() < deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    queue.ProcessNext(
        [&](DiscoveryMessage message, size_t index) {
          if (message == kind) arrived[index] = Clock::now();
        },
        left);
  }
  return arrived;
}

TEST_F(KernelRemovalTest, ThePresenceCheckNoticesAnUnplugWithinAPeriod) {
  device::InterfaceList list{device::DeviceIdOverrides{}};
  device::DiscoveryQueue queue;
  device::DeviceGrabThread grab(list, queue);
  auto keyboard = PlugThroughUhid("keyboard");
  ASSERT_TRUE(keyboard.device);
  ASSERT_TRUE(grab.Start());

  auto added = Await(queue, DiscoveryMessage::kDeviceAdd, 2, std::chrono::seconds(5));
  ASSERT_EQ(added.size(), 2u);
  EXPECT_TRUE(added.count(kKeyboardCommandRow) && added.count(kKeyboardNotificationRow));
  EXPECT_EQ(list.Path(kKeyboardCommandRow), CollectionPath(*keyboard.device, sim::kCommandCollection));
  EXPECT_EQ(list.Path(kKeyboardNotificationRow), CollectionPath(*keyboard.device, sim::kNotificationCollection));

  const auto unplugged = Clock::now();
  keyboard.device->Unplug();
  auto removed = Await(queue, DiscoveryMessage::kDeviceRemove, 2, std::chrono::seconds(5));
  ASSERT_EQ(removed.size(), 2u);
  double slowest = 0;
  for (const auto& [index, when] : removed) {
    slowest = std::max(slowest, std::chrono::duration<double, std::milli>(when - unplugged).count());
  }
  std::cout << "[ measured ] removal noticed after " << slowest << " ms (check period "
            << device::DeviceGrabThread::kPeriod.count() << " ms)\n";
  // One check period plus the check itself, with room for a loaded, emulated machine.
  EXPECT_LT(slowest, 250.0);
  EXPECT_FALSE(list.IsPresent(kKeyboardCommandRow));
  EXPECT_FALSE(list.IsPresent(kKeyboardNotificationRow));

  // Plugged in again: both records come back, on the new device's paths. Discovery lists the
  // nodes again when the kernel announces the new one, not a second later (its safety net).
  auto again = PlugThroughUhid("keyboard");
  ASSERT_TRUE(again.device);
  const auto plugged = Clock::now();
  added = Await(queue, DiscoveryMessage::kDeviceAdd, 2, std::chrono::seconds(5));
  EXPECT_EQ(added.size(), 2u);
  double latest = 0;
  for (const auto& [index, when] : added) {
    latest = std::max(latest, std::chrono::duration<double, std::milli>(when - plugged).count());
  }
  std::cout << "[ measured ] arrival noticed after " << latest << " ms\n";
  EXPECT_LT(latest, 500.0);
  EXPECT_EQ(list.Path(kKeyboardCommandRow), CollectionPath(*again.device, sim::kCommandCollection));
  grab.StopAndWait(std::chrono::seconds(60));
}

TEST_F(KernelRemovalTest, TheKernelAnnouncesAPlugAndAnUnplugToEveryListener) {
  device::KernelUevents uevents;
  ASSERT_TRUE(uevents.Listening());
  EXPECT_FALSE(uevents.TakeAny()) << "nothing came yet";
  auto keyboard = PlugThroughUhid("keyboard");
  ASSERT_TRUE(keyboard.device);
  EXPECT_TRUE(uevents.TakeAny());
  keyboard.device->Unplug();  // its events are sent before the unplug returns
  EXPECT_TRUE(uevents.TakeAny());
}

TEST_F(KernelRemovalTest, AReadWithoutLimitReturnsAtOnceWhenTheDeviceGoes) {
  auto keyboard = PlugThroughUhid("keyboard");
  ASSERT_TRUE(keyboard.device);
  const std::string path = CollectionPath(*keyboard.device, sim::kNotificationCollection);
  HidInterface hid;
  ASSERT_EQ(hid.Open(path, true, true, true, false), 1);

  std::atomic<int> result{-1};
  Clock::time_point returned;
  std::thread reader([&] {
    uint8_t report[5];
    uint32_t n = 0;
    int r = hid.ReadReport(sizeof report, &n, report, HidInterface::kInfinite);
    returned = Clock::now();
    result.store(r);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(result.load(), -1) << "the read should still wait";
  const auto unplugged = Clock::now();
  keyboard.device->Unplug();
  reader.join();
  const double latency = std::chrono::duration<double, std::milli>(returned - unplugged).count();
  std::cout << "[ measured ] waiting read returned " << latency << " ms after the unplug began\n";
  EXPECT_EQ(result.load(), 0);
  EXPECT_LT(latency, 100.0);

  // Everything else on the handle fails at once too, and the path no longer opens.
  uint8_t request[64] = {sim::kCommandReportId};
  uint32_t n = 0;
  const auto start = Clock::now();
  EXPECT_EQ(hid.ReadReport(5, &n, request, 5000), 0);
  EXPECT_EQ(hid.WriteReport(64, &n, request, 5000), 0);
  EXPECT_LT(MillisecondsSince(start), 100.0);
  HidInterface probe;
  EXPECT_EQ(probe.Open(path, false, false, true, false), 0);
}

TEST_F(KernelRemovalTest, ASecondDeviceGetsItsOwnPaths) {
  auto first = PlugThroughUhid("keyboard");
  auto second = PlugThroughUhid("keyboard");
  ASSERT_TRUE(first.device && second.device);
  EXPECT_NE(first.device->NodePath(), second.device->NodePath());
  EXPECT_NE(first.device->HidName(), second.device->HidName());
  const auto first_paths = PathsOf(*first.device);
  const auto second_paths = PathsOf(*second.device);
  ASSERT_EQ(first_paths.size(), 4u);
  ASSERT_EQ(second_paths.size(), 4u);
  for (const auto& path : first_paths) EXPECT_EQ(std::count(second_paths.begin(), second_paths.end(), path), 0);

  // Each path reaches its own device.
  const uint8_t marks[2] = {0x11, 0x22};
  first.model->SetAreaBytes(sim::Area::kInfo, 20, std::span<const uint8_t>(&marks[0], 1));
  second.model->SetAreaBytes(sim::Area::kInfo, 20, std::span<const uint8_t>(&marks[1], 1));
  for (int i = 0; i < 2; ++i) {
    const auto& device = i == 0 ? *first.device : *second.device;
    DeviceLink link;
    ASSERT_TRUE(Connect(link, CollectionPath(device, sim::kCommandCollection)));
    std::array<uint8_t, DeviceLink::kInfoBlockSize> info{};
    ASSERT_EQ(link.ReadInfo(info), 1);
    EXPECT_EQ(info[20], marks[i]);
  }

  // The first one going leaves the second one alone.
  first.device->Unplug();
  EXPECT_TRUE(PathsOf(*first.device).empty());
  DeviceLink link;
  ASSERT_TRUE(Connect(link, CollectionPath(*second.device, sim::kCommandCollection)));
  EXPECT_EQ(link.Probe(), 1);
}

TEST_F(KernelRemovalTest, ANodeNumberTakenOverByAnotherDeviceIsNotTheOldOne) {
  auto old_device = PlugThroughUhid("keyboard");
  ASSERT_TRUE(old_device.device);
  const std::string node = old_device.device->NodePath();
  const auto old_paths = PathsOf(*old_device.device);
  ASSERT_EQ(old_paths.size(), 4u);
  old_device.device->Unplug();

  // The same kind of device again: same ids, same tokens, and (nothing else holds a node here) the
  // same node number. Only the kernel's name of the HID device differs.
  auto new_device = PlugThroughUhid("keyboard");
  ASSERT_TRUE(new_device.device);
  ASSERT_EQ(new_device.device->NodePath(), node) << "the kernel gave another node number; nothing to test";
  EXPECT_NE(new_device.device->HidName(), old_device.device->HidName());

  const auto listed = EnumeratePaths();
  for (const auto& path : old_paths) {
    SCOPED_TRACE(path);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), path), 0);
    HidInterface hid;
    EXPECT_EQ(hid.Open(path, false, false, true, false), 0);  // the presence check
    EXPECT_EQ(hid.Open(path, true, true, true, false), 0);
  }
  DeviceLink link;
  ASSERT_TRUE(Connect(link, CollectionPath(*new_device.device, sim::kCommandCollection)));
  EXPECT_EQ(link.Probe(), 1);
}

TEST_F(KernelRemovalTest, AHandleLeftOpenOnARemovedDeviceNeverReadsItsSuccessor) {
  auto old_device = PlugThroughUhid("keyboard");
  ASSERT_TRUE(old_device.device);
  HidInterface stale;
  ASSERT_EQ(stale.Open(CollectionPath(*old_device.device, sim::kNotificationCollection), true, true, true, false), 1);
  old_device.device->Unplug();

  // The open handle keeps the old node's number taken, so the successor gets another one.
  auto new_device = PlugThroughUhid("keyboard");
  ASSERT_TRUE(new_device.device);
  EXPECT_NE(new_device.device->NodePath(), old_device.device->NodePath());
  new_device.model->Notify(sim::kNotifySyncRequest);
  uint8_t report[5];
  uint32_t n = 0;
  EXPECT_EQ(stale.ReadReport(sizeof report, &n, report, 300), 0);
  stale.Close();
}

}  // namespace
}  // namespace zrv::vmtest
