#include "device/fake_sysfs.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "device/hid_descriptor.h"

namespace zrv::device::testing {
namespace fs = std::filesystem;

namespace {

std::string Format(const char* format, unsigned a, unsigned b = 0, unsigned c = 0, unsigned d = 0) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, a, b, c, d);
  return buffer;
}

// A link at `at` pointing relatively to `target`, as sysfs links are.
void RelativeLink(const fs::path& target, const fs::path& at) {
  fs::create_directories(at.parent_path());
  fs::create_directory_symlink(fs::relative(target, at.parent_path()), at);
}

}  // namespace

FakeSysfs::FakeSysfs() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/fake-sysfs-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "mkdtemp failed";
    return;
  }
  base_ = fs::canonical(pattern).string();
  sys_ = base_ + "/sys";
  dev_ = base_ + "/dev";
  for (const char* folder : {"/bus/pci", "/bus/usb", "/bus/hid", "/class/hidraw", "/class/misc", "/class/bluetooth",
                             "/bus/bluetooth", "/class/input", "/devices/virtual/misc"}) {
    fs::create_directories(sys_ + folder);
  }
  fs::create_directories(dev_);
  WriteFile(sys_ + "/devices/pci0000:00/uevent", "");
  Device(sys_ + "/devices/pci0000:00/0000:00:14.0", "bus/pci",
         "DRIVER=xhci_hcd\nPCI_CLASS=C0330\nPCI_ID=8086:A36D\nPCI_SLOT_NAME=0000:00:14.0\n");
  std::string hub = Device(sys_ + "/devices/pci0000:00/0000:00:14.0/usb1", "bus/usb",
                           "MAJOR=189\nMINOR=0\nDEVNAME=bus/usb/001/001\nDEVTYPE=usb_device\nDRIVER=usb\n"
                           "PRODUCT=1d6b/2/606\nTYPE=9/0/1\nBUSNUM=001\nDEVNUM=001\n");
  WriteFile(hub + "/bcdDevice", "0606\n");
}

FakeSysfs::~FakeSysfs() {
  std::error_code ec;
  if (!base_.empty()) fs::remove_all(base_, ec);
}

void FakeSysfs::WriteFile(const std::string& path, const std::string& content) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

std::string FakeSysfs::Device(const std::string& path, const std::string& subsystem_link, const std::string& uevent) {
  if (!fs::exists(path + "/uevent")) {
    WriteFile(path + "/uevent", uevent);
    RelativeLink(sys_ + "/" + subsystem_link, path + "/subsystem");
    fs::create_directories(path + "/power");
  }
  return path;
}

std::string FakeSysfs::UsbDevice(const std::string& port, uint16_t vendor_id, uint16_t product_id,
                                 uint16_t bcd_device) {
  const std::string path = sys_ + "/devices/pci0000:00/0000:00:14.0/usb1/" + port;
  if (fs::exists(path)) return path;
  Device(path, "bus/usb",
         "MAJOR=189\nMINOR=1\nDEVNAME=bus/usb/001/002\nDEVTYPE=usb_device\nDRIVER=usb\n" +
             Format("PRODUCT=%x/%x/%x\n", vendor_id, product_id, bcd_device) + "TYPE=0/0/0\nBUSNUM=001\nDEVNUM=002\n");
  WriteFile(path + "/bcdDevice", Format("%04x\n", bcd_device));
  WriteFile(path + "/idVendor", Format("%04x\n", vendor_id));
  WriteFile(path + "/idProduct", Format("%04x\n", product_id));
  return path;
}

std::string FakeSysfs::UsbInterface(const std::string& usb_device, int number) {
  const std::string name = fs::path(usb_device).filename().string();
  const std::string path = usb_device + "/" + name + ":1." + std::to_string(number);
  Device(path, "bus/usb",
         "DEVTYPE=usb_interface\nDRIVER=usbhid\nTYPE=0/0/0\nINTERFACE=3/0/0\n" +
             Format("MODALIAS=usb:v0000p0000d0000dc00dsc00dp00ic03isc00ip00in%02X\n", static_cast<unsigned>(number)));
  WriteFile(path + "/bInterfaceNumber", Format("%02x\n", static_cast<unsigned>(number)));
  WriteFile(path + "/bInterfaceClass", "03\n");
  return path;
}

std::string FakeSysfs::Uhid() {
  const std::string path =
      Device(sys_ + "/devices/virtual/misc/uhid", "class/misc", "MAJOR=10\nMINOR=239\nDEVNAME=uhid\n");
  WriteFile(path + "/dev", "10:239\n");
  if (!fs::exists(sys_ + "/class/misc/uhid")) RelativeLink(path, sys_ + "/class/misc/uhid");
  return path;
}

