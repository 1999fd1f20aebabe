// Holds the desktop input capture in a process of its own, for the tests that end such a process
// by a termination request or a crash, and for measuring the idle CPU time of an installed
// capture.
//
//   input_probe [--slow-exit] [--abort-on-key] [--idle SECONDS]
//
// Prints "scope N" once the capture is started (N: 1 desktop, 2 window only). --slow-exit makes
// SIGTERM and SIGABRT take 30 s to end the process (a hung shut-down, a slow crash reporter);
// --abort-on-key aborts inside the receiver of the first key; --idle prints "cpu_ms C wall_ms W"
// after SECONDS and ends.
#include <signal.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/input/input_capture.h"

namespace {

void SlowExit(int) {
  ::sleep(30);
  ::_exit(3);
}

long CpuMilliseconds() {
  QFile stat("/proc/self/stat");
  if (!stat.open(QIODevice::ReadOnly)) return -1;
  const QList<QByteArray> fields = stat.readAll().split(' ');
  // utime and stime are fields 14 and 15 (the command name has no spaces here).
  const long ticks = fields.value(13).toLong() + fields.value(14).toLong();
  return ticks * 1000 / ::sysconf(_SC_CLK_TCK);
}

}  // namespace

int main(int argc, char** argv) {
  bool abort_on_key = false;
  int idle_seconds = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--slow-exit") == 0) {
      ::signal(SIGTERM, SlowExit);
      ::signal(SIGABRT, SlowExit);
    } else if (std::strcmp(argv[i], "--abort-on-key") == 0) {
      abort_on_key = true;
    } else if (std::strcmp(argv[i], "--idle") == 0 && i + 1 < argc) {
      idle_seconds = std::atoi(argv[++i]);
    }
  }
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  QGuiApplication app(argc, argv);
  zrv::platform::input::InputCapture capture;
  if (abort_on_key) {
    QObject::connect(&capture, &zrv::platform::input::InputCapture::keyEvent, [] { std::abort(); });
  }
  const auto scope = capture.Start(true, true);
  std::printf("scope %d\n", static_cast<int>(scope));
  std::fflush(stdout);
  QElapsedTimer wall;
  wall.start();
  const long cpu_at_start = CpuMilliseconds();
  if (idle_seconds > 0) {
    QTimer::singleShot(idle_seconds * 1000, [&] {
      std::printf("cpu_ms %ld wall_ms %lld\n", CpuMilliseconds() - cpu_at_start,
                  static_cast<long long>(wall.elapsed()));
      std::fflush(stdout);
      QCoreApplication::quit();
    });
  }
  return app.exec();
}
