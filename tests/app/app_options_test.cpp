#include "app/app_options.h"

#include <gtest/gtest.h>

namespace zrv::app {
namespace {

TEST(AppOptions, SimulateListIsKeptInOrderWithoutRepeats) {
  QString error;
  std::optional<AppOptions> options = ParseAppOptions({}, &error);
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->simulate.isEmpty());

  options = ParseAppOptions({"--simulate=mouse,Keyboard,mouse"}, &error);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->simulate, QStringList({"mouse", "keyboard"}));

  options = ParseAppOptions({"--simulate=headset,all"}, &error);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->simulate, QStringList({"headset", "keyboard", "mouse", "wireless-mouse", "mousepad"}));
}

TEST(AppOptions, UnknownOptionsAndKindsAreRefused) {
  QString error;
  EXPECT_FALSE(ParseAppOptions({"--simulate=keyboard,toaster"}, &error));
  EXPECT_TRUE(error.contains("toaster"));
  EXPECT_FALSE(ParseAppOptions({"--fullscreen"}, &error));
  EXPECT_TRUE(error.contains("--fullscreen"));
  std::optional<AppOptions> help = ParseAppOptions({"--help"}, &error);
  ASSERT_TRUE(help);
  EXPECT_TRUE(help->help);
}

}  // namespace
}  // namespace zrv::app
