// The simulated keyboard as a real kernel HID device: what the enumerator sees, commands through
// DeviceLink over its hidraw node, and which reader of the node gets which report.

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

#include "device/device_link.h"
#include "device/hid_interface.h"
#include "sim/sim_ids.h"
#include "sim/simulated_devices.h"
#include "vm/kernel_hid_support.h"

namespace zrv::vmtest {
namespace {

using device::DeviceLink;
using device::HidInterface;

class KernelHidTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveUhid()) GTEST_SKIP() << "no /dev/uhid here: run inside the test VM";
    keyboard_ = PlugThroughUhid("keyboard");
    ASSERT_TRUE(keyboard_.device);
  }

  std::string Path(int collection) const { return CollectionPath(*keyboard_.device, collection); }

  Bridged keyboard_;
};

TEST_F(KernelHidTest, EnumeratorListsEveryCollectionOfTheKeyboardWithItsFacts) {
  const auto paths = PathsOf(*keyboard_.device);
  ASSERT_EQ(paths.size(), 4u);
  struct Expected {
    uint16_t usage_page, usage, input, output;
  };
  // Report byte lengths count the report-ID byte.
  const Expected expected[4] = {
      {0x0001, 0x06, 9, 0}, {0x0001, 0x80, 2, 0}, {0x000C, 0x01, 5, 0}, {0xFF1C, 0x92, 64, 64}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(paths[i]);
    EXPECT_TRUE(paths[i].starts_with(keyboard_.device->NodePath() + "#"));
    EXPECT_NE(paths[i].find("vid_320f&pid_505b&mi_01&col0" + std::to_string(i + 1)), std::string::npos);
    HidInterface hid;
    ASSERT_EQ(hid.Open(paths[i], false, false, true, false), 1);
    EXPECT_EQ(hid.VendorId(), sim::kVendorId);
    EXPECT_EQ(hid.ProductId(), sim::kKeyboardProductId);
    EXPECT_EQ(hid.Version(), sim::kFirmwareVersion);
    EXPECT_EQ(hid.InterfaceNumber(), 1u);
    EXPECT_EQ(hid.CollectionNumber(), static_cast<uint32_t>(i + 1));
    EXPECT_EQ(hid.UsagePage(), expected[i].usage_page);
    EXPECT_EQ(hid.Usage(), expected[i].usage);
    EXPECT_EQ(hid.InputReportLength(), expected[i].input);
    EXPECT_EQ(hid.OutputReportLength(), expected[i].output);
    EXPECT_EQ(hid.FeatureReportLength(), 0);
  }
}

TEST_F(KernelHidTest, CommandsRoundTripThroughDeviceLink) {
  DeviceLink link;
  ASSERT_TRUE(Connect(link, Path(sim::kCommandCollection)));

  std::array<uint8_t, DeviceLink::kInfoBlockSize> info{};
  ASSERT_EQ(link.ReadInfo(info), 1);
  const auto expected = keyboard_.model->InfoBlock();
  EXPECT_TRUE(std::equal(info.begin(), info.end(), expected.begin()));

  // A record that spans two frames goes out and comes back intact.
  std::vector<uint8_t> record(46);
  for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(0xA0 + i);
  ASSERT_EQ(link.Begin(), 1);
  ASSERT_EQ(link.WriteSettings(record, 46), 1);
  ASSERT_EQ(link.End(), 1);
  EXPECT_EQ(keyboard_.model->SettingsRecord(1), record);
  std::vector<uint8_t> back(46);
  ASSERT_EQ(link.ReadSettings(back, 46), 1);
  EXPECT_EQ(back, record);

  // Every frame reached the model as one output report of 64 bytes, report ID first.
  EXPECT_EQ(keyboard_.model->Log().ChecksumErrors(), 0u);
  EXPECT_GE(keyboard_.device->OutputReports(), 4u);
  // Its reports can go one way only: a second bridge is refused.
  std::string error;
  EXPECT_FALSE(sim::UhidDevice::Create(keyboard_.model, error));
  EXPECT_NE(error.find("plugged already"), std::string::npos) << error;
  link.SetConnected(false);
  link.Hid().Close();
}