std::string FakeSysfs::BluetoothLink() {
  std::string adapter = UsbInterface(UsbDevice("1-5", 0x8087, 0x0026, 0x0002), 0);
  std::string host = Device(adapter + "/bluetooth/hci0", "class/bluetooth", "DEVTYPE=host\n");
  return Device(host + "/hci0:512", "bus/bluetooth", "DEVTYPE=link\n");
}

std::string FakeSysfs::AddHid(const std::string& parent, const FakeHid& hid) {
  const std::string name = Format("%04X:%04X:%04X.%04X", hid.bus, hid.vendor_id, hid.product_id, hid.sequence);
  const std::string path = parent + "/" + name;
  Device(path, "bus/hid",
         "DRIVER=hid-generic\n" + Format("HID_ID=%04X:%08X:%08X\n", hid.bus, hid.vendor_id, hid.product_id) +
             "HID_NAME=Fake HID device\nHID_PHYS=" + hid.phys + "\nHID_UNIQ=\n" +
             Format("MODALIAS=hid:b%04Xg0001v%08Xp%08X\n", hid.bus, hid.vendor_id, hid.product_id));
  WriteFile(path + "/report_descriptor", std::string(hid.descriptor.begin(), hid.descriptor.end()));
  WriteFile(path + "/country", "00\n");
  if (hid.input_version >= 0) {
    // Input devices are numbered by the kernel across all devices; the HID sequence will do here.
    const std::string input =
        Device(path + "/input/input" + std::to_string(hid.sequence), "class/input",
               Format("PRODUCT=%x/%x/%x/", hid.bus, hid.vendor_id, hid.product_id) +
                   Format("%x\nNAME=\"Fake HID device\"\nPHYS=\"", static_cast<unsigned>(hid.input_version)) +
                   hid.phys + "\"\n");
    WriteFile(input + "/id/bustype", Format("%04x\n", hid.bus));
    WriteFile(input + "/id/vendor", Format("%04x\n", hid.vendor_id));
    WriteFile(input + "/id/product", Format("%04x\n", hid.product_id));
    WriteFile(input + "/id/version", Format("%04x\n", static_cast<unsigned>(hid.input_version)));
  }

  const std::string node = "hidraw" + std::to_string(hid.hidraw);
  const std::string hidraw = Device(HidrawOf(path, hid.hidraw), "class/hidraw",
                                    Format("MAJOR=247\nMINOR=%u\nDEVNAME=hidraw%u\n", hid.hidraw, hid.hidraw));
  WriteFile(hidraw + "/dev", Format("247:%u\n", hid.hidraw));
  RelativeLink(path, hidraw + "/device");
  RelativeLink(hidraw, sys_ + "/class/hidraw/" + node);
  WriteFile(dev_ + "/" + node, "");
  return path;
}

void FakeSysfs::Remove(const std::string& hid_syspath) {
  for (const auto& entry : fs::directory_iterator(hid_syspath + "/hidraw")) {
    const std::string node = entry.path().filename().string();
    fs::remove(sys_ + "/class/hidraw/" + node);
    fs::remove(dev_ + "/" + node);
  }
  fs::remove_all(hid_syspath);
}

std::string FakeSysfs::HidrawOf(const std::string& hid_syspath, unsigned hidraw) {
  return hid_syspath + "/hidraw/hidraw" + std::to_string(hidraw);
}

FakeNodes::~FakeNodes() { Unplug(); }

int FakeNodes::Open(const std::string& node, int flags) {
  if (::access(node.c_str(), F_OK) != 0) {
    errno = ENOENT;
    return -1;
  }
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) return -1;
  std::lock_guard lock(mutex_);
  opened_.push_back({node, flags, pair[1]});
  return pair[0];
}

int FakeNodes::DeviceSide(size_t n) const {
  std::lock_guard lock(mutex_);
  return n < opened_.size() ? opened_[n].device_fd : -1;
}

size_t FakeNodes::OpenCount() const {
  std::lock_guard lock(mutex_);
  return opened_.size();
}

int FakeNodes::FlagsOf(size_t n) const {
  std::lock_guard lock(mutex_);
  return n < opened_.size() ? opened_[n].flags : -1;
}

void FakeNodes::Unplug() {
  std::lock_guard lock(mutex_);
  for (auto& opened : opened_) {
    if (opened.device_fd >= 0) ::close(opened.device_fd);
    opened.device_fd = -1;
  }
}

std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(ParseHexBytes(text, bytes, error)) << error;
  return bytes;
}

}  // namespace zrv::device::testing
