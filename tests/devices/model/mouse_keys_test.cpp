// The mouse's key table against the simulator: which slot carries which logical button, the key
// table written from the key list, and a wireless mouse that stops answering its probes.

#include <gtest/gtest.h>

#include "device/device_link.h"
#include "device/key_identity_table.h"
#include "devices/model/mouse_device.h"
#include "model_test_support.h"
#include "sim/fault.h"
#include "sim/memory_map.h"
#include "sim/mouse_model.h"

namespace zrv::devices {
namespace {

using device::LinkCommand;
constexpr uint8_t Cmd(LinkCommand command) { return static_cast<uint8_t>(command); }

class MouseKeysTest : public testing::SimulatorTest {
 protected:
  void Plug() {
    device_ = sim::MouseModel::Create();
    ASSERT_TRUE(device_->Plug());
    Connect(mouse_, *device_);
  }
  // The slot whose factory code is logical button `key`'s, -1 when the mouse has none.
  int SlotOf(size_t key) const {
    const std::vector<uint8_t> factory = device_->AreaBytes(sim::Area::kDefaultKeys);
    const device::KeyCode code = device::kMouseKeyIdentityTable[key].code;
    for (size_t k = 0; k + 2 < factory.size(); k += 3) {
      if (factory[k] == code.type && factory[k + 1] == code.first && factory[k + 2] == code.second)
        return static_cast<int>(k / 3);
    }
    return -1;
  }
  // A key list of the factory assignments, as a profile template holds it.
  static std::vector<config::KeyRecord> FactoryList() {
    std::vector<config::KeyRecord> keys;
    for (size_t j = 0; j < device::kMouseLogicalKeys; ++j) {
      const auto half =
          config::KeyHalf::FromCode(static_cast<uint16_t>(j), device::kMouseKeyIdentityTable[j].code.Packed());
      keys.push_back({half, half});
    }
    return keys;
  }

  CHalveronMouseDevice mouse_;
  std::shared_ptr<sim::MouseModel> device_;
};

TEST_F(MouseKeysTest, TheButtonsAreFoundByTheirFactoryCodesAndTheAssignmentReachesTheirSlot) {
  Plug();
  mouse_.ReadDeviceTables();
  const MouseKeyTable& table = mouse_.KeyTable();
  int absent = 0;
  for (size_t j = 0; j < device::kMouseLogicalKeys; ++j) {
    const int slot = SlotOf(j);
    EXPECT_EQ(table.Map()[j], slot < 0 ? MouseKeyTable::kNoSlot : slot) << j;
    if (slot < 0) ++absent;
  }
  EXPECT_GT(absent, 0) << "the simulated mouse lacks some of the buttons a mouse of the family may have";

  // The right button (logical 1) becomes the mute key; everything else keeps its factory code.
  std::vector<config::KeyRecord> keys = FactoryList();
  keys[1].assignment = config::KeyHalf::FromCode(1, 0x30E200);
  mouse_.SetKeyList(keys);
  ASSERT_EQ(mouse_.WriteKeyAssignmentList(0), 1);

  std::vector<uint8_t> expected = device_->AreaBytes(sim::Area::kDefaultKeys);
  const size_t slot = static_cast<size_t>(SlotOf(1));
  expected[slot * 3] = 0x30;
  expected[slot * 3 + 1] = 0xE2;
  expected[slot * 3 + 2] = 0x00;
  const std::vector<uint8_t> written = device_->AreaBytes(sim::Area::kKeys);
  ASSERT_GE(written.size(), expected.size());
  EXPECT_EQ(std::vector<uint8_t>(written.begin(), written.begin() + static_cast<long>(expected.size())), expected);
  EXPECT_FALSE(device_->InSequence());
}

TEST_F(MouseKeysTest, ASlowLinkWhoseProbeFailsWritesNothingAndReportsIt) {
  Plug();
  mouse_.ReadDeviceTables();
  mouse_.CommandLink().SetSlow(true);
  device_->InjectFault({.kind = sim::FaultKind::kStatus, .at = {.command = Cmd(LinkCommand::kProbe), .nth = 2}});
  device_->Log().Clear();

  EXPECT_EQ(mouse_.WriteKeyAssignments(0, FactoryList()), -1) << "the user is told";
  EXPECT_EQ(device_->Log().CountFrames(Cmd(LinkCommand::kWriteKeys)), 0u);
  EXPECT_EQ(device_->Log().CountFrames(Cmd(LinkCommand::kProbe)), 2u) << "one before ReadInfo, one before Begin";

  // A mouse that refuses the table does not count as written either.
  device_->ClearFaults();
  mouse_.CommandLink().SetSlow(false);
  device_->InjectFault({.kind = sim::FaultKind::kStatus, .at = {.command = Cmd(LinkCommand::kWriteKeys)}});
  EXPECT_EQ(mouse_.WriteKeyAssignments(0, FactoryList()), -1);
  mouse_.CommandLink().SetSlow(true);

  // Once the mouse answers again, every step is probed first.
  device_->ClearFaults();
  device_->Log().Clear();
  EXPECT_EQ(mouse_.WriteKeyAssignments(0, FactoryList()), 1);
  EXPECT_EQ(device_->Log().CountFrames(Cmd(LinkCommand::kProbe)), 4u);
}

TEST_F(MouseKeysTest, WithoutAFactoryTableNothingIsWritten) {
  Plug();
  device_->InjectFault({.kind = sim::FaultKind::kStatus, .at = {.command = Cmd(LinkCommand::kReadDefaultKeys)}});
  mouse_.ReadDeviceTables();
  EXPECT_FALSE(mouse_.KeyTable().Present(0));
  device_->Log().Clear();
  EXPECT_EQ(mouse_.WriteKeyAssignments(0, FactoryList()), 0);
  EXPECT_EQ(device_->Log().CountFrames(Cmd(LinkCommand::kWriteKeys)), 0u);
}

}  // namespace
}  // namespace zrv::devices
