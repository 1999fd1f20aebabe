#pragma once
// Runs the probe program (a second start, another program) while this process keeps serving its
// instance in the event loop.

#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QString>
#include <QStringList>

namespace zrv::platform::testing {

struct ProbeResult {
  bool finished = false;
  int exit_code = -1;
  QString output;
};

inline ProbeResult RunProbe(const QStringList& arguments, const QProcessEnvironment& environment,
                            int timeout_ms = 10000) {
  QProcess probe;
  probe.setProcessEnvironment(environment);
  probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QSignalSpy finished(&probe, &QProcess::finished);
  probe.start(QStringLiteral(ZRV31_INSTANCE_PROBE), arguments);
  ProbeResult result;
  if (!probe.waitForStarted(timeout_ms)) return result;
  result.finished = finished.wait(timeout_ms);
  if (!result.finished) {
    probe.kill();
    probe.waitForFinished();
    return result;
  }
  result.exit_code = probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1;
  result.output = QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed();
  return result;
}

}  // namespace zrv::platform::testing
