// The timer operations the selector item calls: what each runs and what it asks to arm next.

#include <gtest/gtest.h>

#include "devices/model/frame_grid.h"
#include "devices/model/mousepad_device.h"
#include "model_test_support.h"
#include "sim/mousepad_model.h"

namespace zrv::devices {
namespace {

// Counts the operations the timers run.
class CountingPad : public CHalveronMousePadDevice {
 public:
  void OnAttached() override { calls.push_back("attached"); }
  void RenderLightFrame() override {
    calls.push_back("frame");
    CHalveronMousePadDevice::RenderLightFrame();
  }
  void OnDeviceSyncRequest() override { calls.push_back("sync"); }
  std::vector<std::string> calls;
};

class TimersTest : public testing::SimulatorTest {
 protected:
  void Plug() {
    device_ = sim::MousePadModel::Create();
    ASSERT_TRUE(device_->Plug());
    Connect(pad_, *device_);
  }
  std::shared_ptr<sim::MousePadModel> device_;
  CountingPad pad_;
};

TEST_F(TimersTest, AttachReadsTheDeviceThenStartsTheRepaintAndWithPowerThePowerTimer) {
  TimerOutcome outcome = pad_.RunTimer(kTimerAttached, true);
  EXPECT_EQ(pad_.calls, std::vector<std::string>{"attached"});
  EXPECT_EQ(outcome.start, (std::vector<TimerStart>{{kTimerRepaint, 5}}));

  pad_.SetPower(80);
  outcome = pad_.RunAttachTimer();
  EXPECT_EQ(outcome.start, (std::vector<TimerStart>{{kTimerRepaint, 5}})) << "power, but not connected";

  Plug();
  outcome = pad_.RunAttachTimer();
  EXPECT_EQ(outcome.start, (std::vector<TimerStart>{{kTimerRepaint, 5}, {kTimerPower, 5000}}));
  EXPECT_FALSE(outcome.redraw_page);
}

TEST(FrameGrid, EffectPassesFallOnTheGridAndTheRepaintFollowsEachAtItsOffset) {
  using std::chrono::microseconds;
  using std::chrono::milliseconds;
  const FrameClock::time_point point(milliseconds(kRepaintPeriodMs * 1000));
  EXPECT_EQ(NextFramePoint(point), point + kFramePeriod) << "a pass on a point waits for the next";
  EXPECT_EQ(NextFramePoint(point + milliseconds(49)), point + kFramePeriod);
  EXPECT_EQ(RepaintDelayMs(point + kFramePaintOffset), 50) << "on time";
  EXPECT_EQ(RepaintDelayMs(point + milliseconds(13)), 47) << "late: back on the grid";
  EXPECT_EQ(RepaintDelayMs(point + milliseconds(8)), 52) << "early: not the same frame twice";
  EXPECT_EQ(RepaintDelayMs(point + microseconds(10'500)), 50) << "never before the paint time";
  EXPECT_EQ(RepaintDelayMs(point + milliseconds(45)), 65) << "so late the next frame is too near";
}

TEST_F(TimersTest, RepaintRendersTheKeysAndRearmsOnTheFrameGridWhileConnected) {
  Plug();
  TimerOutcome outcome = pad_.RunTimer(kTimerRepaint, true);
  EXPECT_EQ(pad_.calls, (std::vector<std::string>{"frame"}));
  ASSERT_EQ(outcome.start.size(), 1u);
  EXPECT_EQ(outcome.start[0].id, kTimerRepaint);
  EXPECT_GE(outcome.start[0].delay_ms, kRepaintPeriodMs / 2) << "on the frame grid, a frame on";
  EXPECT_LE(outcome.start[0].delay_ms, kRepaintPeriodMs * 3 / 2);
  EXPECT_TRUE(outcome.redraw_page);
  EXPECT_EQ(device_->Log().CountFrames(0x12), 1u);

  EXPECT_FALSE(pad_.RunRepaintTimer(false).redraw_page) << "the item is not selected";
  pad_.SetPageRedraw(false);
  EXPECT_FALSE(pad_.RunRepaintTimer(true).redraw_page) << "page redraw is off";

  pad_.CommandLink().SetConnected(false);  // removed
  outcome = pad_.RunRepaintTimer(true);
  EXPECT_TRUE(outcome.start.empty()) << "the cycle ends with the device";
}

TEST_F(TimersTest, SyncRequestAndReservedTimersRunOnce) {
  EXPECT_TRUE(pad_.RunTimer(kTimerSyncRequest, false).start.empty());
  EXPECT_TRUE(pad_.RunTimer(kTimerReserved1, false).start.empty());
  EXPECT_TRUE(pad_.RunTimer(kTimerReserved2, false).start.empty());
  EXPECT_TRUE(pad_.RunTimer(999, false).start.empty());
  EXPECT_EQ(pad_.calls, (std::vector<std::string>{"sync"})) << "the reserved timers run nothing";
}

TEST_F(TimersTest, PowerRearmsOnlyWhileConnectedWithAPowerValue) {
  EXPECT_TRUE(pad_.RunTimer(kTimerPower, false).start.empty());
  Plug();
  EXPECT_TRUE(pad_.RunPowerTimer().start.empty()) << "no power value";
  pad_.SetPower(1);
  EXPECT_EQ(pad_.RunPowerTimer().start, (std::vector<TimerStart>{{kTimerPower, 5000}}));
}

}  // namespace
}  // namespace zrv::devices
