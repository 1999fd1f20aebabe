#include "sim/simulated_devices.h"

#include <gtest/gtest.h>

#include "device/hid_interface.h"
#include "sim/sim_ids.h"
#include "sim/sim_test_support.h"
#include "sim/wireless_mouse_model.h"

namespace zrv::sim {
namespace {

class SimulatedDevicesTest : public testing::SimTest {
 protected:
  static size_t EnumeratedPaths() {
    device::HidInterface hid;
    EXPECT_EQ(hid.EnumeratePaths(), 1);
    return hid.PathCount();
  }
};

TEST_F(SimulatedDevicesTest, PlugsTheNamedModelsInListOrder) {
  auto result = PlugSimulated("keyboard, Headset ,wireless-mouse");
  ASSERT_TRUE(result.ok()) << result.error;
  ASSERT_EQ(result.models.size(), 3u);
  EXPECT_EQ(result.models[0]->Kind(), device::DeviceKind::kKeyboard);
  EXPECT_EQ(result.models[1]->Kind(), device::DeviceKind::kHeadset);
  EXPECT_EQ(result.models[2]->Kind(), device::DeviceKind::kWirelessMouse);
  EXPECT_NE(std::dynamic_pointer_cast<WirelessMouseModel>(result.models[2]), nullptr);
  EXPECT_EQ(EnumeratedPaths(), 4u + 1u + 4u);

  UnplugSimulated(result.models);
  EXPECT_EQ(EnumeratedPaths(), 0u);
  for (const auto& model : result.models) EXPECT_FALSE(model->IsPlugged());
}

TEST_F(SimulatedDevicesTest, AllPlugsEveryKindOnce) {
  auto result = PlugSimulated("all");
  ASSERT_TRUE(result.ok()) << result.error;
  ASSERT_EQ(result.models.size(), SimulatedKindNames().size());
  for (size_t i = 0; i < result.models.size(); ++i) {
    EXPECT_EQ(result.models[i]->KindName(), SimulatedKindNames()[i]);
    EXPECT_TRUE(result.models[i]->IsPlugged());
  }
}

TEST_F(SimulatedDevicesTest, UnknownOrEmptyNamesPlugNothing) {
  auto result = PlugSimulated("keyboard,toaster");
  EXPECT_FALSE(result.ok());
  EXPECT_TRUE(result.models.empty());
  EXPECT_NE(result.error.find("'toaster'"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find("wireless-mouse"), std::string::npos) << "the message lists the known names";
  EXPECT_EQ(EnumeratedPaths(), 0u);

  EXPECT_FALSE(PlugSimulated("").ok());
  EXPECT_FALSE(PlugSimulated("mouse,,headset").ok());
  EXPECT_EQ(EnumeratedPaths(), 0u);
}

TEST_F(SimulatedDevicesTest, ANameMayRepeat) {
  std::vector<std::string> names;
  std::string error;
  ASSERT_TRUE(ParseSimulateList("mouse,all,MOUSE", names, error)) << error;
  EXPECT_EQ(names.size(), 7u);
  EXPECT_EQ(names.front(), "mouse");
  EXPECT_EQ(names.back(), "mouse");
  EXPECT_EQ(CreateModel("nothing"), nullptr);
}

}  // namespace
}  // namespace zrv::sim
