#include "device/hidraw_backend.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <thread>

#include "device/fake_sysfs.h"
#include "device/hid_interface.h"
#include "device/hidraw_sysfs.h"

namespace zrv::device {
namespace {

namespace fake = zrv::device::testing;
namespace fs = std::filesystem;

// Interface 1 of the keyboard: keyboard (ID 1), system control (ID 2), consumer control (ID 3) and
// the vendor command collection (ID 4, 64-byte reports).
constexpr const char* kKeyboardInterface1 =
    "05 01 09 06 A1 01 85 01 05 07 19 E0 29 E7 15 00 25 01 75 01 95 08 81 02 95 01 75 08 81 03"
    " 95 05 75 01 05 08 19 01 29 05 91 02 95 01 75 03 91 03 95 06 75 08 15 00 26 FF 00 05 07"
    " 19 00 2A FF 00 81 00 C0"
    " 05 01 09 80 A1 01 85 02 19 81 29 83 15 00 25 01 75 01 95 03 81 02 95 05 81 03 C0"
    " 05 0C 09 01 A1 01 85 03 15 00 26 FF 03 19 00 2A FF 03 75 10 95 01 81 00 C0"
    " 06 1C FF 09 92 A1 01 85 04 15 00 26 FF 00 75 08 95 3F 09 01 81 02 09 01 91 02 C0";
// Real descriptors from tests/data/hid/windows-caps.json: a boot keyboard without report IDs
// (046A_0011), a headset's consumer control with report IDs (046D_0A37), a mouse (046D_C077).
constexpr const char* kBootKeyboard =
    "05 01 09 06 A1 01 05 07 19 E0 29 E7 15 00 25 01 75 01 95 08 81 02 75 08 95 01 81 03 19 00 29 DD"
    " 15 00 26 DD 00 75 08 95 06 81 00 05 08 19 01 29 03 15 00 25 01 75 01 95 03 91 02 75 05 95 01"
    " 91 03 C0";
constexpr const char* kHeadsetControl =
    "05 0C 09 01 A1 01 85 01 15 00 25 01 09 E9 09 EA 75 01 95 02 81 02 09 E2 95 01 81 06 09 00 95 02"
    " 81 03 09 36 A1 02 05 09 19 01 29 02 75 02 95 01 15 01 25 02 81 40 C0 05 0C 09 00 15 00 25 01"
    " 75 01 95 01 81 03 85 02 05 0C 09 00 95 10 81 02 85 03 09 00 91 02 85 04 09 00 75 08 95 24 91"
    " 02 85 05 09 00 95 20 81 02 85 06 09 00 95 24 91 02 85 07 09 00 95 20 81 02 C0";
constexpr const char* kMouse =
    "05 01 09 02 A1 01 09 01 A1 00 05 09 19 01 29 03 15 00 25 01 95 08 75 01 81 02 05 01 09 30 09 31"
    " 09 38 15 81 25 7F 75 08 95 03 81 06 C0 C0";

constexpr const char* kKeyboardName = "0003:320F:505B.0007";

class HidrawBackendTest : public ::testing::Test {
 protected:
  HidrawBackendTest() {
    usb_ = sys_.UsbDevice("1-2", 0x320F, 0x505B, 0x0101);
    boot_ = sys_.AddHid(sys_.UsbInterface(usb_, 0),
                        {0x0003, 0x320F, 0x505B, 6, 2, "usb-0000:00:14.0-2/input0", fake::Hex(kBootKeyboard)});
    keyboard_ = sys_.AddHid(sys_.UsbInterface(usb_, 1), {0x0003, 0x320F, 0x505B, 7, 3, "usb-0000:00:14.0-2/input1",
                                                         fake::Hex(kKeyboardInterface1)});
    sys_.AddHid(sys_.Uhid(), {0x0003, 0x1234, 0x5678, 9, 5, "usb-0000:00:14.0-3/input3", fake::Hex(kHeadsetControl)});
    backend_ = MakeHidrawBackend({sys_.SysRoot(), sys_.DevRoot(),
                                  [this](const std::string& node, int flags) { return nodes_.Open(node, flags); }});
  }

