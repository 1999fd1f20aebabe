// Light frames and the light-control switch against simulated devices.

#include <gtest/gtest.h>

#include "devices/model/keyboard_device.h"
#include "devices/model/mouse_device.h"
#include "devices/model/mousepad_device.h"
#include "model_test_support.h"
#include "sim/keyboard_model.h"
#include "sim/mouse_model.h"
#include "sim/mousepad_model.h"

namespace zrv::devices {
namespace {

using std::chrono::milliseconds;
constexpr uint8_t kSendLightFrame = 0x12;

class LightFrameTest : public testing::SimulatorTest {
 protected:
  void SetUp() override {
    pad_device_ = sim::MousePadModel::Create();
    ASSERT_TRUE(pad_device_->Plug());
    pad_.SetClock(clock_.Function());
    pad_.SetPageView(&view_);
  }
  size_t FramesSent() const { return pad_device_->Log().CountFrames(kSendLightFrame); }

  testing::ManualClock clock_;
  testing::RecordingView view_;
  std::shared_ptr<sim::MousePadModel> pad_device_;
  CHalveronMousePadDevice pad_;  // 15 key buttons
};

TEST_F(LightFrameTest, PaintsEveryKeyAndSendsTheScaledColoursThreeBytesPerKey) {
  Connect(pad_, *pad_device_);
  for (int i = 0; i < 15; ++i) {
    pad_.SetKeyColour(i, MakeKeyColour(static_cast<uint8_t>(16 * i), 255, 100, static_cast<uint8_t>(128 + i)));
  }
  pad_.RenderLightFrame();

  ASSERT_EQ(view_.painted.size(), 15u);
  EXPECT_EQ(view_.painted[3].index, 3);
  EXPECT_EQ(view_.painted[3].colour, 0x0064FF30u) << "0x00BBGGRR without the intensity";
  EXPECT_EQ(view_.painted[3].intensity, 131);

  std::vector<uint8_t> expected;
  for (unsigned i = 0; i < 15; ++i) {
    const unsigned intensity = 128 + i;
    expected.push_back(static_cast<uint8_t>(16 * i * intensity / 256));
    expected.push_back(static_cast<uint8_t>(255 * intensity / 256));
    expected.push_back(static_cast<uint8_t>(100 * intensity / 256));
  }
  EXPECT_EQ(pad_device_->LastLightFrame(), expected);
  const auto frame = pad_device_->Log().LastFrame(kSendLightFrame);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->Length(), 45) << "key buttons x 3 bytes, not the whole 512-byte buffer";
  EXPECT_EQ(frame->Offset(), 0);
}

TEST_F(LightFrameTest, AFailedFramePausesSendingForTwoHundredMillisecondsButNotPainting) {
  Connect(pad_, *pad_device_);
  pad_device_->InjectStatus(0xFF, sim::FrameMatch{kSendLightFrame});
  pad_.RenderLightFrame();
  EXPECT_EQ(FramesSent(), 1u);
  EXPECT_TRUE(pad_.LightFramePaused());

  clock_.Advance(milliseconds(199));
  pad_.RenderLightFrame();
  EXPECT_EQ(FramesSent(), 1u) << "still pausing";
  EXPECT_EQ(view_.painted.size(), 30u) << "the picture goes on";

  clock_.Advance(milliseconds(1));
  EXPECT_FALSE(pad_.LightFramePaused());
  pad_.RenderLightFrame();
  EXPECT_EQ(FramesSent(), 2u);
  pad_.RenderLightFrame();
  EXPECT_EQ(FramesSent(), 3u) << "a frame that went through sets no pause";
}

TEST_F(LightFrameTest, NothingHappensWithoutLightControlAndSlowLinksGetNoFrames) {
  Connect(pad_, *pad_device_);
  EXPECT_EQ(pad_.SetLightControl(false), 1);
  pad_.RenderLightFrame();
  EXPECT_TRUE(view_.painted.empty());
  EXPECT_EQ(FramesSent(), 0u);

  pad_.SetLightControl(true);
  pad_.CommandLink().SetSlow(true);
  pad_.RenderLightFrame();
  EXPECT_EQ(view_.painted.size(), 15u) << "painted";
  EXPECT_EQ(FramesSent(), 0u) << "but not sent over a wireless link";
  EXPECT_FALSE(pad_.LightFramePaused());
}

TEST_F(LightFrameTest, ADisconnectedDeviceIsOnlyPainted) {
  pad_.RenderLightFrame();
  EXPECT_EQ(view_.painted.size(), 15u);
  EXPECT_EQ(FramesSent(), 0u);
}

TEST_F(LightFrameTest, AMouseSendsItsSixKeys) {
  auto mouse_device = sim::MouseModel::Create();
  ASSERT_TRUE(mouse_device->Plug());
  CHalveronMouseDevice mouse;
  Connect(mouse, *mouse_device);
  for (int i = 0; i < 6; ++i) mouse.SetKeyColour(i, MakeKeyColour(255, 0, 0, 255));
  mouse.RenderLightFrame();
  const auto frame = mouse_device->Log().LastFrame(kSendLightFrame);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->Length(), 18);
  const std::vector<uint8_t> sent = mouse_device->LastLightFrame();
  ASSERT_GE(sent.size(), 18u);
  for (size_t i = 0; i < 18; ++i) EXPECT_EQ(sent[i], i % 3 == 0 ? 254 : 0) << i;
}

TEST_F(LightFrameTest, TakingLightControlStartsLightSyncOnKeyboardsOnly) {
  auto keyboard_device = sim::KeyboardModel::Create();
  ASSERT_TRUE(keyboard_device->Plug());
  CHalveronKeyboardDevice keyboard;
  Connect(keyboard, *keyboard_device);
  EXPECT_EQ(keyboard.SetLightControl(false), 1);
  EXPECT_EQ(keyboard_device->LightSyncCount(), 0u);
  EXPECT_EQ(keyboard.SetLightControl(true), 1);
  EXPECT_TRUE(keyboard.LightControl());
  EXPECT_EQ(keyboard_device->LightSyncCount(), 1u);

  Connect(pad_, *pad_device_);
  pad_.SetLightControl(true);
  EXPECT_EQ(pad_device_->LightSyncCount(), 0u);
  EXPECT_EQ(pad_device_->Log().CountFrames(0x1C), 0u);
}

TEST_F(LightFrameTest, AKeyboardLightSyncOnADisconnectedLinkSendsNothing) {
  CHalveronKeyboardDevice keyboard;
  EXPECT_EQ(keyboard.SetLightControl(true), 0);
  EXPECT_TRUE(keyboard.LightControl()) << "the flag is stored all the same";
}

}  // namespace
}  // namespace zrv::devices
