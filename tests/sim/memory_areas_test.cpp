// Chunked reads and writes by offset into every memory area, and what the firmware refuses.

#include <gtest/gtest.h>

#include "sim/keyboard_model.h"
#include "sim/mouse_model.h"
#include "sim/mousepad_model.h"
#include "sim/sim_test_support.h"

namespace zrv::sim {
namespace {

using testing::Host;

std::vector<uint8_t> Pattern(size_t n, uint8_t seed) {
  std::vector<uint8_t> out(n);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(seed + i * 13);
  return out;
}

class MemoryAreasTest : public testing::SimTest {
 protected:
  void SetUp() override {
    keyboard_ = KeyboardModel::Create();
    mouse_ = MouseModel::Create();
    ASSERT_TRUE(keyboard_->Plug());
    ASSERT_TRUE(mouse_->Plug());
  }
  std::shared_ptr<KeyboardModel> keyboard_;
  std::shared_ptr<MouseModel> mouse_;
};

TEST_F(MemoryAreasTest, WrittenChunksLandAtTheirOffsetsAndReadBack) {
  Host host(keyboard_->CommandPath());
  // Custom lighting group 3 of 8, read back through the read command of the same area.
  auto group = Pattern(378, 5);
  ASSERT_TRUE(host.WriteArea(command::kWriteCustomLight, group, 3 * 378));
  EXPECT_EQ(host.ReadArea(command::kReadCustomLight, 378, 3 * 378), group);
  auto area = keyboard_->AreaBytes(Area::kCustomLight);
  EXPECT_TRUE(std::all_of(area.begin(), area.begin() + 3 * 378, [](uint8_t b) { return b == 0; }))
      << "groups before 3 untouched";
  EXPECT_TRUE(std::equal(group.begin(), group.end(), area.begin() + 3 * 378));

  // Macro image of 1000 bytes: 18 frames, the last of 48 bytes.
  auto macros = Pattern(1000, 9);
  ASSERT_TRUE(host.WriteArea(command::kWriteMacros, macros));
  auto memory = keyboard_->AreaBytes(Area::kMacros);
  EXPECT_TRUE(std::equal(macros.begin(), macros.end(), memory.begin()));
  EXPECT_EQ(keyboard_->Log().CountFrames(command::kWriteMacros), 18u);
  EXPECT_EQ(keyboard_->Log().LastFrame(command::kWriteMacros)->Length(), 1000 - 17 * 56);
  EXPECT_EQ(keyboard_->Log().LastFrame(command::kWriteMacros)->Offset(), 17 * 56);
}

TEST_F(MemoryAreasTest, OnlyTheLengthOfAFrameIsTakenNotTheStaleBytesBehindIt) {
  Host host(keyboard_->CommandPath());
  // A frame reused between chunks carries old bytes past its length; they must not be stored.
  std::vector<uint8_t> payload(56, 0xAB);
  ASSERT_TRUE(host.Exchange(MakeRequest(command::kWriteMacros, 8, 100, payload)));
  auto memory = keyboard_->AreaBytes(Area::kMacros);
  EXPECT_EQ(memory[107], 0xAB);
  EXPECT_EQ(memory[108], 0x00);
  EXPECT_EQ(memory[99], 0x00);
}

TEST_F(MemoryAreasTest, ShootMemoryTakesFixed56ByteChunks) {
  Host host(mouse_->CommandPath());
  auto image = Pattern(57, 1);
  ASSERT_TRUE(host.WriteArea(command::kWriteShoot, image));
  auto frames = mouse_->Log().Frames(command::kWriteShoot);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].Length(), 56);
  EXPECT_EQ(frames[1].Length(), 1);
  EXPECT_EQ(frames[1].Offset(), 56);
  auto memory = mouse_->AreaBytes(Area::kShoot);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin()));
}

TEST_F(MemoryAreasTest, LightFramesAreRememberedAndCounted) {
  Host host(mouse_->CommandPath());
  auto frame = Pattern(MouseModel::kLedCount * 3, 40);  // 57 bytes: two chunks
  ASSERT_TRUE(host.WriteArea(command::kSendLightFrame, frame));
  ASSERT_TRUE(host.WriteArea(command::kSendLightFrame, frame));
  EXPECT_EQ(mouse_->LastLightFrame(), frame);
  EXPECT_EQ(mouse_->LightFrameCount(), 2u);
}

TEST_F(MemoryAreasTest, PowerIsSixBytesInOneFrame) {
  auto pad = MousePadModel::Create();
  ASSERT_TRUE(pad->Plug());
  pad->SetPower({40, 2, 0, 0, 0, 3});
  Host host(pad->CommandPath());
  auto reply = host.Exchange(MakeRequest(command::kReadPower, 6, 0));
  ASSERT_TRUE(reply);
  EXPECT_EQ(std::vector<uint8_t>(reply->begin() + 8, reply->begin() + 14), (std::vector<uint8_t>{40, 2, 0, 0, 0, 3}));
  EXPECT_EQ((*reply)[14], 0);
}

TEST_F(MemoryAreasTest, RefusedFramesAnswerFailureAndChangeNothing) {
  Host host(keyboard_->CommandPath());
  const auto before = keyboard_->AreaBytes(Area::kMacros);
  const uint16_t end = static_cast<uint16_t>(before.size());
  std::vector<uint8_t> payload(56, 0x77);

  auto past_end = host.Exchange(MakeRequest(command::kWriteMacros, 56, static_cast<uint16_t>(end - 10), payload));
  ASSERT_TRUE(past_end);
  EXPECT_EQ((*past_end)[kFrameCommand], command::kWriteMacros);
  EXPECT_EQ((*past_end)[kFrameStatus], kStatusFailure);

  auto too_long = host.Exchange(MakeRequest(command::kWriteMacros, 57, 0, payload));
  ASSERT_TRUE(too_long);
  EXPECT_EQ((*too_long)[kFrameStatus], kStatusFailure);
  EXPECT_EQ(keyboard_->AreaBytes(Area::kMacros), before);

  auto unknown = host.Exchange(MakeRequest(0x42, 0, 0));
  ASSERT_TRUE(unknown);
  EXPECT_EQ((*unknown)[kFrameCommand], 0x42);
  EXPECT_EQ((*unknown)[kFrameStatus], kStatusFailure);

  // Reading past the end is not an error: the missing bytes read 0.
  auto tail = host.Exchange(MakeRequest(command::kReadInfo, 56, 20));
  ASSERT_TRUE(tail);
  EXPECT_EQ((*tail)[kFrameStatus], kStatusOk);
  EXPECT_EQ((*tail)[8 + 13], 0);
  EXPECT_EQ((*tail)[8 + 55], 0);
}

TEST_F(MemoryAreasTest, EachModelKeepsItsOwnMemory) {
  Host keyboard(keyboard_->CommandPath());
  Host mouse(mouse_->CommandPath());
  ASSERT_TRUE(keyboard.WriteArea(command::kWriteSettings, {0, 9, 9, 9}));
  EXPECT_EQ(keyboard_->SettingsRecord(0)[1], 9);
  EXPECT_NE(mouse_->SettingsRecord(0)[1], 9);
  EXPECT_EQ(mouse.ReadArea(command::kReadSettings, 71, 0), mouse_->SettingsRecord(0));
}

}  // namespace
}  // namespace zrv::sim
