#include "platform/debug_output.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zrv::platform
