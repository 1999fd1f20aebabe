#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/commands.h"
#include "cli/simulate_option.h"
#include "device/virtual_hid.h"
#include "platform/debug_output.h"

namespace zrv::cli {
namespace {

// The simulated devices only: real devices of the machine would change the output.
class InfoCommandTest : public ::testing::Test {
 protected:
  InfoCommandTest() : backends_({device::VirtualHidRegistry::Instance().Backend()}) {
    ::setenv("ZRV31_PROGRAM_DIR", ZRV31_SOURCE_DIR, 1);  // DefaultData/DeviceIds.txt of the source tree
  }
  ~InfoCommandTest() override { device::VirtualHidRegistry::Instance().UnplugAll(); }

  int Run(int (*command)(const Args&, std::ostream&, std::ostream&), const Args& args = {}) {
    out_.str({});
    err_.str({});
    return command(args, out_, err_);
  }
  std::vector<std::string> OutLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  device::ScopedHidBackends backends_;
  std::ostringstream out_, err_;
};

TEST_F(InfoCommandTest, SimulateOptionPlugsForTheRunAndLeavesTheCommand) {
  {
    SimulateOption simulate;
    Args args = {"--simulate=keyboard", "--simulate= Headset ", "interfaces", "--simulate=mouse"};
    std::string error;
    ASSERT_TRUE(simulate.Apply(args, error)) << error;
    EXPECT_EQ(args, (Args{"interfaces", "--simulate=mouse"}));  // only leading options are global
    ASSERT_EQ(simulate.Models().size(), 2u);

    ASSERT_EQ(Run(RunInterfaces), 0);
    const auto lines = OutLines();
    ASSERT_EQ(lines.size(), 5u);  // four keyboard collections, the headset's one
    EXPECT_NE(lines[3].find("#vid_320f&pid_505b&mi_01&col04  vid=320f pid=505b"), std::string::npos);
    EXPECT_NE(lines[4].find("#vid_320f&pid_5200&mi_03  vid=320f pid=5200"), std::string::npos);
  }
  // Unplugged when the option goes out of scope.
  ASSERT_EQ(Run(RunInterfaces), 0);
  EXPECT_EQ(out_.str(), "");
}

TEST_F(InfoCommandTest, ABadListPlugsNothing) {
  SimulateOption simulate;
  Args args = {"--simulate=keyboard", "--simulate=keyboard,toaster", "info"};
  std::string error;
  EXPECT_FALSE(simulate.Apply(args, error));
  EXPECT_NE(error.find("unknown simulated device 'toaster'"), std::string::npos) << error;
  EXPECT_EQ(args.size(), 3u);
  EXPECT_TRUE(simulate.Models().empty());
  ASSERT_EQ(Run(RunInterfaces), 0);
  EXPECT_EQ(out_.str(), "");

  args = {"--simulate=", "info"};
  EXPECT_FALSE(simulate.Apply(args, error));
}

TEST_F(InfoCommandTest, ShowsTheInformationBlockOfEverySupportedDevice) {
  SimulateOption simulate;
  Args args = {"--simulate=all"};
  std::string error;
  ASSERT_TRUE(simulate.Apply(args, error)) << error;

  platform::DebugCapture debug;
  ASSERT_EQ(Run(RunInfo), 0) << err_.str();
  const auto lines = OutLines();
  // keyboard, mouse, the wireless mouse (its receiver carries the mouse's ids), mouse pad, headset.
  ASSERT_EQ(lines.size(), 10u) << out_.str();
  const char* const kinds[] = {"keyboard  ", "mouse  ", "mouse  ", "MousePad  ", "HD  "};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(lines[2 * i].rfind(kinds[i], 0), 0u) << lines[2 * i];
    ASSERT_EQ(lines[2 * i + 1].rfind("  info ", 0), 0u) << lines[2 * i + 1];
    EXPECT_EQ(lines[2 * i + 1].size(), 7 + 34 * 3 - 1);  // 34 bytes as hex
  }
  EXPECT_NE(lines[0].find("&mi_01&col04"), std::string::npos);
  EXPECT_EQ(lines[1].substr(7 + 5 * 3, 2), "7e");  // 126 key slots
  EXPECT_NE(lines[8].find("&mi_03"), std::string::npos);

  // Each device went through attach, Begin, ReadInfo, End and detach.
  EXPECT_TRUE(debug.Contains("添加一个键盘设备"));
  EXPECT_TRUE(debug.Contains("添加一个鼠标垫设备"));
  EXPECT_TRUE(debug.Contains("删除一个键盘设备"));
  int commands = 0;
  for (const auto& line : debug.Lines()) commands += line.rfind("命令", 0) == 0;
  EXPECT_EQ(commands, 5 * 3);
  for (const auto& model : simulate.Models()) EXPECT_EQ(model->EndCount(), 1u) << model->KindName();
}

TEST_F(InfoCommandTest, FailuresAreReported) {
  EXPECT_EQ(Run(RunInfo), 1);
  EXPECT_EQ(err_.str(), "zrv31ctl info: no supported device found\n");
  EXPECT_EQ(Run(RunInfo, {"extra"}), 2);

  SimulateOption simulate;
  Args args = {"--simulate=keyboard,mouse"};
  std::string error;
  ASSERT_TRUE(simulate.Apply(args, error)) << error;
  simulate.Models()[1]->InjectStatus(0xFE, sim::FrameMatch{0x03});  // the mouse refuses ReadInfo
  EXPECT_EQ(Run(RunInfo), 1);
  const auto lines = OutLines();
  ASSERT_EQ(lines.size(), 4u) << out_.str();
  EXPECT_EQ(lines[1].rfind("  info ", 0), 0u);
  EXPECT_EQ(lines[3], "  the information block cannot be read (-103)");
}

}  // namespace
}  // namespace zrv::cli
