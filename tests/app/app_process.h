#pragma once
// The real program as a child process for the start-up tests: its own data, configuration,
// cache, temporary and runtime folders, the milestones it announces on standard output, signals.

#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace zrv::app::testing {

class AppProcess {
 public:
  // `bus`: keep the session bus of the test's environment; otherwise the program runs without.
  explicit AppProcess(bool bus = false) {
    environment_ = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR", "XDG_RUNTIME_DIR"}) {
      QString dir = home_.filePath(QString::fromLatin1(name));
      QDir().mkpath(dir);
      QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
      environment_.insert(QString::fromLatin1(name), dir);
    }
    if (!bus) environment_.remove("DBUS_SESSION_BUS_ADDRESS");
    environment_.insert("ZRV31_ANNOUNCE", "1");
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  }
  ~AppProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }

  QProcessEnvironment& environment() { return environment_; }
  QString HomeDir() const { return home_.path(); }
  // Shares the folders of another process (a second start of the same user).
  void ShareFoldersWith(const AppProcess& other) {
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR", "XDG_RUNTIME_DIR"}) {
      environment_.insert(QString::fromLatin1(name), other.environment_.value(QString::fromLatin1(name)));
    }
  }

  // Reads standard error as well (with ZRV31_DEBUG=1: the debug lines).
  void MergeStandardError() { process_.setProcessChannelMode(QProcess::MergedChannels); }

  bool Start(const QStringList& arguments = {}) {
    process_.setProcessEnvironment(environment_);
    process_.start(QStringLiteral(ZRV31_APP_EXE), arguments);
    return process_.waitForStarted(10000);
  }
  // Waits until the program has written `line` (whole line); false on time-out or its end.
  bool WaitForLine(const QString& line, int timeout_ms = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (true) {
      while (process_.canReadLine()) {
        QString got = QString::fromUtf8(process_.readLine()).trimmed();
        lines_ << got;
        if (got == line) return true;
      }
      int left = timeout_ms - static_cast<int>(timer.elapsed());
      if (left <= 0 || process_.state() == QProcess::NotRunning) return false;
      process_.waitForReadyRead(std::min(left, 200));
    }
  }
  void Signal(int signal_number) { ::kill(static_cast<pid_t>(process_.processId()), signal_number); }
  // The exit status, or -1 when it did not end in time or crashed.
  int WaitForExit(int timeout_ms = 20000) {
    if (!process_.waitForFinished(timeout_ms)) return -1;
    while (process_.canReadLine()) lines_ << QString::fromUtf8(process_.readLine()).trimmed();
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  const QStringList& lines() const { return lines_; }

 private:
  QTemporaryDir home_;
  QProcessEnvironment environment_;
  QProcess process_;
  QStringList lines_;
};

}  // namespace zrv::app::testing
