#pragma once
// Helpers of the configuration tests: temporary folders, file contents, documents.

#include <json/json.h>
#include <sys/resource.h>

#include <csignal>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <string>

namespace zrv::config::test {

// The whole content of a file; empty when it cannot be read.
QByteArray FileBytes(const QString& path);
// Writes raw bytes (no layout), creating the file.
void PutFile(const QString& path, const QByteArray& bytes);
// The bytes that our JSON writer produces for `document`.
QByteArray JsonBytes(const Json::Value& document);
// Parses a JSON text literal (test input written by hand); fails the test when it does not parse.
Json::Value Doc(const std::string& text);

// Files beyond `bytes` cannot be written while it lives (RLIMIT_FSIZE, which binds root as
// well): a "full disk" for write failures.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails with EFBIG instead
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previous_ = SIG_DFL;
};

}  // namespace zrv::config::test
