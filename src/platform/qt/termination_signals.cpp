#include "platform/qt/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <cerrno>

#include "platform/debug_output.h"

namespace zrv::platform {
namespace {

int g_pipe[2] = {-1, -1};
struct sigaction g_previous_term;
struct sigaction g_previous_int;

void OnSignal(int signal_number) {
  int saved_errno = errno;
  unsigned char byte = static_cast<unsigned char>(signal_number);
  // A full pipe means a termination is already pending; dropping the byte is fine.
  [[maybe_unused]] ssize_t written = ::write(g_pipe[1], &byte, 1);
  errno = saved_errno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    DebugOut("termination signals: not installed");
    return;
  }
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, &g_previous_term);
  ::sigaction(SIGINT, &action, &g_previous_int);
  notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::OnReadable);
  installed_ = true;
}

TerminationSignals::~TerminationSignals() {
  if (!installed_) return;
  ::sigaction(SIGTERM, &g_previous_term, nullptr);
  ::sigaction(SIGINT, &g_previous_int, nullptr);
  delete notifier_;
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void TerminationSignals::OnReadable() {
  unsigned char byte = 0;
  while (::read(g_pipe[0], &byte, 1) == 1) {
    DebugPrintf("termination signal %d", static_cast<int>(byte));
    emit terminationRequested(static_cast<int>(byte));
  }
}

}  // namespace zrv::platform
