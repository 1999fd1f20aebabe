#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/commands.h"

namespace zrv::cli {
namespace {

class DescriptorCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("zrv31ctl-descriptor-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& text) {
    const std::filesystem::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  int Run(const Args& args) {
    out_.str({});
    err_.str({});
    return RunDescriptor(args, out_, err_);
  }

  std::filesystem::path dir_;
  std::ostringstream out_, err_;
};

// A boot keyboard: modifier bits, a reserved byte and a six-key array in; five LED bits and padding out.
constexpr const char* kKeyboard =
    "05 01 09 06 A1 01 05 07 19 E0 29 E7 15 00 25 01 75 01 95 08 81 02 75 08 95 01 81 03 19 00 29 DD\n"
    "15 00 26 DD 00 75 08 95 06 81 00 05 08 19 01 29 03 15 00 25 01 75 01 95 03 91 02 75 05 95 01 91 03 C0\n";

TEST_F(DescriptorCommandTest, PrintsOneLinePerCollection) {
  ASSERT_EQ(Run({Write("keyboard.txt", kKeyboard)}), 0) << err_.str();
  EXPECT_EQ(out_.str(),
            "{\"collection\":0,\"usage_page\":1,\"usage\":6,\"input_report_byte_length\":9,"
            "\"output_report_byte_length\":2,\"feature_report_byte_length\":0,"
            "\"button_caps\":{\"input\":2,\"output\":1,\"feature\":0},"
            "\"value_caps\":{\"input\":0,\"output\":0,\"feature\":0}}\n");
  EXPECT_EQ(err_.str(), "");

  // Two application collections with report IDs are numbered from 1; 0x-prefixes are accepted.
  const std::string two =
      "0x05 0x0C 0x09 0x01 0xA1 0x01 0x85 0x01 0x75 0x10 0x95 0x01 0x15 0x01 0x26 0x8C 0x02 0x19 0x01 0x2A 0x8C 0x02"
      " 0x81 0x00 0xC0 06 1C FF 09 92 A1 01 85 04 75 08 95 3F 09 01 81 02 09 01 91 02 C0";
  ASSERT_EQ(Run({Write("two.txt", two)}), 0) << err_.str();
  EXPECT_EQ(out_.str(),
            "{\"collection\":1,\"usage_page\":12,\"usage\":1,\"input_report_byte_length\":3,"
            "\"output_report_byte_length\":0,\"feature_report_byte_length\":0,"
            "\"button_caps\":{\"input\":1,\"output\":0,\"feature\":0},"
            "\"value_caps\":{\"input\":0,\"output\":0,\"feature\":0}}\n"
            "{\"collection\":2,\"usage_page\":65308,\"usage\":146,\"input_report_byte_length\":64,"
            "\"output_report_byte_length\":64,\"feature_report_byte_length\":0,"
            "\"button_caps\":{\"input\":0,\"output\":0,\"feature\":0},"
            "\"value_caps\":{\"input\":1,\"output\":1,\"feature\":0}}\n");
}

TEST_F(DescriptorCommandTest, RefusesBadInputWithStatus2) {
  struct Case {
    const char* name;
    Args args;
    const char* message;
  };
  const Case cases[] = {
      {"no argument", {}, "usage: zrv31ctl descriptor FILE"},
      {"missing file", {(dir_ / "absent.txt").string()}, "cannot read"},
      {"bad hex", {Write("bad.txt", "05 01 0G")}, "not a hexadecimal byte at character 6: '0G'"},
      {"three digits", {Write("long.txt", "05 010")}, "not a hexadecimal byte"},
      {"directory", {dir_.string()}, "cannot read"},
      {"empty", {Write("empty.txt", "")}, "declares no top-level collection"},
      {"malformed", {Write("open.txt", "05 01 09 06 A1 01")}, "offset 4: collection is not closed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Run(c.args), 2);
    EXPECT_EQ(out_.str(), "");
    EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
  }
}

}  // namespace
}  // namespace zrv::cli
