#include "platform/debug_output.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <thread>
#include <vector>

namespace zrv::platform {
namespace {

TEST(DebugOutput, CaptureSeesEveryLineOfEveryThreadWhole) {
  DebugCapture capture;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 100; ++i) DebugPrintf("thread %d line %d", t, i);
    });
  }
  for (auto& thread : threads) thread.join();
  auto lines = capture.Lines();
  ASSERT_EQ(lines.size(), 400u);
  EXPECT_TRUE(capture.Contains("thread 3 line 99"));
  for (const auto& line : lines) EXPECT_EQ(line.rfind("thread ", 0), 0u) << line;
}

TEST(DebugOutput, NestedCapturesHandBackToTheOuterOne) {
  DebugCapture outer;
  {
    DebugCapture inner;
    DebugOut("inner");
    EXPECT_TRUE(inner.Contains("inner"));
  }
  DebugOut("outer");
  EXPECT_EQ(outer.Lines(), std::vector<std::string>{"outer"});
}

TEST(DebugOutput, LongFormattedLinesAreNotCut) {
  DebugCapture capture;
  std::string long_text(5000, 'x');
  DebugPrintf("%s|%d", long_text.c_str(), 7);
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0], long_text + "|7");
}

// What ZRV31_DEBUG=1 writes to standard error, in a fresh process (the switch is read once): each
// call is one line, newline-terminated, a multi-line message (a command trace) kept whole.
TEST(DebugOutputDeathTest, WithTheSwitchEachCallIsOneLineOnStandardError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::setenv("ZRV31_DEBUG", "1", 1);
        DebugOut("命令\n04 25 00 03   00 00");
        DebugPrintf("thread %s end %d", "discovery", 7);
        DebugOut("");
        std::fflush(stderr);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), ::testing::StrEq("命令\n04 25 00 03   00 00\nthread discovery end 7\n\n"));
}

// Any other value, or none, keeps standard error quiet; a capture still sees the lines.
TEST(DebugOutputDeathTest, WithoutTheSwitchNothingIsWritten) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::setenv("ZRV31_DEBUG", "yes", 1);
        DebugCapture capture;
        DebugOut("quiet");
        if (capture.Lines() != std::vector<std::string>{"quiet"}) std::_Exit(1);
        std::_Exit(DebugEnabled() ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), ::testing::IsEmpty());
}

}  // namespace
}  // namespace zrv::platform
