#pragma once
// A file that is being written: it lives under a temporary name in its target's folder and takes
// the target's place only on Commit(). Destroyed uncommitted, it leaves nothing behind.

#include <filesystem>
#include <string>

namespace zrv::update {

class PartialFile {
 public:
  explicit PartialFile(std::filesystem::path target);
  ~PartialFile();
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;

  // False when the temporary file could not be created; error() tells why.
  bool ok() const { return fd_ >= 0; }
  int error() const { return error_; }

  bool Write(const char* data, size_t size);
  // Closes the file and renames it onto the target; false (and nothing left) on failure.
  bool Commit();

 private:
  void Discard();

  std::filesystem::path target_;
  std::string temp_;
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace zrv::update
