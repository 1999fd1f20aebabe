#include "platform/qt/socket_protocol.h"

#include <gtest/gtest.h>

namespace zrv::platform {
namespace {

using Verb = SocketRequest::Verb;

TEST(SocketProtocol, LinesRoundTrip) {
  for (Verb verb : {Verb::kShow, Verb::kForward, Verb::kLight}) {
    QByteArray line = SocketRequestLine(verb, 4, -37);
    ASSERT_TRUE(line.endsWith('\n'));
    line.chop(1);
    std::optional<SocketRequest> request = ParseSocketRequest(line);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->verb, verb);
    EXPECT_EQ(request->first, 4);
    EXPECT_EQ(request->second, -37);
  }
  EXPECT_EQ(ParseSocketRequest("describe")->verb, Verb::kDescribe);
  EXPECT_EQ(ParseSocketRequest("subscribe\r")->verb, Verb::kSubscribe);
}

TEST(SocketProtocol, MalformedLinesAreRefused) {
  for (const char* line : {"", "   ", "show", "show 1", "show 1 2 3", "show one 2", "show 1 99999999999",
                           "describe now", "SHOW 0 1", "hello 0 1"}) {
    EXPECT_FALSE(ParseSocketRequest(line)) << line;
  }
  EXPECT_FALSE(ParseSocketRequest("show 0 1" + QByteArray(kMaxSocketLine, ' ')));
}

}  // namespace
}  // namespace zrv::platform