TEST_F(KernelHidTest, EachReaderOfTheNodeGetsOnlyItsCollectionsReports) {
  HidInterface commands, notifications;
  ASSERT_EQ(commands.Open(Path(sim::kCommandCollection), true, true, true, false), 1);
  ASSERT_EQ(notifications.Open(Path(sim::kNotificationCollection), true, true, true, false), 1);

  // A notification from the device: the notification reader decodes its code; the command reader
  // of the same node never sees it.
  keyboard_.model->Notify(sim::kNotifyProfileChanged);
  uint8_t report[64] = {};
  uint32_t n = 0;
  ASSERT_EQ(notifications.ReadReport(notifications.InputReportLength(), &n, report, 2000), 1);
  EXPECT_EQ(n, 5u);
  EXPECT_EQ(report[0], sim::kNotificationReportId);
  ASSERT_TRUE(notifications.UnpackInputReport(std::span<const uint8_t>(report, n)));
  ASSERT_FALSE(notifications.InputItems().empty());
  ASSERT_FALSE(notifications.InputItems()[0].usages.empty());
  EXPECT_EQ(notifications.InputItems()[0].usages[0], sim::kNotifyProfileChanged);
  EXPECT_EQ(commands.ReadReport(64, &n, report, 300), 0);

  // A command answer: the command reader takes it; the notification reader sees nothing.
  uint8_t request[64] = {sim::kCommandReportId, 0, 0, 0xAA};
  uint16_t sum = 0;
  for (int i = 3; i < 64; ++i) sum = static_cast<uint16_t>(sum + request[i]);
  request[1] = static_cast<uint8_t>(sum);
  request[2] = static_cast<uint8_t>(sum >> 8);
  ASSERT_EQ(commands.WriteReport(64, &n, request, 1000), 1);
  ASSERT_EQ(commands.ReadReport(64, &n, report, 2000), 1);
  EXPECT_EQ(n, 64u);
  EXPECT_EQ(report[0], sim::kCommandReportId);
  EXPECT_EQ(report[3], 0xAA);
  EXPECT_EQ(report[8], 0xFF);  // reachable
  EXPECT_EQ(notifications.ReadReport(notifications.InputReportLength(), &n, report, 300), 0);
}

TEST_F(KernelHidTest, ReportsOfOtherCollectionsOnTheSameNodeAreSkippedNotLost) {
  // Several notifications queued behind a reply: the command reader takes the reply, the
  // notification reader every notification in order.
  HidInterface notifications;
  ASSERT_EQ(notifications.Open(Path(sim::kNotificationCollection), true, true, true, false), 1);
  for (unsigned slot = 0; slot < 5; ++slot) keyboard_.model->KeyDown(slot);
  DeviceLink link;
  ASSERT_TRUE(Connect(link, Path(sim::kCommandCollection)));
  ASSERT_EQ(link.Probe(), 1);
  uint8_t report[8] = {};
  uint32_t n = 0;
  for (unsigned slot = 0; slot < 5; ++slot) {
    ASSERT_EQ(notifications.ReadReport(5, &n, report, 2000), 1);
    EXPECT_EQ(report[1] | (report[2] << 8), sim::kNotifyKeyDown + slot);
  }
  link.SetConnected(false);
}

// The kernel gives every reader of the node every report and keeps at most 64 per reader: the
// notifications that piled up between two commands must not push the next answer out.
TEST_F(KernelHidTest, CommandAfterManyQueuedNotifications) {
  DeviceLink link;
  ASSERT_TRUE(Connect(link, Path(sim::kCommandCollection)));
  ASSERT_EQ(link.Probe(), 1);
  for (unsigned slot = 0; slot < 200; ++slot) keyboard_.model->KeyDown(slot % 104);
  std::array<uint8_t, DeviceLink::kInfoBlockSize> info{};
  ASSERT_EQ(link.ReadInfo(info), 1);
  const auto expected = keyboard_.model->InfoBlock();
  EXPECT_TRUE(std::equal(info.begin(), info.end(), expected.begin()));
  for (unsigned slot = 0; slot < 200; ++slot) keyboard_.model->KeyUp(slot % 104);
  EXPECT_EQ(link.Probe(), 1);
  link.SetConnected(false);
}