  std::string Dev(const std::string& tail) const { return sys_.DevRoot() + "/" + tail; }
  std::string KeyboardPath(int collection) const {
    return Dev(std::string("hidraw3#") + kKeyboardName + "#vid_320f&pid_505b&mi_01&col0" + std::to_string(collection));
  }

  std::vector<std::string> Enumerate() {
    std::vector<std::string> paths;
    EXPECT_TRUE(backend_->Enumerate(paths));
    return paths;
  }

  std::unique_ptr<HidConnection> Open(const std::string& path, bool read, bool write, bool exclusive = false) {
    return backend_->Open(path, HidOpenFlags{read, write, true, exclusive});
  }

  fake::FakeSysfs sys_;
  fake::FakeNodes nodes_;
  std::shared_ptr<HidBackend> backend_;
  std::string usb_, boot_, keyboard_;
};

// Reads one message from a device side; empty when none arrives within a second.
std::vector<uint8_t> Receive(int fd) {
  std::vector<uint8_t> buffer(256);
  struct timeval tv = {1, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
  buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return buffer;
}

void Send(int fd, std::vector<uint8_t> report) {
  ASSERT_EQ(::send(fd, report.data(), report.size(), 0), static_cast<ssize_t>(report.size()));
}

std::vector<uint8_t> VendorReport(uint8_t first) {
  std::vector<uint8_t> report(64, 0);
  report[0] = 0x04;
  report[1] = first;
  return report;
}

TEST_F(HidrawBackendTest, ListsOnePathPerTopLevelCollectionInNodeOrder) {
  sys_.AddHid(sys_.UsbInterface(sys_.UsbDevice("1-3", 0x046D, 0xC077, 0x7200), 0),
              {0x0003, 0x046D, 0xC077, 10, 10, "usb-0000:00:14.0-3/input0", fake::Hex(kMouse)});
  const std::vector<std::string> expected = {
      Dev("hidraw2#0003:320F:505B.0006#vid_320f&pid_505b&mi_00"),
      KeyboardPath(1),
      KeyboardPath(2),
      KeyboardPath(3),
      KeyboardPath(4),
      Dev("hidraw5#0003:1234:5678.0009#vid_1234&pid_5678&mi_03"),
      Dev("hidraw10#0003:046D:C077.000A#vid_046d&pid_c077&mi_00"),
  };
  std::vector<std::string> paths = {"kept"};
  ASSERT_TRUE(backend_->Enumerate(paths));
  EXPECT_EQ(paths.front(), "kept");  // appends
  paths.erase(paths.begin());
  EXPECT_EQ(paths, expected);
  for (const auto& path : paths) EXPECT_TRUE(backend_->Handles(path)) << path;
  EXPECT_FALSE(backend_->Handles("virtual:1#vid_320f&pid_505b"));
  EXPECT_FALSE(backend_->Handles("/dev/hidraw3#" + std::string(kKeyboardName) + "#vid_320f"));  // another dev root
}

TEST_F(HidrawBackendTest, OtherTransportsTakeTheInterfaceFromHidPhysAndTheVersionFromTheirInputDevice) {
  sys_.AddHid(sys_.Uhid(), {0x0003, 0x1234, 0x0001, 20, 6, "usb-0000:00:14.0-4/input12", fake::Hex(kMouse), 0x0107});
  sys_.AddHid(sys_.Uhid(), {0x0003, 0x1234, 0x0002, 21, 7, "virtual-input", fake::Hex(kMouse)});
  sys_.AddHid(sys_.BluetoothLink(), {0x0005, 0x046D, 0xB342, 22, 8, "aa:bb:cc:dd:ee:ff", fake::Hex(kMouse), 0x0021});
  std::vector<std::string> paths = Enumerate();
  ASSERT_EQ(paths.size(), 9u);
  EXPECT_EQ(paths[6], Dev("hidraw6#0003:1234:0001.0014#vid_1234&pid_0001&mi_0c"));  // input12, decimal
  EXPECT_EQ(paths[7], Dev("hidraw7#0003:1234:0002.0015#vid_1234&pid_0002"));
  // The Bluetooth adapter's USB interface further up describes the adapter, not this device.
  EXPECT_EQ(paths[8], Dev("hidraw8#0005:046D:B342.0016#vid_046d&pid_b342"));

  ScopedHidBackends scoped({backend_});
  HidInterface hid;
  ASSERT_EQ(hid.Open(paths[8], true, false, true, false), 1);
  EXPECT_EQ(hid.VendorId(), 0x046D);
  EXPECT_EQ(hid.Version(), 0x0021);                            // not the adapter's bcdDevice
  ASSERT_EQ(hid.Open(paths[6], true, false, true, false), 1);  // uhid, as the kernel shows it
  EXPECT_EQ(hid.Version(), 0x0107);
  EXPECT_EQ(hid.InterfaceNumber(), 12u);
  // Without an input device (vendor collections only) nothing in sysfs tells the version.
  ASSERT_EQ(hid.Open(paths[5], true, false, true, false), 1);
  EXPECT_EQ(hid.Version(), 0);
  EXPECT_EQ(hid.InterfaceNumber(), 3u);
  ASSERT_EQ(hid.Open(paths[7], true, false, true, false), 1);
  EXPECT_EQ(hid.Version(), 0);
}

TEST_F(HidrawBackendTest, InterfacesReportTheFactsOfTheirCollection) {
  ScopedHidBackends scoped({backend_});
  HidInterface hid;
  ASSERT_EQ(hid.EnumeratePaths(), 1);
  EXPECT_EQ(hid.PathCount(), 6u);

  ASSERT_EQ(hid.Open(KeyboardPath(4), true, true, true, false), 1);
  EXPECT_EQ(hid.VendorId(), 0x320F);
  EXPECT_EQ(hid.ProductId(), 0x505B);
  EXPECT_EQ(hid.Version(), 0x0101);  // the USB device's, not the root hub's
  EXPECT_EQ(hid.UsagePage(), 0xFF1C);
  EXPECT_EQ(hid.Usage(), 0x92);
  EXPECT_EQ(hid.InputReportLength(), 64);
  EXPECT_EQ(hid.OutputReportLength(), 64);
  EXPECT_EQ(hid.InterfaceNumber(), 1u);
  EXPECT_EQ(hid.CollectionNumber(), 4u);

  ASSERT_EQ(hid.Open(KeyboardPath(3), true, false, true, false), 1);
  EXPECT_EQ(hid.UsagePage(), 0x000C);
  EXPECT_EQ(hid.Usage(), 0x01);
  EXPECT_EQ(hid.InputReportLength(), 3);

  ASSERT_EQ(hid.Open(Dev("hidraw2#0003:320F:505B.0006#vid_320f&pid_505b&mi_00"), true, true, true, false), 1);
  EXPECT_EQ(hid.UsagePage(), 0x0001);
  EXPECT_EQ(hid.Usage(), 0x0006);
  EXPECT_EQ(hid.InputReportLength(), 9);  // counts the report-ID byte the device does not send
  EXPECT_EQ(hid.CollectionNumber(), 0u);
}

TEST_F(HidrawBackendTest, NodesThatCannotBeDescribedAreSkipped) {
  sys_.AddHid(sys_.Uhid(), {0x0003, 0x1111, 0x2222, 30, 6, "", {}});  // descriptor unreadable
  std::string no_id = sys_.AddHid(sys_.Uhid(), {0x0003, 0x1111, 0x3333, 31, 7, "", fake::Hex(kMouse)});
  fake::FakeSysfs::WriteFile(no_id + "/uevent", "DRIVER=hid-generic\nHID_NAME=x\n");
  EXPECT_EQ(Enumerate().size(), 6u);  // the fixture's nodes only
  EXPECT_EQ(Open(Dev("hidraw6#0003:1111:2222.001E#vid_1111&pid_2222"), true, false), nullptr);

  // No hidraw class at all (module not loaded) is an empty list, not a failure.
  fake::FakeSysfs empty;
  fs::remove_all(empty.SysRoot() + "/class/hidraw");
  std::vector<std::string> paths;
  EXPECT_TRUE(MakeHidrawBackend({empty.SysRoot(), empty.DevRoot(), nullptr})->Enumerate(paths));
  EXPECT_TRUE(paths.empty());

  // Paths that would not fit the 260-character path buffers are left out: with a dev root of 207
  // characters the 52-character tails of hidraw2 and hidraw5 fit, the keyboard's 58 do not.
  auto long_root = MakeHidrawBackend({sys_.SysRoot(), "/" + std::string(206, 'd'), nullptr});
  EXPECT_TRUE(long_root->Enumerate(paths));
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0].size(), 259u);
}

TEST_F(HidrawBackendTest, OpensWithTheRequestedAccessAndReopens) {
  auto both = Open(KeyboardPath(4), true, true);
  auto read_only = Open(KeyboardPath(3), true, false);
  auto write_only = Open(KeyboardPath(4), false, true);
  ASSERT_TRUE(both && read_only && write_only);
  ASSERT_EQ(nodes_.OpenCount(), 3u);
  EXPECT_EQ(nodes_.FlagsOf(0), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  EXPECT_EQ(nodes_.FlagsOf(1), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  EXPECT_EQ(nodes_.FlagsOf(2), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  EXPECT_EQ(both->CollectionIndex(), 3u);
  EXPECT_EQ(read_only->CollectionIndex(), 2u);
  EXPECT_EQ(both->Descriptor().collections.size(), 4u);

  // A connection refuses the direction it was not opened for.
  size_t n = 0;
  std::array<uint8_t, 64> buffer{};
  EXPECT_EQ(read_only->WriteRaw(VendorReport(1), n, 0, -1), HidIoResult::kFailed);
  EXPECT_EQ(write_only->ReadRaw(buffer, n, 0, -1), HidIoResult::kFailed);

  ScopedHidBackends scoped({backend_});
  HidInterface hid;
  ASSERT_EQ(hid.Open(KeyboardPath(4), true, true, true, false), 1);
  ASSERT_EQ(hid.Reopen(), 1);
  EXPECT_EQ(nodes_.OpenCount(), 5u);
  EXPECT_EQ(hid.CollectionNumber(), 4u);
  // The first connection's node is closed: its device side sees the hang-up.
  EXPECT_TRUE(Receive(nodes_.DeviceSide(3)).empty());
}

TEST_F(HidrawBackendTest, APathNamesOneDeviceForGood) {
  const std::string old_path = KeyboardPath(4);
  ASSERT_TRUE(Open(old_path, true, true));

  // Unplugged: the node is gone.
  sys_.Remove(keyboard_);
  EXPECT_EQ(Open(old_path, true, true), nullptr);
  EXPECT_EQ(Open(old_path, false, false), nullptr);

  // Another device takes the node number over.
  std::string mouse = sys_.AddHid(sys_.UsbInterface(sys_.UsbDevice("1-3", 0x046D, 0xC077, 0x7200), 0),
                                  {0x0003, 0x046D, 0xC077, 10, 3, "usb-0000:00:14.0-3/input0", fake::Hex(kMouse)});
  EXPECT_EQ(Open(old_path, true, true), nullptr);
  EXPECT_EQ(Open(old_path, false, false), nullptr);
  EXPECT_TRUE(Open(Dev("hidraw3#0003:046D:C077.000A#vid_046d&pid_c077&mi_00"), true, false));
  sys_.Remove(mouse);

  // The keyboard plugged in again: the same node number, but a new HID device name.
  sys_.AddHid(sys_.UsbInterface(usb_, 1),
              {0x0003, 0x320F, 0x505B, 11, 3, "usb-0000:00:14.0-2/input1", fake::Hex(kKeyboardInterface1)});
  EXPECT_EQ(Open(old_path, true, true), nullptr);
  EXPECT_EQ(Open(old_path, false, false), nullptr);
  const std::string new_path = Dev("hidraw3#0003:320F:505B.000B#vid_320f&pid_505b&mi_01&col04");
  EXPECT_EQ(Enumerate()[4], new_path);
  EXPECT_TRUE(Open(new_path, true, true));

  // Tokens that the node does not yield, and paths of another shape.
  EXPECT_EQ(Open(Dev("hidraw3#0003:320F:505B.000B#vid_320f&pid_505b&mi_01&col05"), true, false), nullptr);
  EXPECT_EQ(Open(Dev("hidraw3#0003:320F:505B.000B#vid_320f&pid_505b&mi_01"), true, false), nullptr);
  EXPECT_EQ(Open(Dev("hidraw3#0003:320F:505B.000B#vid_320f&pid_505c&mi_01&col04"), true, false), nullptr);
  EXPECT_EQ(Open(Dev("hidrawx#0003:320F:505B.000B#vid_320f&pid_505b&mi_01&col04"), true, false), nullptr);
  EXPECT_EQ(Open(Dev("hidraw3#../../0003:320F:505B.000B#vid_320f&pid_505b&mi_01&col04"), true, false), nullptr);
  EXPECT_EQ(Open(Dev("hidraw3"), true, false), nullptr);

  // Gone from sysfs while a stale node file lingers.
  sys_.Remove(boot_);
  fake::FakeSysfs::WriteFile(Dev("hidraw2"), "");
  EXPECT_EQ(Open(Dev("hidraw2#0003:320F:505B.0006#vid_320f&pid_505b&mi_00"), true, false), nullptr);
}

TEST_F(HidrawBackendTest, OpenWithoutAccessOnlyProvesPresence) {
  auto probe = Open(KeyboardPath(3), false, false);
  ASSERT_TRUE(probe);
  EXPECT_EQ(nodes_.FlagsOf(0), O_PATH | O_CLOEXEC);
  EXPECT_EQ(probe->Attributes().vendor_id, 0x320F);
  size_t n = 1;
  std::array<uint8_t, 8> buffer{};
  EXPECT_EQ(probe->ReadRaw(buffer, n, -1, -1), HidIoResult::kFailed);  // refused, not waiting
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(probe->WriteRaw(buffer, n, -1, -1), HidIoResult::kFailed);
}

// The real opener on a node that is a character device: the one sysfs names, or none.
TEST_F(HidrawBackendTest, RealOpenerAcceptsOnlyTheCharacterDeviceSysfsNames) {
  struct stat null_stat {};
  if (::stat("/dev/null", &null_stat) != 0 || !S_ISCHR(null_stat.st_mode)) GTEST_SKIP() << "no /dev/null";
  auto backend = MakeHidrawBackend({sys_.SysRoot(), sys_.DevRoot(), nullptr});
  const std::string hidraw = fake::FakeSysfs::HidrawOf(keyboard_, 3);
  fs::remove(Dev("hidraw3"));
  fs::create_symlink("/dev/null", Dev("hidraw3"));
  fake::FakeSysfs::WriteFile(hidraw + "/dev", std::to_string(major(null_stat.st_rdev)) + ":" +
                                                  std::to_string(minor(null_stat.st_rdev)) + "\n");
  auto connection = backend->Open(KeyboardPath(4), {true, true, true, false});
  ASSERT_TRUE(connection);
  EXPECT_TRUE(backend->Open(KeyboardPath(4), {}));
  size_t n = 0;
  std::array<uint8_t, 64> buffer{};
  EXPECT_EQ(connection->ReadRaw(buffer, n, -1, -1), HidIoResult::kFailed);  // end of file: gone

  fake::FakeSysfs::WriteFile(hidraw + "/dev", "247:3\n");  // /dev entry of another device
  EXPECT_EQ(backend->Open(KeyboardPath(4), {true, true, true, false}), nullptr);
  EXPECT_EQ(backend->Open(KeyboardPath(4), {}), nullptr);
  // Not a device node at all.
  EXPECT_EQ(backend->Open(Dev("hidraw2#0003:320F:505B.0006#vid_320f&pid_505b&mi_00"), {true, false, true, false}),
            nullptr);
}

TEST_F(HidrawBackendTest, ReadsDeliverOnlyTheCollectionsReports) {
  ScopedHidBackends scoped({backend_});
  HidInterface consumer, vendor;
  ASSERT_EQ(consumer.Open(KeyboardPath(3), true, true, true, false), 1);
  ASSERT_EQ(vendor.Open(KeyboardPath(4), true, true, true, false), 1);
  for (size_t i = 0; i < 2; ++i) {  // every open gets every report of the node
    Send(nodes_.DeviceSide(i), {0x01, 0x00, 0x00, 0x04, 0, 0, 0, 0, 0});
    Send(nodes_.DeviceSide(i), VendorReport(0xA5));
    Send(nodes_.DeviceSide(i), {0x03, 0x02, 0x04});
  }
  std::array<uint8_t, 64> buffer{};
  uint32_t n = 0;
  ASSERT_EQ(consumer.ReadReport(64, &n, buffer.data(), 1000), 1);
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(buffer[0], 0x03);
  EXPECT_EQ(buffer[1], 0x02);
  ASSERT_EQ(vendor.ReadReport(64, &n, buffer.data(), 1000), 1);
  EXPECT_EQ(n, 64u);
  EXPECT_EQ(buffer[0], 0x04);
  EXPECT_EQ(buffer[1], 0xA5);
}

TEST_F(HidrawBackendTest, WritesSendOneWholeReport) {
  ScopedHidBackends scoped({backend_});
  HidInterface vendor, boot;
  ASSERT_EQ(vendor.Open(KeyboardPath(4), true, true, true, false), 1);
  ASSERT_EQ(boot.Open(Dev("hidraw2#0003:320F:505B.0006#vid_320f&pid_505b&mi_00"), true, true, true, false), 1);

  const std::vector<uint8_t> command = {0x04, 0x11, 0x22};
  uint32_t n = 0;
  ASSERT_EQ(vendor.WriteReport(3, &n, command.data(), 1000), 1);
  EXPECT_EQ(n, 64u);
  std::vector<uint8_t> expected = VendorReport(0x11);
  expected[2] = 0x22;
  EXPECT_EQ(Receive(nodes_.DeviceSide(0)), expected);

  // Unnumbered reports: the leading 0 goes to the node, which strips it; reads gain it.
  const std::vector<uint8_t> leds = {0x00, 0x02};
  ASSERT_EQ(boot.WriteReport(2, &n, leds.data(), 1000), 1);
  EXPECT_EQ(Receive(nodes_.DeviceSide(1)), leds);
  Send(nodes_.DeviceSide(1), {0x02, 0x00, 0x04, 0, 0, 0, 0, 0});
  std::array<uint8_t, 16> buffer{};
  ASSERT_EQ(boot.ReadReport(16, &n, buffer.data(), 1000), 1);
  EXPECT_EQ(n, 9u);
  EXPECT_EQ(buffer[0], 0x00);
  EXPECT_EQ(buffer[1], 0x02);
  EXPECT_EQ(buffer[3], 0x04);
}

TEST_F(HidrawBackendTest, TimeOutAndCancelEndTransfersWithoutTouchingTheCancelDescriptor) {
  auto connection = Open(KeyboardPath(4), true, true);
  ASSERT_TRUE(connection);
  std::array<uint8_t, 64> buffer{};
  size_t n = 7;
  EXPECT_EQ(connection->ReadRaw(buffer, n, 20, -1), HidIoResult::kTimeout);
  EXPECT_EQ(n, 0u);

  int cancel = ::eventfd(1, EFD_CLOEXEC | EFD_NONBLOCK);
  ASSERT_GE(cancel, 0);
  Send(nodes_.DeviceSide(0), VendorReport(1));  // even with a report waiting, cancel wins
  EXPECT_EQ(connection->ReadRaw(buffer, n, -1, cancel), HidIoResult::kCancelled);
  EXPECT_EQ(connection->WriteRaw(VendorReport(2), n, -1, cancel), HidIoResult::kCancelled);
  uint64_t value = 0;
  EXPECT_EQ(::read(cancel, &value, sizeof value), static_cast<ssize_t>(sizeof value));
  EXPECT_EQ(value, 1u);  // never read nor written by the connection
  ::close(cancel);
  EXPECT_EQ(connection->ReadRaw(buffer, n, 0, -1), HidIoResult::kOk);  // the report is still there
  EXPECT_EQ(n, 64u);
}

TEST_F(HidrawBackendTest, ReadWithoutLimitEndsWhenTheInterfaceIsClosed) {
  ScopedHidBackends scoped({backend_});
  HidInterface hid;
  ASSERT_EQ(hid.Open(KeyboardPath(3), true, true, true, false), 1);
  std::atomic<int> result{-1};
  std::thread reader([&] {
    std::array<uint8_t, 3> buffer{};
    result = hid.ReadReport(3, nullptr, buffer.data(), HidInterface::kInfinite);
  });
  while (!hid.ReadInProgress()) std::this_thread::yield();
  hid.Close();
  reader.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_FALSE(hid.IsOpen());
}

TEST_F(HidrawBackendTest, RemovalFailsTransfersAtOnce) {
  auto waiting = Open(KeyboardPath(4), true, true);
  auto with_queue = Open(KeyboardPath(4), true, true);
  ASSERT_TRUE(waiting && with_queue);
  Send(nodes_.DeviceSide(1), VendorReport(1));  // queued when the device goes: gone with it
  std::atomic<int> result{-1};
  std::thread reader([&] {
    std::array<uint8_t, 64> buffer{};
    size_t n = 0;
    result = static_cast<int>(waiting->ReadRaw(buffer, n, -1, -1));
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // usually blocked by now; either way it must end
  nodes_.Unplug();
  reader.join();
  EXPECT_EQ(result.load(), static_cast<int>(HidIoResult::kFailed));

  size_t n = 0;
  std::array<uint8_t, 64> buffer{};
  EXPECT_EQ(with_queue->ReadRaw(buffer, n, -1, -1), HidIoResult::kFailed);
  EXPECT_EQ(waiting->ReadRaw(buffer, n, -1, -1), HidIoResult::kFailed);
  EXPECT_EQ(waiting->WriteRaw(VendorReport(2), n, -1, -1), HidIoResult::kFailed);  // no SIGPIPE either
}

// Exclusive opens hold an advisory lock on the node; the stand-in nodes here are plain files.
TEST_F(HidrawBackendTest, ExclusiveOpenKeepsOtherWritersOut) {
  auto backend = MakeHidrawBackend(
      {sys_.SysRoot(), sys_.DevRoot(), [](const std::string& node, int flags) { return ::open(node.c_str(), flags); }});
  auto open = [&](int collection, bool read, bool write, bool exclusive) {
    return backend->Open(KeyboardPath(collection), {read, write, true, exclusive});
  };
  auto exclusive = open(4, true, true, true);
  ASSERT_TRUE(exclusive);
  EXPECT_EQ(open(3, true, true, false), nullptr);
  EXPECT_EQ(open(4, true, true, true), nullptr);
  EXPECT_TRUE(open(3, true, false, false));   // readers are welcome
  EXPECT_TRUE(open(3, false, false, false));  // so is the presence check
  exclusive.reset();
  auto writer = open(3, true, true, false);
  ASSERT_TRUE(writer);
  EXPECT_EQ(open(4, true, true, true), nullptr);
}

TEST(HidrawSysfs, LibudevRefusesTreesOutsideSys) {
  fake::FakeSysfs sys;
  std::string hid = sys.AddHid(sys.Uhid(), {0x0003, 0x1234, 0x5678, 1, 0, "", fake::Hex(kMouse)});
  auto files = MakeFileSysfsSource(sys.SysRoot());
  auto udev = MakeUdevSysfsSource();
  const std::vector<SysfsDevice> expected = {{fake::FakeSysfs::HidrawOf(hid, 0), "hidraw"}, {hid, "hid"}};
  EXPECT_EQ(files->Lineage(fake::FakeSysfs::HidrawOf(hid, 0), 1), expected);
  EXPECT_TRUE(udev->Lineage(fake::FakeSysfs::HidrawOf(hid, 0), 1).empty());
}

// The plain-file source must walk a tree exactly as libudev does; the real /sys is the reference.
TEST(HidrawSysfs, FileSourceAgreesWithLibudevOnTheRealTree) {
  auto files = MakeFileSysfsSource("/sys");
  auto udev = MakeUdevSysfsSource();
  size_t compared = 0;
  for (const char* subsystem : {"hidraw", "tty", "net", "block", "misc", "input"}) {
    std::vector<std::string> from_files, from_udev;
    ASSERT_TRUE(files->ListClass(subsystem, from_files));
    ASSERT_TRUE(udev->ListClass(subsystem, from_udev));
    std::sort(from_udev.begin(), from_udev.end());
    EXPECT_EQ(from_files, from_udev) << subsystem;
    for (size_t i = 0; i < from_udev.size() && i < 40; ++i) {
      const std::string name = fs::path(from_udev[i]).filename().string();
      EXPECT_EQ(files->FindClassDevice(subsystem, name), udev->FindClassDevice(subsystem, name));
      std::vector<SysfsDevice> lineage = udev->Lineage(from_udev[i], 64);
      EXPECT_EQ(files->Lineage(from_udev[i], 64), lineage);
      EXPECT_EQ(files->Lineage(from_udev[i], 1), udev->Lineage(from_udev[i], 1));
      compared += lineage.size();
    }
  }
  if (compared == 0) GTEST_SKIP() << "no class devices to compare";
}

TEST(HidrawBackend, IsTheFirstDefaultBackend) {
  auto backends = HidBackends();
  ASSERT_FALSE(backends.empty());
  EXPECT_TRUE(backends.front()->Handles("/dev/hidraw0#0003:320F:505B.0001#vid_320f&pid_505b"));
}

}  // namespace
}  // namespace zrv::device

namespace zrv::device {
namespace {

// Enumeration reuses what it learnt while the class folder and the owners of its nodes stay the
// same; every change of either shows at once.
TEST_F(HidrawBackendTest, RepeatedEnumerationsFollowEveryChange) {
  const auto first = Enumerate();
  ASSERT_EQ(first.size(), 6u);
  EXPECT_EQ(Enumerate(), first);

  std::string mouse = sys_.AddHid(sys_.UsbInterface(sys_.UsbDevice("1-3", 0x046D, 0xC077, 0x7200), 0),
                                  {0x0003, 0x046D, 0xC077, 10, 8, "usb-0000:00:14.0-3/input0", fake::Hex(kMouse)});
  auto with_mouse = Enumerate();
  ASSERT_EQ(with_mouse.size(), 7u);
  EXPECT_EQ(with_mouse.back(), Dev("hidraw8#0003:046D:C077.000A#vid_046d&pid_c077&mi_00"));

  // The same node number, another owner.
  sys_.Remove(mouse);
  sys_.AddHid(sys_.UsbInterface(sys_.UsbDevice("1-4", 0x046D, 0xC077, 0x7200), 0),
              {0x0003, 0x046D, 0xC077, 12, 8, "usb-0000:00:14.0-4/input0", fake::Hex(kMouse)});
  auto replaced = Enumerate();
  ASSERT_EQ(replaced.size(), 7u);
  EXPECT_EQ(replaced.back(), Dev("hidraw8#0003:046D:C077.000C#vid_046d&pid_c077&mi_00"));

  sys_.Remove(keyboard_);
  EXPECT_EQ(Enumerate().size(), 3u);

  // A presence check after the enumeration still carries the capabilities.
  HidInterface probe;
  {
    ScopedHidBackends only({backend_});
    ASSERT_EQ(probe.Open(replaced.back(), false, false, false, false), 1);
    EXPECT_EQ(probe.UsagePage(), 0x0001);
    EXPECT_EQ(probe.InputReportLength(), 5);
  }
}

}  // namespace
}  // namespace zrv::device
