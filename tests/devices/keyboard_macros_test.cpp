// The keyboard's macro image against the simulator: the bytes that arrive, an image larger than
// the macro memory that is not sent, and no command at all without macros.

#include <gtest/gtest.h>

#include "config/macro_store.h"
#include "device/device_link.h"
#include "keyboard_test_support.h"
#include "sim/memory_map.h"

namespace zrv::devices {
namespace {

using device::LinkCommand;
using testing::KeyboardSimTest;

constexpr uint8_t kWriteMacrosCmd = static_cast<uint8_t>(LinkCommand::kWriteMacros);

class KeyboardMacrosTest : public KeyboardSimTest {
 protected:
  // Adds a macro with `events` to the keyboard's macro files.
  void AddMacro(const std::vector<config::MacroEvent>& events) {
    keyboard_.UserDataFolder();  // made on first use
    config::MacroStore store(KeyboardFolder());
    store.LoadMacroList();
    const config::MacroChange made = store.CreateMacro();
    ASSERT_TRUE(made.ok);
    ASSERT_TRUE(store.SaveMacroEvents(static_cast<int>(store.Macros().size()) - 1, events));
  }
  static std::vector<config::MacroEvent> Events(size_t count) {
    std::vector<config::MacroEvent> events;
    for (size_t i = 0; i < count; ++i) events.push_back({"down", 4, static_cast<uint32_t>(10 + i), 10});
    return events;
  }
  size_t CommandFrames() const { return device_->Log().CountCommandFrames(sim::Direction::kToDevice); }
};

TEST_F(KeyboardMacrosTest, TheImageOfThreeEventsArrivesByteForByte) {
  Plug();
  AddMacro({{"up", 4, 300, 1}, {"down", 0x04, 0x10000 + 5, 10}, {"down", 0x02, 0, 9}});

  EXPECT_EQ(keyboard_.WriteMacros(), 0);
  const std::vector<uint8_t> expected = {0xAA, 0x55, 0x22, 0x00, 0x01, 0x00,              // magic, length 34, one macro
                                         0,    0,    0,    0,    0,    0,    0, 0, 0, 0,  // reserved
                                         0x12, 0x00,                                      // block at 18
                                         0x03, 0x00, 0x00, 0x00,                          // three events
                                         0x2C, 0x01, 0x01, 0x04,   // 300 ms, mouse button up, middle
                                         0x05, 0x00, 0x8A, 0x04,   // delay cut to 16 bits, key down 'A'
                                         0x00, 0x00, 0x89, 0x02};  // modifier down, left Shift
  const std::vector<uint8_t> memory = device_->AreaBytes(sim::Area::kMacros);
  ASSERT_GE(memory.size(), expected.size());
  EXPECT_EQ(std::vector<uint8_t>(memory.begin(), memory.begin() + 34), expected);
  EXPECT_EQ(device_->Log().CountFrames(kWriteMacrosCmd), 1u);
  EXPECT_EQ(device_->BeginCount(), 1u);
  EXPECT_FALSE(device_->InSequence());
}

TEST_F(KeyboardMacrosTest, AnImageLargerThanTheMacroMemoryIsNotSent) {
  Plug({.macro_units = 0});
  AddMacro(Events(10));  // 16 + 6 + 40 = 62 bytes into no memory at all
  EXPECT_EQ(keyboard_.WriteMacros(), 16);
  EXPECT_EQ(device_->Log().CountFrames(kWriteMacrosCmd), 0u);
  EXPECT_EQ(device_->BeginCount(), 0u);

  // Three macros of 30 events, 16 + 18 + 120 = 154 bytes, into one unit of 128: (26 / 4) + 1.
  device_->Log().Clear();
  const uint8_t one_unit = 1;
  device_->SetAreaBytes(sim::Area::kInfo, 6, std::span<const uint8_t>(&one_unit, 1));
  AddMacro(Events(20));
  AddMacro({});
  EXPECT_EQ(keyboard_.WriteMacros(), 7) << "the capacity is read again from the information block";
  EXPECT_EQ(device_->Log().CountFrames(kWriteMacrosCmd), 0u);
}

TEST_F(KeyboardMacrosTest, NoMacrosMeansNoCommandAtAll) {
  Plug();
  EXPECT_EQ(keyboard_.WriteMacros(), 0);
  EXPECT_EQ(CommandFrames(), 0u);

  // A macro list that names no macro is the same.
  keyboard_.UserDataFolder();
  config::MacroStore store(KeyboardFolder());
  ASSERT_TRUE(store.CreateMacro().ok);
  ASSERT_TRUE(store.DeleteMacro(0));
  EXPECT_EQ(keyboard_.WriteMacros(), 0);
  EXPECT_EQ(CommandFrames(), 0u);
}

TEST_F(KeyboardMacrosTest, WithoutAKeyboardTheImageIsCheckedButNotSent) {
  Plug();
  keyboard_.ReadDeviceTables();  // the capacity of the last information block read
  AddMacro(Events(3));
  keyboard_.CommandLink().SetConnected(false);
  device_->Log().Clear();
  EXPECT_EQ(keyboard_.WriteMacros(), 0);
  EXPECT_EQ(CommandFrames(), 0u);
}

}  // namespace
}  // namespace zrv::devices
