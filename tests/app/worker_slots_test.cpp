// The main window's worker slots: every thread is stopped in slot order within its bound; one that
// overruns is reported and kept, never killed.
#include "app/worker_slots.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "main_wnd_support.h"
#include "platform/debug_output.h"

namespace zrv::app {
namespace {

using std::chrono::milliseconds;

int CountLines(const platform::DebugCapture& capture, const std::string& text) {
  int count = 0;
  for (const std::string& line : capture.Lines()) count += line == text ? 1 : 0;
  return count;
}

TEST(WorkerSlots, StopAllEndsEveryThreadAndReportsEachSlotInOrder) {
  platform::DebugCapture capture;
  std::atomic<int> ended{0};
  {
    WorkerSlots workers;
    for (size_t slot : {WorkerSlots::kDiscoverySlot, WorkerSlots::kUpdateCheckSlot, WorkerSlots::kLightSyncSlot}) {
      ASSERT_TRUE(
          workers.Put(slot, std::make_unique<SlotThread>("test worker", [&ended](const platform::StopEvent& stop) {
                        stop.WaitUntil(std::chrono::steady_clock::time_point::max());
                        ++ended;
                      })));
    }
    const auto idle = [] { return std::make_unique<SlotThread>("test worker", [](const platform::StopEvent&) {}); };
    EXPECT_FALSE(workers.Put(WorkerSlots::kLightSyncSlot, idle())) << "a slot holds one thread";
    EXPECT_FALSE(workers.Put(WorkerSlots::kSlotCount, idle()));
    capture.Clear();
    EXPECT_EQ(workers.StopAll(), 0u);
    EXPECT_EQ(ended.load(), 3);
  }
  const std::vector<std::string> lines = capture.Lines();
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[0], "所有对象处于激发状态\n");
  EXPECT_EQ(lines[1], "错误\n1");
  EXPECT_EQ(lines[2], "所有对象处于激发状态\n");
  EXPECT_EQ(lines[8], "所有对象处于激发状态\n");
  EXPECT_EQ(lines[19], "错误\n19");
}

TEST(WorkerSlots, AThreadThatOverrunsIsReportedKeptAndJoinedLater) {
  platform::DebugCapture capture;
  std::atomic<bool> finished{false};
  std::atomic<bool> release{false};
  {
    WorkerSlots workers;
    // Ignores its stop event until released.
    workers.Put(3, std::make_unique<SlotThread>("test worker", [&](const platform::StopEvent&) {
                  while (!release.load()) std::this_thread::sleep_for(milliseconds(5));
                  finished = true;
                }));
    EXPECT_EQ(workers.StopAll(milliseconds(50)), 1u);
    EXPECT_FALSE(finished.load()) << "not killed";
    EXPECT_EQ(CountLines(capture, "所有对象处于非激发状态，超时\n"), 1);
    release = true;
  }
  EXPECT_TRUE(finished.load()) << "joined when the slots go";
}

// The window's own threads: discovery, the update check and the light synchronisation each end
// within their bound (none is reported as overrunning), each with its line, when the window stops them.
TEST(MainWndThreads, StopWorkerThreadsEndsDiscoveryUpdateCheckAndLightSync) {
  testing::PrivateFolders folders;
  auto window = testing::MakeMainWindow(CMainWnd::StartOptions{});
  platform::DebugCapture capture;
  window->StopWorkerThreads();
  EXPECT_FALSE(window->isVisible()) << "the window is hidden first";
  EXPECT_TRUE(capture.Contains("抓取设备线程设定退出"));
  EXPECT_TRUE(capture.Contains("获取更新线程退出"));
  EXPECT_TRUE(capture.Contains("同步灯光线程设定退出"));
  EXPECT_EQ(CountLines(capture, "所有对象处于激发状态\n"), 3);
  EXPECT_EQ(CountLines(capture, "所有对象处于非激发状态，超时\n"), 0);
  capture.Clear();
  window->StopWorkerThreads();
  EXPECT_TRUE(capture.Lines().empty()) << "once";
}

TEST(MainWndThreads, TheTrayMenusExitStopsTheThreadsBeforeTheWindowGoes) {
  testing::PrivateFolders folders;
  auto window = testing::MakeMainWindow(CMainWnd::StartOptions{});
  platform::DebugCapture capture;
  window->OnMenuCommand(ui::MenuCommand{"exit", {}, {}, false});
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(capture.Contains("退出测试"));
  EXPECT_TRUE(capture.Contains("抓取设备线程设定退出"));
  EXPECT_EQ(CountLines(capture, "所有对象处于激发状态\n"), 3);
}

}  // namespace
}  // namespace zrv::app
