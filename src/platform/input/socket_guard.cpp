#include "platform/input/socket_guard.h"

#include <signal.h>
#include <sys/socket.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <mutex>

namespace zrv::platform::input {
namespace {

constexpr int kFree = -1;
constexpr int kShut = -2;  // shut by a handler and not yet forgotten

std::array<std::atomic<int>, 4> g_sockets = {kFree, kFree, kFree, kFree};
// Which socket a slot held when a handler shut it, so SocketUsable can still answer.
std::array<std::atomic<int>, 4> g_shut = {kFree, kFree, kFree, kFree};

constexpr int kSignals[] = {SIGSEGV, SIGBUS,  SIGILL, SIGFPE, SIGABRT, SIGSYS,
                            SIGTRAP, SIGTERM, SIGINT, SIGHUP, SIGQUIT};
struct sigaction g_previous[NSIG];

void OnSignal(int signal_number, siginfo_t* info, void* context) {
  const int saved_errno = errno;
  for (std::size_t i = 0; i < g_sockets.size(); ++i) {
    int fd = g_sockets[i].load();
    if (fd >= 0 && g_sockets[i].compare_exchange_strong(fd, kShut)) {
      g_shut[i].store(fd);
      ::shutdown(fd, SHUT_RDWR);
    }
  }
  const struct sigaction& previous = g_previous[signal_number];
  if (previous.sa_flags & SA_SIGINFO) {
    if (previous.sa_sigaction != nullptr) previous.sa_sigaction(signal_number, info, context);
  } else if (previous.sa_handler == SIG_DFL) {
    // The default action (end, or core dump) takes over once this handler returns.
    ::sigaction(signal_number, &previous, nullptr);
    ::raise(signal_number);
  } else if (previous.sa_handler != SIG_IGN) {
    previous.sa_handler(signal_number);
  }
  errno = saved_errno;
}

void InstallHandlers() {
  struct sigaction action = {};
  action.sa_sigaction = OnSignal;
  action.sa_flags = SA_SIGINFO | SA_RESTART | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int signal_number : kSignals) ::sigaction(signal_number, &action, &g_previous[signal_number]);
}

}  // namespace

bool GuardSocket(int fd) {
  static std::once_flag installed;
  std::call_once(installed, InstallHandlers);
  for (std::size_t i = 0; i < g_sockets.size(); ++i) {
    int expected = kFree;
    if (g_sockets[i].compare_exchange_strong(expected, fd)) {
      g_shut[i].store(kFree);
      return true;
    }
  }
  return false;
}

void UnguardSocket(int fd) {
  for (std::size_t i = 0; i < g_sockets.size(); ++i) {
    int expected = fd;
    if (g_sockets[i].compare_exchange_strong(expected, kFree)) return;
    if (g_shut[i].load() == fd) {
      g_shut[i].store(kFree);
      expected = kShut;
      g_sockets[i].compare_exchange_strong(expected, kFree);
      return;
    }
  }
}

bool SocketUsable(int fd) {
  for (const auto& shut : g_shut) {
    if (shut.load() == fd) return false;
  }
  return true;
}

}  // namespace zrv::platform::input
