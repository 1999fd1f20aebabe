#pragma once
// The line protocol of the local socket that stands in for the bus when there is none. One
// request line per connection (ASCII, '\n' ended), one answer line:
//   show A B | forward A B | light A B   ->  ok
//   describe                             ->  block <base64 of the description block>
//   subscribe                            ->  ok, then one "notice A B" line per notice
// Anything else, or a line longer than kMaxSocketLine, is answered with "error".

#include <QByteArray>

#include <optional>

namespace zrv::platform {

inline constexpr int kMaxSocketLine = 256;

struct SocketRequest {
  enum class Verb { kShow, kForward, kLight, kDescribe, kSubscribe };
  Verb verb;
  int first = 0;
  int second = 0;
};

// Parses one line without its '\n'; nothing for a malformed line.
std::optional<SocketRequest> ParseSocketRequest(const QByteArray& line);

QByteArray SocketRequestLine(SocketRequest::Verb verb, int first = 0, int second = 0);

}  // namespace zrv::platform
