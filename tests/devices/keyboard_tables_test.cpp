// The keyboard's key tables against the simulator: which slot carries which logical key, the LED
// map, the refusal of tables larger than 512 bytes, and the key table written from assignments.

#include <gtest/gtest.h>

#include "device/device_link.h"
#include "devices/model/keyboard_key_maps.h"
#include "keyboard_test_support.h"
#include "platform/debug_output.h"
#include "sim/key_tables.h"
#include "sim/memory_map.h"

namespace zrv::devices {
namespace {

using device::LinkCommand;
using testing::KeyboardSimTest;

uint8_t Cmd(LinkCommand command) { return static_cast<uint8_t>(command); }

class KeyboardTablesTest : public KeyboardSimTest {};

TEST_F(KeyboardTablesTest, A104SlotKeyboardIsReadInSixFramesAndMapsItsKeys) {
  Plug({.key_slots = 104});
  platform::DebugCapture debug;
  keyboard_.ReadDeviceTables();

  EXPECT_EQ(keyboard_.CommandLink().DataSize(), 312);
  EXPECT_EQ(Frames(Cmd(LinkCommand::kReadDefaultKeys)), 6u) << "5 x 56 + 32 bytes";
  EXPECT_EQ(Frames(Cmd(LinkCommand::kReadKeyLedMap)), 2u) << "56 + 48 bytes";
  EXPECT_EQ(device_->BeginCount(), 1u);
  EXPECT_EQ(device_->EndCount(), 1u);
  EXPECT_EQ(keyboard_.InfoBlock()[5], 104);
  EXPECT_EQ(keyboard_.DefaultKeyTable(), device_->AreaBytes(sim::Area::kDefaultKeys));

  const KeyboardKeyMaps maps = keyboard_.KeyMaps();
  int unmatched = 0;
  for (size_t key = 0; key < kKeyboardMapSize; ++key) {
    const int slot = device_->SlotOfLogicalKey(key);
    if (slot < 0) {
      ++unmatched;
      EXPECT_EQ(maps.slot[key], kNoKeySlot) << key;
      EXPECT_EQ(maps.led[key], kNoKeySlot) << key;
      continue;
    }
    EXPECT_EQ(maps.slot[key], slot) << key;
    // LED indices are taken for the logical keys below the slot count.
    const uint8_t led = key < 104 ? sim::KeyboardSlotLed(static_cast<size_t>(slot)) : kNoKeySlot;
    EXPECT_EQ(maps.led[key], led) << key;
  }
  EXPECT_GT(unmatched, 0) << "the dropped columns leave logical keys without a slot";
  // The model's own maps (what the notification thread and the writes use) are the same.
  EXPECT_EQ(std::vector<uint8_t>(maps.slot.begin(), maps.slot.end()), keyboard_.SlotMap());
  EXPECT_EQ(std::vector<uint8_t>(maps.led.begin(), maps.led.end()), keyboard_.LedMap());

  // One "logical key,LED index" line for every logical key below the slot count.
  std::vector<std::string> traces;
  for (const std::string& line : debug.Lines()) {
    if (line.find(',') != std::string::npos && line.find(' ') == std::string::npos) traces.push_back(line);
  }
  ASSERT_EQ(traces.size(), 104u);
  EXPECT_EQ(traces[0], "0," + std::to_string(maps.led[0]));
  EXPECT_EQ(traces[103], "103," + std::to_string(maps.led[103]));
}

TEST_F(KeyboardTablesTest, MoreThan170SlotsAreNotReadAndLeaveNoKeyPlaced) {
  Plug();
  keyboard_.ReadDeviceTables();
  ASSERT_NE(keyboard_.KeyMaps().slot[0], kNoKeySlot);

  const uint8_t too_many = kMaxKeySlots + 1;
  device_->SetAreaBytes(sim::Area::kInfo, 5, std::span<const uint8_t>(&too_many, 1));
  device_->Log().Clear();
  keyboard_.ReadDeviceTables();

  EXPECT_EQ(Frames(Cmd(LinkCommand::kReadDefaultKeys)), 0u);
  EXPECT_EQ(Frames(Cmd(LinkCommand::kReadKeyLedMap)), 0u);
  EXPECT_EQ(keyboard_.CommandLink().DataSize(), 126 * 3) << "the refused size is not taken";
  EXPECT_FALSE(device_->InSequence()) << "the sequence is closed";
  const KeyboardKeyMaps maps = keyboard_.KeyMaps();
  for (size_t key = 0; key < kKeyboardMapSize; ++key) {
    EXPECT_EQ(maps.slot[key], kNoKeySlot) << key;
    EXPECT_EQ(maps.led[key], kNoKeySlot) << key;
  }
  EXPECT_TRUE(keyboard_.DefaultKeyTable().empty());

  // Nor are 255, and a keyboard without key slots has no table to read.
  for (const uint8_t count : {uint8_t{255}, uint8_t{0}}) {
    device_->SetAreaBytes(sim::Area::kInfo, 5, std::span<const uint8_t>(&count, 1));
    device_->Log().Clear();
    keyboard_.ReadDeviceTables();
    EXPECT_EQ(Frames(Cmd(LinkCommand::kReadDefaultKeys)) + Frames(Cmd(LinkCommand::kReadKeyLedMap)), 0u) << +count;
    EXPECT_EQ(keyboard_.KeyMaps().slot[0], kNoKeySlot) << +count;
    EXPECT_FALSE(device_->InSequence()) << +count;
    EXPECT_EQ(keyboard_.WriteKeyAssignments(0, {}), 0) << +count;
  }

  // 170 slots still fit a key table.
  const uint8_t most = kMaxKeySlots;
  device_->SetAreaBytes(sim::Area::kInfo, 5, std::span<const uint8_t>(&most, 1));
  keyboard_.ReadDeviceTables();
  EXPECT_EQ(keyboard_.CommandLink().DataSize(), 510);
}

// A table read that fails part-way must not leave a half-read factory table behind: the key table
// written from it would give every unread slot the code 0 and so switch those keys off.
TEST_F(KeyboardTablesTest, ATableReadThatFailsPartWayPlacesNoKeyAndWritesNothing) {
  Plug();
  const std::vector<uint8_t> factory = device_->KeyTable();
  std::vector<config::KeyRecord> keys(kKeyboardMapSize);
  for (size_t key = 0; key < keys.size(); ++key) {
    keys[key].assignment =
        config::KeyHalf::FromCode(static_cast<uint16_t>(key), device::kKeyIdentityTable[key].Packed());
  }
  const auto expect_nothing_placed = [&](const char* what) {
    EXPECT_TRUE(keyboard_.DefaultKeyTable().empty()) << what;
    const KeyboardKeyMaps maps = keyboard_.KeyMaps();
    for (size_t key = 0; key < kKeyboardMapSize; ++key) EXPECT_EQ(maps.slot[key], kNoKeySlot) << what << key;
    EXPECT_FALSE(device_->InSequence()) << what << ": the sequence is closed";
    device_->Log().Clear();
    EXPECT_EQ(keyboard_.WriteKeyAssignments(0, keys), 0) << what;
    EXPECT_EQ(Frames(Cmd(LinkCommand::kWriteKeys)), 0u) << what;
    EXPECT_EQ(device_->KeyTable(), factory) << what;
  };

  device_->InjectStatus(0xFF, {Cmd(LinkCommand::kReadDefaultKeys), 3});
  keyboard_.ReadDeviceTables();
  expect_nothing_placed("third frame of the factory table refused");

  // An unread information block gives no slot count to trust (here a stale one from before).
  keyboard_.ReadDeviceTables();
  ASSERT_NE(keyboard_.KeyMaps().slot[0], kNoKeySlot);
  device_->InjectStatus(0xFE, {Cmd(LinkCommand::kReadInfo), 1});
  device_->Log().Clear();
  keyboard_.ReadDeviceTables();
  EXPECT_EQ(Frames(Cmd(LinkCommand::kReadDefaultKeys)), 0u);
  expect_nothing_placed("information block refused");

  // Without the LED table the keys are still placed, only without LED indices.
  device_->InjectStatus(0xFF, {Cmd(LinkCommand::kReadKeyLedMap), 2});
  keyboard_.ReadDeviceTables();
  const KeyboardKeyMaps maps = keyboard_.KeyMaps();
  EXPECT_EQ(maps.slot[64], device_->SlotOfLogicalKey(64));
  for (size_t key = 0; key < kKeyboardMapSize; ++key) EXPECT_EQ(maps.led[key], kNoKeySlot) << key;
  EXPECT_EQ(keyboard_.WriteKeyAssignments(0, keys), 1);
  EXPECT_EQ(device_->KeyTable(), factory);
}

TEST_F(KeyboardTablesTest, NothingIsSentWhileTheKeyboardIsNotConnected) {
  Plug();
  keyboard_.CommandLink().SetConnected(false);
  keyboard_.ReadDeviceTables();
  EXPECT_EQ(keyboard_.WriteKeyAssignments(0, {}), 0);
  EXPECT_EQ(device_->FrameCount(), 0u);
}

TEST(KeyboardKeyMapsTest, EqualCodesGoToTheLowerSlotAndShortTablesCountAsAbsent) {
  // Slots 0-3: Esc twice (slots 1 and 3), 'A', an unknown code.
  const device::KeyCode esc = device::kKeyIdentityTable[0];
  const device::KeyCode a = device::kKeyIdentityTable[64];
  const std::vector<uint8_t> keys = {0x7F,   0x7F,    0x7F,     esc.type, esc.first, esc.second,
                                     a.type, a.first, a.second, esc.type, esc.first, esc.second};
  const std::vector<uint8_t> leds = {10, 11, 12, 13};

  KeyboardKeyMaps maps = BuildKeyboardKeyMaps(keys, leds, 4);
  EXPECT_EQ(maps.slot[0], 1);
  EXPECT_EQ(maps.led[0], 11);
  EXPECT_EQ(maps.slot[64], 2);
  EXPECT_EQ(maps.led[64], kNoKeySlot) << "logical key 64 is not below the slot count";
  EXPECT_EQ(maps.slot[21], kNoKeySlot);

  // A slot count beyond the table: only the slots the table holds are looked at.
  maps = BuildKeyboardKeyMaps(std::span<const uint8_t>(keys).first(6), leds, 4);
  EXPECT_EQ(maps.slot[0], 1);
  EXPECT_EQ(maps.slot[64], kNoKeySlot);
  EXPECT_EQ(KeyMapTraceLines(maps, 3), (std::vector<std::string>{"0,11", "1,255", "2,255"}));
}

// A custom lighting group holds 126 LEDs: an LED index beyond them (a hostile or broken LED table)
// would send a key's colour outside its group, so the key gets no LED index.
TEST(KeyboardKeyMapsTest, LedIndicesBeyondTheLedsOfAGroupCountAsNone) {
  std::vector<uint8_t> keys;
  for (size_t key : {0, 1, 2, 3}) {
    const device::KeyCode code = device::kKeyIdentityTable[key];
    keys.insert(keys.end(), {code.type, code.first, code.second});
  }
  const KeyboardKeyMaps maps = BuildKeyboardKeyMaps(keys, std::vector<uint8_t>{125, 126, 200, 3}, 4);
  EXPECT_EQ(maps.led[0], 125);
  EXPECT_EQ(maps.led[1], kNoKeySlot);
  EXPECT_EQ(maps.led[2], kNoKeySlot);
  EXPECT_EQ(maps.led[3], 3) << "an index above the slot count is still within a group";
  EXPECT_EQ(maps.slot[1], 1) << "the key itself is still placed";
}

TEST_F(KeyboardTablesTest, AssignmentsLandOnTheSlotsOfTheirLogicalKeys) {
  Plug({.key_slots = 104});
  keyboard_.ReadDeviceTables();
  const int esc_slot = device_->SlotOfLogicalKey(0);
  const int a_slot = device_->SlotOfLogicalKey(64);
  ASSERT_GE(esc_slot, 0);
  ASSERT_GE(a_slot, 0);
  size_t unplaced = kKeyboardMapSize;
  for (size_t key = 0; key < kKeyboardMapSize; ++key) {
    if (device_->SlotOfLogicalKey(key) < 0) unplaced = key;
  }
  ASSERT_LT(unplaced, kKeyboardMapSize);

  std::vector<config::KeyRecord> keys(kKeyboardMapSize);
  for (size_t key = 0; key < keys.size(); ++key) {
    const uint32_t factory = device::kKeyIdentityTable[key].Packed();
    keys[key].assignment = config::KeyHalf::FromCode(static_cast<uint16_t>(key), factory);
    keys[key].default_assignment = keys[key].assignment;
  }
  keys[0].assignment = config::KeyHalf::FromCode(0, 0x700300);    // macro 3
  keys[64].assignment = config::KeyHalf::FromCode(64, 0x200029);  // 'A' sends Esc
  keys[unplaced].assignment = config::KeyHalf::FromCode(static_cast<uint16_t>(unplaced), 0x200004);
  device_->Log().Clear();

  EXPECT_EQ(keyboard_.WriteKeyAssignments(0, keys), 1);
  EXPECT_EQ(Frames(Cmd(LinkCommand::kReadInfo)), 1u) << "the information block is read again";
  std::vector<uint8_t> expected = device_->AreaBytes(sim::Area::kDefaultKeys);
  expected[3 * esc_slot] = 0x70;
  expected[3 * esc_slot + 1] = 0x03;
  expected[3 * esc_slot + 2] = 0x00;
  expected[3 * a_slot] = 0x20;
  expected[3 * a_slot + 1] = 0x00;
  expected[3 * a_slot + 2] = 0x29;
  const std::vector<uint8_t> table = device_->KeyTable();
  ASSERT_GE(table.size(), expected.size());
  EXPECT_EQ(std::vector<uint8_t>(table.begin(), table.begin() + static_cast<long>(expected.size())), expected)
      << "the key without a slot is not written anywhere";
  EXPECT_EQ(device_->BeginCount(), 2u);
  EXPECT_FALSE(device_->InSequence());

  // The device's own list goes the same way.
  keyboard_.SetKeyList(keys);
  device_->Log().Clear();
  EXPECT_EQ(keyboard_.WriteKeyAssignmentList(0), 1);
  EXPECT_EQ(Frames(Cmd(LinkCommand::kWriteKeys)), 6u);
}

}  // namespace
}  // namespace zrv::devices
