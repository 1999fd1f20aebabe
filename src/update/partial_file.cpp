#include "update/partial_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace zrv::update {

PartialFile::PartialFile(std::filesystem::path target) : target_(std::move(target)) {
  // A name of our own, not derived from the target, so a long target name cannot overflow it.
  temp_ = (target_.parent_path() / ".download-XXXXXX").string();
  fd_ = mkostemp(temp_.data(), O_CLOEXEC);  // mode 0600
  if (fd_ < 0) error_ = errno;
}

PartialFile::~PartialFile() { Discard(); }

void PartialFile::Discard() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
  unlink(temp_.c_str());
}

bool PartialFile::Write(const char* data, size_t size) {
  while (size > 0 && fd_ >= 0) {
    ssize_t written = write(fd_, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return fd_ >= 0;
}

bool PartialFile::Commit() {
  if (fd_ < 0) return false;
  int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0 || std::rename(temp_.c_str(), target_.c_str()) != 0) {
    error_ = errno;
    unlink(temp_.c_str());
    return false;
  }
  return true;
}

}  // namespace zrv::update
