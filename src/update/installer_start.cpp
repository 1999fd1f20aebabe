#include "update/installer_start.h"

#include "platform/debug_output.h"
#include "platform/folders.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace zrv::update {
namespace {

// The first bytes of an ELF header that say for which machine it is: ident, type, machine.
struct ElfStart {
  unsigned char ident[EI_NIDENT];
  std::uint16_t type;
  std::uint16_t machine;
};

bool ReadStart(const char* path, ElfStart* start, size_t* size) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  ssize_t got = read(fd, start, sizeof *start);
  close(fd);
  if (got < 0) return false;
  *size = static_cast<size_t>(got);
  return true;
}

bool SameMachine(const ElfStart& file, size_t size) {
  static const auto own = [] {
    ElfStart start{};
    size_t size = 0;
    if (!ReadStart("/proc/self/exe", &start, &size) || size < sizeof start) start = ElfStart{};
    return start;
  }();
  return size >= sizeof file && own.ident[EI_MAG0] == ELFMAG0 && file.ident[EI_CLASS] == own.ident[EI_CLASS] &&
         file.ident[EI_DATA] == own.ident[EI_DATA] && file.machine == own.machine;
}

// The installer in a grandchild that belongs to a session of its own, so that nobody has to wait
// for it; a pipe closed on exec tells whether the start worked.
bool SpawnDetached(const std::string& path) {
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  pid_t child = fork();
  if (child == 0) {
    // Only async-signal-safe calls from here on: other threads may hold locks.
    close(pipe_fds[0]);
    setsid();
    pid_t grandchild = fork();
    if (grandchild == 0) {
      int null = open("/dev/null", O_RDONLY);
      if (null > 0) {
        dup2(null, 0);
        close(null);
      }
      execv(path.c_str(), argv);
    } else if (grandchild > 0) {
      _exit(0);
    }
    int error = errno;
    if (write(pipe_fds[1], &error, sizeof error) < 0) _exit(126);
    _exit(127);
  }
  close(pipe_fds[1]);
  int error = 0;
  ssize_t got = -1;
  if (child > 0) {
    do got = read(pipe_fds[0], &error, sizeof error);
    while (got < 0 && errno == EINTR);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {}
  } else {
    error = errno;
  }
  close(pipe_fds[0]);
  if (got == 0) return true;  // closed by exec
  platform::DebugPrintf("installer %s not started: %s", path.c_str(), std::strerror(error));
  return false;
}

}  // namespace

ExecutableKind ExecutableKindOf(const std::filesystem::path& path) {
  ElfStart start{};
  size_t size = 0;
  if (!ReadStart(path.c_str(), &start, &size)) return ExecutableKind::kNone;
  if (size >= 2 && start.ident[0] == '#' && start.ident[1] == '!') return ExecutableKind::kScript;
  if (size >= SELFMAG && std::memcmp(start.ident, ELFMAG, SELFMAG) == 0 && SameMachine(start, size)) {
    return ExecutableKind::kElf;
  }
  return ExecutableKind::kNone;
}

bool StartInstaller(const std::filesystem::path& file, int device_id, const DesktopOpen& open_with_desktop) {
  const platform::DownloadDirState state = platform::CheckDownloadDir(file.parent_path(), geteuid());
  if (state != platform::DownloadDirState::kUsable) {
    platform::DebugPrintf("installer refused: %s: %s", file.parent_path().c_str(),
                          platform::DownloadDirStateText(state));
    return false;
  }
  struct stat info {};
  if (lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
      (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    platform::DebugPrintf("installer refused: %s is not a file of this user", file.c_str());
    return false;
  }
  if (device_id == kDesktopOpenedDevice) return open_with_desktop && open_with_desktop(file);
  if (ExecutableKindOf(file) == ExecutableKind::kNone) {
    platform::DebugPrintf("installer refused: %s is no program of this machine", file.c_str());
    return false;
  }
  // Downloads are written 0600; the installer needs its execute bit.
  if (chmod(file.c_str(), S_IRWXU) != 0) return false;
  return SpawnDetached(file.string());
}

}  // namespace zrv::update
