// The four kinds' display index, the kind of a mouse behind a receiver, key colour bounds, lighting
// records handed over as eight integers, function-mode pages and data folders.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "config/basic_profiledata.h"
#include "devices/model/function_mode.h"
#include "devices/model/hs6533_device.h"
#include "devices/model/keyboard_device.h"
#include "devices/model/mouse_device.h"
#include "devices/model/mousepad_device.h"
#include "model_test_support.h"

namespace zrv::devices {
namespace {

namespace fs = std::filesystem;

// Whatever position the main window gives a device, its profile data works on element 0 of
// "Device"; and every kind's colour vector has one entry per key button of its page.
TEST(DeviceModel, EveryKindUsesElementZeroOfItsProfilesDevices) {
  const std::function<std::unique_ptr<CHalveronUSBDevice>()> makers[] = {
      [] { return std::make_unique<CHalveronKeyboardDevice>(); },
      [] { return std::make_unique<CHalveronMouseDevice>(); },
      [] { return std::make_unique<CHalveronMousePadDevice>(); },
      [] { return std::make_unique<CHalveronHS6533Device>(); },
  };
  for (const auto& make : makers) {
    auto device = make();
    SCOPED_TRACE(device->KindName());
    EXPECT_GT(device->KeyButtonCount(), 0);
    EXPECT_EQ(device->KeyColours().size(), static_cast<size_t>(device->KeyButtonCount()));
    ASSERT_NE(device->ProfileData(), nullptr);
    device->ProfileData()->SetDeviceIndex(4);
    device->SetDisplayIndex(3);
    EXPECT_EQ(device->GetDisplayIndex(), 3);
    EXPECT_EQ(device->ProfileData()->GetDeviceIndex(), 0);
  }
}

TEST(DeviceModel, AMouseRecordBehindAReceiverMakesItKindSix) {
  CHalveronMouseDevice mouse;
  device::InterfaceRecord record = device::kInterfaceTable[2];
  record.kind = device::DeviceKind::kWirelessMouse;
  mouse.SetRecord(record);
  EXPECT_EQ(mouse.Kind(), device::DeviceKind::kWirelessMouse);
  EXPECT_EQ(mouse.Record().product_id, 0x1000);
  EXPECT_EQ(mouse.KindName(), "mouse");
}

TEST(DeviceModel, KeyColoursOutsideTheKeyButtonsAreNeitherStoredNorRead) {
  CHalveronMouseDevice mouse;  // 6 key buttons
  mouse.SetKeyColour(0, 0x11223344);
  mouse.SetKeyColour(5, 0x55667788);
  mouse.SetKeyColour(-1, 0xFFFFFFFF);
  mouse.SetKeyColour(6, 0xFFFFFFFF);
  EXPECT_EQ(mouse.GetKeyColour(0), 0x11223344u);
  EXPECT_EQ(mouse.GetKeyColour(5), 0x55667788u);
  EXPECT_EQ(mouse.GetKeyColour(-1), 0u);
  EXPECT_EQ(mouse.GetKeyColour(6), 0u);
  EXPECT_EQ(mouse.KeyColours(), (std::vector<KeyColour>{0x11223344, 0, 0, 0, 0, 0x55667788}));

  CHalveronUSBDevice none;  // no key buttons at all
  none.SetKeyColour(0, 1);
  EXPECT_EQ(none.GetKeyColour(0), 0u);
}

TEST(DeviceModel, LightInfoPacksEightIntegersIntoThirtyOneBytes) {
  CHalveronKeyboardDevice keyboard;
  // Bytes 0-27 from the first seven integers, low byte first; the group field from the low half of
  // the eighth and the last byte from its bits 16-23; bits 24-31 are not part of the record.
  const LightInts values = {0x04031A05, 0x08070605, 0x0B0A0900, 0x0F0E0D0C,
                            0x13121110, 0x17161514, 0x1B1A1918, static_cast<int32_t>(0xEE2A1D1C)};
  keyboard.SetLightInfo(values);
  const std::array<uint8_t, 31> bytes = keyboard.GetLightInfo().ToBytes();
  EXPECT_EQ(bytes[0], 0x05);  // effect
  EXPECT_EQ(bytes[1], 0x1A);  // brightness
  EXPECT_EQ(bytes[3], 0x04);  // Fx
  EXPECT_EQ(bytes[27], 0x1B);
  EXPECT_EQ(bytes[28], 0x1C);
  EXPECT_EQ(bytes[29], 0x1D);
  EXPECT_EQ(bytes[30], 0x2A);
  EXPECT_EQ(keyboard.GetLightInfo().main.select_item, 5);
  EXPECT_EQ(keyboard.GetLightInfo().custom_light_mode_group, 0x2A);
  LightInts back = values;
  back[7] &= 0x00FFFFFF;
  EXPECT_EQ(PackLightInts(keyboard.GetLightInfo()), back);

  keyboard.SetLogoLightInfo(values);
  keyboard.SetStripLightInfo(LightInts{});
  EXPECT_EQ(keyboard.GetLogoLightInfo(), keyboard.GetLightInfo());
  EXPECT_EQ(keyboard.GetStripLightInfo(), LightRecord{});
}

TEST(FunctionModePages, EveryModeOnEveryKind) {
  using enum device::DeviceKind;
  const FunctionPages key0{0, 0}, key1{0, 1}, key2{0, 2};
  const FunctionPages fn1{1, -1}, fn2{2, -1}, fn3{3, -1};
  for (device::DeviceKind kind : {kKeyboard, kMouse, kWirelessMouse, kMousePad, kHeadset}) {
    SCOPED_TRACE(device::KindNumber(kind));
    const bool keys = kind != kMousePad && kind != kHeadset;
    EXPECT_EQ(FunctionModePages(1, kind), key0);
    EXPECT_EQ(FunctionModePages(2, kind), key1);
    EXPECT_EQ(FunctionModePages(6, kind), key1);
    EXPECT_EQ(FunctionModePages(3, kind), fn1);
    EXPECT_EQ(FunctionModePages(8, kind), fn1);
    EXPECT_EQ(FunctionModePages(4, kind), keys ? fn3 : key0);
    EXPECT_EQ(FunctionModePages(5, kind), fn2);
    EXPECT_EQ(FunctionModePages(7, kind), key2);
    EXPECT_EQ(FunctionModePages(0, kind), key0);
    EXPECT_EQ(FunctionModePages(9, kind), key0);
    EXPECT_EQ(FunctionModePages(-3, kind), key0);
  }
}

TEST(DeviceModel, SetFunctionModeStoresItAndShowsItsPages) {
  CHalveronMousePadDevice pad;
  testing::RecordingView view;
  pad.SetFunctionMode(5);  // no page yet: stored only
  EXPECT_EQ(pad.GetFunctionMode(), 5);
  pad.SetPageView(&view);
  pad.SetFunctionMode(4);
  pad.SetFunctionMode(8);
  EXPECT_EQ(pad.GetFunctionMode(), 8);
  ASSERT_EQ(view.shown.size(), 2u);
  EXPECT_EQ(view.shown[0], (FunctionPages{0, 0})) << "mode 4 of a pad is no function page";
  EXPECT_EQ(view.shown[1], (FunctionPages{1, -1}));
}

class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zrv-devices-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    Save("XDG_DATA_HOME", saved_data_);
    Save("ZRV31_PROGRAM_DIR", saved_program_);
    ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    ::setenv("ZRV31_PROGRAM_DIR", (root_ / "program").c_str(), 1);
  }
  void TearDown() override {
    Restore("XDG_DATA_HOME", saved_data_);
    Restore("ZRV31_PROGRAM_DIR", saved_program_);
    std::error_code error;
    fs::remove_all(root_, error);
  }
  static void Save(const char* name, std::optional<std::string>& slot) {
    const char* value = std::getenv(name);
    if (value != nullptr) slot = value;
  }
  static void Restore(const char* name, const std::optional<std::string>& slot) {
    if (slot) {
      ::setenv(name, slot->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }

  fs::path root_;
  std::optional<std::string> saved_data_;
  std::optional<std::string> saved_program_;
};

TEST_F(FoldersTest, UserDataFolderIsCreatedInTwoLevelsOnFirstUse) {
  CHalveronKeyboardDevice keyboard;
  const fs::path product = root_ / "data" / "ZRV-31 Gaming Keyboard";
  EXPECT_FALSE(fs::exists(product)) << "nothing is created before the folder is asked for";
  EXPECT_EQ(keyboard.UserDataFolder(), (product / "keyboard").string() + "/");
  EXPECT_TRUE(fs::is_directory(product / "keyboard"));

  CHalveronMousePadDevice pad;  // the product level exists now; only the kind level is new
  EXPECT_EQ(pad.UserDataFolder(), (product / "MousePad").string() + "/");
  EXPECT_TRUE(fs::is_directory(product / "MousePad"));
  EXPECT_EQ(keyboard.UserDataFolder(), (product / "keyboard").string() + "/") << "asking again is harmless";
}

TEST_F(FoldersTest, AFolderThatCannotBeCreatedIsStillNamed) {
  fs::create_directories(root_ / "data");
  { std::ofstream blocker(root_ / "data" / "ZRV-31 Gaming Keyboard"); }  // a file where the folder belongs
  CHalveronHS6533Device headset;
  EXPECT_EQ(headset.UserDataFolder(), (root_ / "data" / "ZRV-31 Gaming Keyboard" / "HD").string() + "/");
}

TEST_F(FoldersTest, DefaultDataFolderAndTemplateComeFromTheProgramFolder) {
  CHalveronMouseDevice mouse;
  EXPECT_EQ(mouse.DefaultDataFolder(), (root_ / "program" / "DefaultData").string() + "/");
  EXPECT_EQ(mouse.DefaultProfilePath(), (root_ / "program" / "DefaultData" / "mouse.Json").string());
  EXPECT_FALSE(fs::exists(root_ / "program")) << "the program folder is only read";
}

}  // namespace
}  // namespace zrv::devices
