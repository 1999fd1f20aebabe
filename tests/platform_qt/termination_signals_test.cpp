#include "platform/qt/termination_signals.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QSignalSpy>

namespace zrv::platform {
namespace {

sighandler_t CurrentHandler(int signal_number) {
  struct sigaction current = {};
  ::sigaction(signal_number, nullptr, &current);
  return current.sa_handler;
}

TEST(TerminationSignals, SigtermAndSigintArriveInTheEventLoopAndHandlersAreRestored) {
  sighandler_t before = CurrentHandler(SIGTERM);
  {
    TerminationSignals handlers;
    ASSERT_TRUE(handlers.IsInstalled());
    QSignalSpy requested(&handlers, &TerminationSignals::terminationRequested);
    ASSERT_EQ(::raise(SIGTERM), 0);  // would end the test program without the handler
    ASSERT_TRUE(requested.wait(2000));
    ASSERT_EQ(::raise(SIGINT), 0);
    if (requested.size() < 2) {
      ASSERT_TRUE(requested.wait(2000));
    }
    ASSERT_EQ(requested.size(), 2);
    EXPECT_EQ(requested[0][0].toInt(), SIGTERM);
    EXPECT_EQ(requested[1][0].toInt(), SIGINT);

    TerminationSignals second;  // only one may own the handlers
    EXPECT_FALSE(second.IsInstalled());
  }
  EXPECT_EQ(CurrentHandler(SIGTERM), before);
}

}  // namespace
}  // namespace zrv::platform
