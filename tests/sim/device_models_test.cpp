// Identity and factory contents of the mouse, the wireless mouse, the mouse pad and the headset.

#include <gtest/gtest.h>

#include "sim/headset_model.h"
#include "sim/key_tables.h"
#include "sim/mouse_model.h"
#include "sim/mousepad_model.h"
#include "sim/sim_ids.h"
#include "sim/sim_test_support.h"
#include "sim/wireless_mouse_model.h"

namespace zrv::sim {
namespace {

using testing::Host;

class DeviceModelsTest : public testing::SimTest {};

TEST_F(DeviceModelsTest, MouseInformationBlockCarriesTheDpiLimits) {
  auto mouse = MouseModel::Create();
  ASSERT_TRUE(mouse->Plug());
  EXPECT_NE(mouse->CommandPath().find("vid_320f&pid_1000&mi_01&col04"), std::string::npos);
  Host host(mouse->CommandPath());
  auto info = host.ReadArea(command::kReadInfo, 34);
  ASSERT_EQ(info.size(), 34u);
  EXPECT_EQ(info[kInfoDpiFactor], 50);
  EXPECT_EQ(info[kInfoDpiMax] | info[kInfoDpiMax + 1] << 8, 520);
  EXPECT_EQ(info[kInfoDpiMin] | info[kInfoDpiMin + 1] << 8, 100);
  ASSERT_EQ(info[kInfoKeySlots], MouseFactoryCodes().size());

  auto keys = host.ReadArea(command::kReadDefaultKeys, info[kInfoKeySlots] * 3u);
  EXPECT_EQ(keys, MouseFactoryKeys());
  EXPECT_EQ(KeyCode(keys[0], keys[1], keys[2]), (KeyCode{0x10, 0x01, 0x00})) << "left button first";

  // Settings: 66 bytes written at profile x 128, 71 read from there.
  std::vector<uint8_t> record(66, 0x21);
  record[0] = 1;
  ASSERT_TRUE(host.WriteArea(command::kWriteSettings, record, 128));
  auto read = host.ReadArea(command::kReadSettings, 71, 128);
  ASSERT_EQ(read.size(), 71u);
  EXPECT_TRUE(std::equal(record.begin(), record.end(), read.begin()));
  EXPECT_EQ(mouse->SettingsRecord(1), read);
}

TEST_F(DeviceModelsTest, WirelessProbeFollowsReachability) {
  auto mouse = WirelessMouseModel::Create();
  ASSERT_TRUE(mouse->Plug());
  EXPECT_EQ(mouse->Kind(), device::DeviceKind::kWirelessMouse);
  EXPECT_EQ(mouse->Attributes().product_id, kMouseProductId);
  Host host(mouse->CommandPath());

  auto probe = host.Exchange(MakeRequest(command::kProbe, 0, 0));
  ASSERT_TRUE(probe);
  EXPECT_EQ((*probe)[kFrameCommand], command::kProbe);
  EXPECT_EQ((*probe)[kPayloadOffset], kProbeReachable);
  EXPECT_EQ((*probe)[kFrameStatus], kStatusOk);

  mouse->SetReachable(false);
  probe = host.Exchange(MakeRequest(command::kProbe, 0, 0));
  ASSERT_TRUE(probe);
  EXPECT_NE((*probe)[kPayloadOffset], kProbeReachable);
  EXPECT_EQ((*probe)[kFrameStatus], kStatusOk);

  // Other commands fail at once and change nothing.
  auto write = host.Exchange(MakeRequest(command::kWriteSettings, 1, 0, std::vector<uint8_t>{7}));
  ASSERT_TRUE(write);
  EXPECT_EQ((*write)[kFrameStatus], kStatusFailure);
  EXPECT_EQ(mouse->ActiveProfile(), 0);

  // Or, if told so, the receiver stays silent.
  mouse->SetUnreachableAnswer(WirelessMouseModel::UnreachableAnswer::kNoAnswer);
  EXPECT_FALSE(host.Exchange(MakeRequest(command::kBegin, 0, 0), 30));
  EXPECT_EQ(mouse->BeginCount(), 0u);
  EXPECT_TRUE(host.Exchange(MakeRequest(command::kProbe, 0, 0))) << "the receiver itself still answers probes";

  mouse->SetReachable(true);
  auto begin = host.Exchange(MakeRequest(command::kBegin, 0, 0));
  ASSERT_TRUE(begin);
  EXPECT_EQ((*begin)[kFrameStatus], kStatusOk);
}

TEST_F(DeviceModelsTest, MousePadUsesItsOwnIdsAndReportsPower) {
  auto pad = MousePadModel::Create();
  ASSERT_TRUE(pad->Plug());
  EXPECT_NE(pad->CommandPath().find("vid_320f&pid_5100&mi_01&col04"), std::string::npos);
  EXPECT_NE(pad->NotificationPath().find("&col03"), std::string::npos);
  Host host(pad->CommandPath());
  EXPECT_EQ(host.ReadArea(command::kReadPower, 6), (std::vector<uint8_t>{85, 1, 0, 1, 0, 2}));
  // Written as 21 bytes at profile x 64, read as 46 at profile x 46: both meet at profile 0.
  std::vector<uint8_t> record(21, 0x11);
  record[0] = 0;
  ASSERT_TRUE(host.WriteArea(command::kWriteSettings, record, 0));
  auto read = host.ReadArea(command::kReadSettings, 46, 0);
  EXPECT_TRUE(std::equal(record.begin(), record.end(), read.begin()));
}

TEST_F(DeviceModelsTest, HeadsetCommandLinkIsItsConsumerCollection) {
  auto headset = HeadsetModel::Create();
  ASSERT_TRUE(headset->Plug());
  auto paths = headset->Paths();
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_NE(paths[0].find("vid_320f&pid_5200&mi_03"), std::string::npos);
  EXPECT_EQ(paths[0].find("&col"), std::string::npos);
  Host host(headset->CommandPath());
  ASSERT_TRUE(host.Opened());
  EXPECT_EQ(host.Hid().UsagePage(), kConsumerUsagePage);
  EXPECT_EQ(host.Hid().Usage(), kConsumerUsage);
  EXPECT_EQ(host.Hid().OutputReportLength(), 64);
  EXPECT_EQ(host.ReadArea(command::kReadSettings, 46, 0), headset->SettingsRecord(0));
}

TEST_F(DeviceModelsTest, HeadsetLightReportsComposeAFramePerTarget) {
  auto headset = HeadsetModel::Create();
  ASSERT_TRUE(headset->Plug());
  Host host(headset->CommandPath());
  const std::pair<uint8_t, uint8_t> order[] = {{0x22, 0xAA}, {0x22, 0xAD}, {0x44, 0xAA}, {0x44, 0xAD},
                                               {0x22, 0xAB}, {0x22, 0xAE}, {0x44, 0xAB}, {0x44, 0xAE},
                                               {0x22, 0xAC}, {0x22, 0xAF}, {0x44, 0xAC}, {0x44, 0xAF}};
  for (auto [target, part] : order) {
    std::array<uint8_t, kHeadsetLightReportSize> report{};
    report[0] = kHeadsetLightReportId;
    report[1] = target;
    report[2] = part;
    const bool second = part >= 0xAD;
    const int component = (part - 0xAA) % 3;
    for (int i = 0; i < (second ? 6 : 7); ++i) {
      int position = (second ? 7 : 0) + i;
      report[4 + i] = static_cast<uint8_t>(position * 10 + component + (target == 0x44 ? 100 : 0));
    }
    report[10] = second ? 0xEE : report[10];  // not data in the second half
    ASSERT_EQ(host.Hid().WriteReport(report.size(), nullptr, report.data(), 1000), 1);
  }
  EXPECT_EQ(headset->LightReportCount(), HeadsetModel::kReportsPerFrame);
  EXPECT_EQ(headset->MalformedLightReports(), 0u);
  auto a = headset->Colours(HeadsetModel::kTargetA);
  auto b = headset->Colours(HeadsetModel::kTargetB);
  EXPECT_EQ(a[0], (Rgb{0, 1, 2}));
  EXPECT_EQ(a[6], (Rgb{60, 61, 62}));
  EXPECT_EQ(a[7], (Rgb{70, 71, 72}));
  EXPECT_EQ(a[12], (Rgb{120, 121, 122}));
  EXPECT_EQ(b[12], (Rgb{220, 221, 222}));
  EXPECT_EQ(headset->Log().Reports(kHeadsetLightReportId, Direction::kToDevice).size(), 12u);
  EXPECT_EQ(headset->Log().CountCommandFrames(Direction::kToDevice), 0u);

  // A report for an unknown target or part changes nothing.
  std::array<uint8_t, kHeadsetLightReportSize> stray{kHeadsetLightReportId, 0x33, 0xAA};
  stray[4] = 9;
  ASSERT_EQ(host.Hid().WriteReport(stray.size(), nullptr, stray.data(), 1000), 1);
  EXPECT_EQ(headset->MalformedLightReports(), 1u);
  EXPECT_EQ(headset->Colours(HeadsetModel::kTargetA), a);
}

TEST_F(DeviceModelsTest, HeadsetTakesLightReportsAsSetReportToo) {
  auto headset = HeadsetModel::Create();
  std::array<uint8_t, kHeadsetLightReportSize> report{kHeadsetLightReportId, 0x44, 0xAC};
  report[4] = 200;
  EXPECT_TRUE(headset->OnSetReport(device::HidReportType::kOutput, report));
  EXPECT_EQ(headset->Colours(HeadsetModel::kTargetB)[0].blue, 200);
  EXPECT_FALSE(headset->OnSetReport(device::HidReportType::kFeature, report));
}

}  // namespace
}  // namespace zrv::sim
