#include "platform/qt/socket_protocol.h"

#include <QList>

namespace zrv::platform {
namespace {

struct VerbName {
  SocketRequest::Verb verb;
  const char* name;
  bool has_arguments;
};

constexpr VerbName kVerbs[] = {
    {SocketRequest::Verb::kShow, "show", true},
    {SocketRequest::Verb::kForward, "forward", true},
    {SocketRequest::Verb::kLight, "light", true},
    {SocketRequest::Verb::kDescribe, "describe", false},
    {SocketRequest::Verb::kSubscribe, "subscribe", false},
};

std::optional<int> ParseInt(const QByteArray& text) {
  bool ok = false;
  int value = text.toInt(&ok, 10);
  return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

std::optional<SocketRequest> ParseSocketRequest(const QByteArray& line) {
  if (line.size() > kMaxSocketLine) return std::nullopt;
  QList<QByteArray> words = line.trimmed().split(' ');
  words.removeAll(QByteArray());
  if (words.isEmpty()) return std::nullopt;
  for (const VerbName& entry : kVerbs) {
    if (words[0] != entry.name) continue;
    SocketRequest request{entry.verb};
    if (!entry.has_arguments) {
      if (words.size() != 1) return std::nullopt;
      return request;
    }
    if (words.size() != 3) return std::nullopt;
    std::optional<int> first = ParseInt(words[1]);
    std::optional<int> second = ParseInt(words[2]);
    if (!first || !second) return std::nullopt;
    request.first = *first;
    request.second = *second;
    return request;
  }
  return std::nullopt;
}

QByteArray SocketRequestLine(SocketRequest::Verb verb, int first, int second) {
  for (const VerbName& entry : kVerbs) {
    if (entry.verb != verb) continue;
    QByteArray line(entry.name);
    if (entry.has_arguments) line += ' ' + QByteArray::number(first) + ' ' + QByteArray::number(second);
    return line + '\n';
  }
  return QByteArray();
}

}  // namespace zrv::platform
