#pragma once
// SIGTERM and SIGINT turned into a Qt signal on the main thread, so that the program ends in order
// (windows closed, threads stopped, files complete) instead of dying in the middle of its work.
//
// The handler only writes one byte to a pipe (async-signal-safe); a socket notifier reads it in
// the event loop.

#include <QObject>

class QSocketNotifier;

namespace zrv::platform {

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers; at most one object may exist at a time.
  explicit TerminationSignals(QObject* parent = nullptr);
  // Restores the previous handlers.
  ~TerminationSignals() override;

  bool IsInstalled() const { return installed_; }

 signals:
  // The number of the signal that arrived (SIGTERM or SIGINT).
  void terminationRequested(int signal_number);

 private:
  void OnReadable();

  bool installed_ = false;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zrv::platform