// The kernel parses every report descriptor itself and drops input reports whose ID it does not
// know or that are shorter than declared: each simulated kind must pass as it is.
TEST(KernelHidModels, EveryKindAnswersCommandsAndNotifiesThroughTheKernel) {
  if (!HaveUhid()) GTEST_SKIP() << "no /dev/uhid here: run inside the test VM";
  for (const auto& kind : sim::SimulatedKindNames()) {
    SCOPED_TRACE(kind);
    auto bridged = PlugThroughUhid(kind);
    ASSERT_TRUE(bridged.device);
    std::string command_path, notification_path;
    for (const auto& path : PathsOf(*bridged.device)) {
      HidInterface hid;
      ASSERT_EQ(hid.Open(path, false, false, true, false), 1) << path;
      if (hid.UsagePage() == sim::kCommandUsagePage && hid.Usage() == sim::kCommandUsage) command_path = path;
      if (hid.UsagePage() == sim::kConsumerUsagePage && hid.Usage() == sim::kConsumerUsage) notification_path = path;
    }
    if (command_path.empty()) command_path = notification_path;  // the headset: one collection for both
    ASSERT_FALSE(command_path.empty());
    ASSERT_FALSE(notification_path.empty());

    DeviceLink link;
    ASSERT_TRUE(Connect(link, command_path));
    EXPECT_EQ(link.Probe(), 1);
    std::array<uint8_t, DeviceLink::kInfoBlockSize> info{};
    ASSERT_EQ(link.ReadInfo(info), 1);
    const auto expected = bridged.model->InfoBlock();
    EXPECT_TRUE(std::equal(info.begin(), info.end(), expected.begin()));

    HidInterface notifications;
    ASSERT_EQ(notifications.Open(notification_path, true, true, true, false), 1);
    bridged.model->Notify(sim::kNotifySyncRequest);
    uint8_t report[64] = {};
    uint32_t n = 0;
    ASSERT_EQ(notifications.ReadReport(notifications.InputReportLength(), &n, report, 2000), 1);
    ASSERT_TRUE(notifications.UnpackInputReport(std::span<const uint8_t>(report, n)));
    ASSERT_FALSE(notifications.InputItems().empty());
    ASSERT_FALSE(notifications.InputItems()[0].usages.empty());
    EXPECT_EQ(notifications.InputItems()[0].usages[0], sim::kNotifySyncRequest);
  }
}

// A device with numbered feature reports, to see GET_REPORT and SET_REPORT cross the bridge.
class FeatureDevice : public device::VirtualHidDevice {
 public:
  static constexpr uint8_t kReportId = 5;
  device::HidAttributes Attributes() const override { return {0x320F, 0x5FFF, 0x0001}; }
  int InterfaceNumber() const override { return 2; }
  std::vector<uint8_t> ReportDescriptor() const override {
    // Vendor page 0xFF00, usage 1: feature report 5 of 7 bytes, input and output report 6 of 8 bytes.
    return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x85, 0x05, 0x95, 0x07,
            0x09, 0x01, 0xB1, 0x02, 0x85, 0x06, 0x95, 0x08, 0x09, 0x02, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02, 0xC0};
  }
  std::string Name() const override { return "feature probe"; }
  void OnOutputReport(std::span<const uint8_t> report) override {
    std::lock_guard lock(mutex_);
    outputs_.emplace_back(report.begin(), report.end());
  }
  bool OnGetReport(device::HidReportType type, uint8_t id, std::vector<uint8_t>& report) override {
    if (type != device::HidReportType::kFeature || id != kReportId) return false;
    std::lock_guard lock(mutex_);
    report = feature_;
    return true;
  }
  bool OnSetReport(device::HidReportType type, std::span<const uint8_t> report) override {
    if (type != device::HidReportType::kFeature || report.empty() || report[0] != kReportId) return false;
    std::lock_guard lock(mutex_);
    feature_.assign(report.begin(), report.end());
    return true;
  }
  std::vector<std::vector<uint8_t>> Outputs() const {
    std::lock_guard lock(mutex_);
    return outputs_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<uint8_t> feature_ = {kReportId, 1, 2, 3, 4, 5, 6, 7};
  std::vector<std::vector<uint8_t>> outputs_;
};

