#include "device/hid_path.h"

#include <gtest/gtest.h>

namespace zrv::device {
namespace {

TEST(HidPath, NumbersFromTokens) {
  const std::string path = "/dev/hidraw3#0003:320F:505B.0007#vid_320f&pid_505b&mi_01&col04";
  EXPECT_EQ(PathVendorId(path), 0x320F);
  EXPECT_EQ(PathProductId(path), 0x505B);
  EXPECT_EQ(PathInterfaceNumber(path), 1);
  EXPECT_EQ(PathCollectionNumber(path), 4);
}

TEST(HidPath, MissingTokensGiveZeroAndCaseIsIgnored) {
  EXPECT_EQ(PathInterfaceNumber("virtual:1#vid_320f&pid_505b"), 0);
  EXPECT_EQ(PathCollectionNumber("virtual:1#vid_320f&pid_505b"), 0);
  EXPECT_EQ(PathInterfaceNumber("\\\\?\\HID#VID_320F&PID_505B&MI_01&COL0A#7&1"), 1);
  EXPECT_EQ(PathCollectionNumber("x&col0a#"), 10);
  EXPECT_EQ(PathVendorId("VID_ABCD"), 0xABCD);
  EXPECT_EQ(PathVendorId("vid_"), 0);  // token without digits
  EXPECT_EQ(PathVendorId("vid_zz12"), 0);
  EXPECT_EQ(PathVendorId("vid_12345"), 0x2345);  // wider than 16 bits: low bits kept
  EXPECT_EQ(PathCollectionNumber("&col0x1f"), 0x1f);
}

TEST(HidPath, FormatRoundTrips) {
  EXPECT_EQ(FormatPathTokens(0x320F, 0x505B, 1, 4), "vid_320f&pid_505b&mi_01&col04");
  EXPECT_EQ(FormatPathTokens(0x320F, 0x505B, 3, 0), "vid_320f&pid_505b&mi_03");
  EXPECT_EQ(FormatPathTokens(0x046D, 0xC077, -1, 0), "vid_046d&pid_c077");
  std::string tokens = FormatPathTokens(0x1234, 0xBEEF, 0x12, 0x1A);
  EXPECT_EQ(PathVendorId(tokens), 0x1234);
  EXPECT_EQ(PathProductId(tokens), 0xBEEF);
  EXPECT_EQ(PathInterfaceNumber(tokens), 0x12);
  EXPECT_EQ(PathCollectionNumber(tokens), 0x1A);
}

}  // namespace
}  // namespace zrv::device