TEST(KernelHidBridge, AnswersReportRequestsAndPassesOutputReportsWhole) {
  if (!HaveUhid()) GTEST_SKIP() << "no /dev/uhid here: run inside the test VM";
  auto model = std::make_shared<FeatureDevice>();
  std::string error;
  auto device = sim::UhidDevice::Create(model, error);
  ASSERT_TRUE(device) << error;
  // One collection: no &col token.
  auto paths = PathsOf(*device);
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_TRUE(paths[0].ends_with("vid_320f&pid_5fff&mi_02")) << paths[0];

  int fd = ::open(device->NodePath().c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(fd, 0) << std::strerror(errno);
  uint8_t feature[8] = {FeatureDevice::kReportId};
  ASSERT_EQ(::ioctl(fd, HIDIOCGFEATURE(sizeof feature), feature), 8) << std::strerror(errno);
  EXPECT_EQ(feature[7], 7);
  uint8_t update[8] = {FeatureDevice::kReportId, 9, 9, 9, 9, 9, 9, 42};
  ASSERT_EQ(::ioctl(fd, HIDIOCSFEATURE(sizeof update), update), 8) << std::strerror(errno);
  std::fill(std::begin(feature), std::end(feature), 0);
  feature[0] = FeatureDevice::kReportId;
  ASSERT_EQ(::ioctl(fd, HIDIOCGFEATURE(sizeof feature), feature), 8);
  EXPECT_EQ(feature[7], 42);
  // A report the device refuses fails with the error the bridge answers.
  uint8_t unknown[4] = {9};
  errno = 0;
  EXPECT_LT(::ioctl(fd, HIDIOCGFEATURE(sizeof unknown), unknown), 0);
  EXPECT_EQ(errno, EIO);
  EXPECT_EQ(device->GetReports(), 3u);
  EXPECT_EQ(device->SetReports(), 1u);

  // hidraw hands output reports over as written, report ID first.
  const uint8_t output[9] = {6, 1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(::write(fd, output, sizeof output), 9);
  ::close(fd);
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  while (device->OutputReports() == 0 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  auto outputs = model->Outputs();
  ASSERT_EQ(outputs.size(), 1u);
  EXPECT_EQ(outputs[0], std::vector<uint8_t>(std::begin(output), std::end(output)));
}

// A device that numbers none of its reports: 8 bytes in and out.
class UnnumberedDevice : public device::VirtualHidDevice {
 public:
  device::HidAttributes Attributes() const override { return {0x320F, 0x5FFE, 0x0001}; }
  int InterfaceNumber() const override { return 0; }
  std::vector<uint8_t> ReportDescriptor() const override {
    return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
            0x08, 0x95, 0x08, 0x09, 0x02, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02, 0xC0};
  }
  void OnOutputReport(std::span<const uint8_t> report) override {
    // Answers with the payload reversed.
    std::vector<uint8_t> answer(report.begin() + 1, report.end());
    std::reverse(answer.begin(), answer.end());
    {
      std::lock_guard lock(mutex_);
      last_output_.assign(report.begin(), report.end());
    }
    SendInputReport(answer);
  }
  std::vector<uint8_t> LastOutput() const {
    std::lock_guard lock(mutex_);
    return last_output_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<uint8_t> last_output_;
};

TEST(KernelHidBridge, UnnumberedReportsGainAndLoseTheirZeroReportId) {
  if (!HaveUhid()) GTEST_SKIP() << "no /dev/uhid here: run inside the test VM";
  auto model = std::make_shared<UnnumberedDevice>();
  std::string error;
  auto device = sim::UhidDevice::Create(model, error);
  ASSERT_TRUE(device) << error;
  auto paths = PathsOf(*device);
  ASSERT_EQ(paths.size(), 1u);
  HidInterface hid;
  ASSERT_EQ(hid.Open(paths[0], true, true, true, false), 1);
  EXPECT_EQ(hid.InputReportLength(), 9);  // with the report-ID byte the device never sends
  const uint8_t request[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  uint32_t n = 0;
  ASSERT_EQ(hid.WriteReport(sizeof request, &n, request, 1000), 1);
  uint8_t reply[9] = {};
  ASSERT_EQ(hid.ReadReport(sizeof reply, &n, reply, 2000), 1);
  EXPECT_EQ(n, 9u);
  const uint8_t expected[9] = {0, 8, 7, 6, 5, 4, 3, 2, 1};
  EXPECT_TRUE(std::equal(std::begin(reply), std::end(reply), std::begin(expected)));
  // uhid hands the written report over as hidraw got it, the zero byte first (the USB HID driver
  // would drop it before the wire).
  EXPECT_EQ(model->LastOutput(), std::vector<uint8_t>(std::begin(request), std::end(request)));
}

}  // namespace
}  // namespace zrv::vmtest
