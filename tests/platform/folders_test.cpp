#include "platform/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace zrv::platform {
namespace {

namespace fs = std::filesystem;

class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "HOME", "TMPDIR", "ZRV31_PROGRAM_DIR"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(FoldersTest, XdgFoldersAndTheirFallbacks) {
  setenv("HOME", "/home/player", 1);
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(UserDataDir(), fs::path("/home/player/.local/share/ZRV-31 Gaming Keyboard"));
  EXPECT_EQ(ConfigDir(), fs::path("/home/player/.config/ZRV-31 Gaming Keyboard"));
  setenv("XDG_DATA_HOME", "/data", 1);
  setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
  EXPECT_EQ(UserDataDir(), fs::path("/data/ZRV-31 Gaming Keyboard"));
  EXPECT_EQ(ConfigDir(), fs::path("/home/player/.config/ZRV-31 Gaming Keyboard"));
  // Downloads stay out of the shared temporary folder.
  unsetenv("XDG_CACHE_HOME");
  setenv("TMPDIR", "/tmp", 1);
  EXPECT_EQ(UpdateDownloadDir(), fs::path("/home/player/.cache/ZRV-31 Gaming Keyboard/UpdateData"));
  setenv("XDG_CACHE_HOME", "/cache", 1);
  EXPECT_EQ(UpdateDownloadDir(), fs::path("/cache/ZRV-31 Gaming Keyboard/UpdateData"));
}

TEST_F(FoldersTest, ProgramAndTemporaryFolders) {
  setenv("ZRV31_PROGRAM_DIR", "/opt/zrv", 1);
  EXPECT_EQ(ProgramDir(), fs::path("/opt/zrv"));
  unsetenv("TMPDIR");
  EXPECT_EQ(TempDir(), fs::path("/tmp"));
  setenv("TMPDIR", "/var/tmp", 1);
  EXPECT_EQ(TempDir(), fs::path("/var/tmp"));
}

// A scratch folder of the test's own, removed at the end.
class ScratchTest : public FoldersTest {
 protected:
  void SetUp() override {
    FoldersTest::SetUp();
    root_ = fs::temp_directory_path() / ("zrv-folders-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
    fs::permissions(root_, fs::perms::owner_all);
  }
  void TearDown() override {
    fs::remove_all(root_);
    FoldersTest::TearDown();
  }
  static mode_t Mode(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
  }
  fs::path root_;
};

// Beside the program (the build links skin/ and DefaultData/ there), else the installed layout;
// never a folder further up.
TEST_F(ScratchTest, TheProgramFolderIsBesideTheProgramOrTheInstalledOne) {
  fs::create_directories(root_ / "build" / "src" / "app" / "skin");
  EXPECT_EQ(ProgramDirOf(root_ / "build" / "src" / "app"), root_ / "build" / "src" / "app");
  fs::create_directories(root_ / "tool" / "DefaultData");
  EXPECT_EQ(ProgramDirOf(root_ / "tool"), root_ / "tool");

  fs::create_directories(root_ / "usr" / "bin");
  fs::create_directories(root_ / "usr" / "skin");  // a stray skin above the program
  fs::create_directories(root_ / "skin");
  EXPECT_EQ(ProgramDirOf(root_ / "usr" / "bin"), root_ / "usr" / "share" / "zrv31");
}

TEST_F(ScratchTest, AMissingDownloadFolderIsMadeForTheUserAlone) {
  const mode_t umask = ::umask(0);  // the modes must not depend on it
  const fs::path dir = root_ / "cache" / "ZRV-31 Gaming Keyboard" / "UpdateData";
  const DownloadDirState state = PrepareDownloadDir(dir, ::geteuid());
  ::umask(umask);
  EXPECT_EQ(state, DownloadDirState::kUsable);
  EXPECT_EQ(Mode(dir), 0700u);
  EXPECT_EQ(Mode(dir.parent_path()), 0700u);
  EXPECT_EQ(PrepareDownloadDir(dir, ::geteuid()), DownloadDirState::kUsable) << "an existing one is reused";
  fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                           fs::perms::others_exec);
  EXPECT_EQ(PrepareDownloadDir(dir, ::geteuid()), DownloadDirState::kUsable) << "others may read, not write";

  setenv("XDG_CACHE_HOME", (root_ / "cache").c_str(), 1);
  EXPECT_EQ(PrepareUpdateDownloadDir(), DownloadDirState::kUsable);
}

// Every folder another user could have planted, or could change, is refused.
TEST_F(ScratchTest, ADownloadFolderThatIsNotTheUsersOwnIsRefused) {
  const fs::path holder = root_ / "ZRV-31 Gaming Keyboard";
  const fs::path dir = holder / "UpdateData";
  const uid_t user = ::geteuid();
  ASSERT_EQ(PrepareDownloadDir(dir, user), DownloadDirState::kUsable);

  EXPECT_EQ(PrepareDownloadDir(dir, user + 1), DownloadDirState::kForeignOwner);
  fs::permissions(dir, fs::perms::group_write, fs::perm_options::add);
  EXPECT_EQ(PrepareDownloadDir(dir, user), DownloadDirState::kWritableByOthers);
  fs::permissions(dir, fs::perms::owner_all);
  fs::permissions(dir, fs::perms::others_write, fs::perm_options::add);
  EXPECT_EQ(PrepareDownloadDir(dir, user), DownloadDirState::kWritableByOthers);
  fs::permissions(dir, fs::perms::owner_all);

  // The folder holding it: whoever may write it can swap the download folder.
  fs::permissions(holder, fs::perms::all);
  EXPECT_EQ(PrepareDownloadDir(dir, user), DownloadDirState::kWritableByOthers);
  fs::permissions(holder, fs::perms::owner_all);
  if (user == 0) {
    ASSERT_EQ(::chown(holder.c_str(), 65534, 65534), 0);
    EXPECT_EQ(PrepareDownloadDir(dir, user), DownloadDirState::kForeignOwner);
    ASSERT_EQ(::chown(holder.c_str(), 0, 0), 0);
  }

  fs::remove(dir);
  fs::create_directories(root_ / "elsewhere");
  fs::permissions(root_ / "elsewhere", fs::perms::owner_all);
  fs::create_directory_symlink(root_ / "elsewhere", dir);
  EXPECT_EQ(PrepareDownloadDir(dir, user), DownloadDirState::kSymbolicLink);
  fs::remove(dir);
  fs::create_directory_symlink(root_ / "nowhere", dir);
  EXPECT_EQ(PrepareDownloadDir(dir, user), DownloadDirState::kSymbolicLink) << "a dangling link is not followed";
  EXPECT_FALSE(fs::exists(root_ / "nowhere"));
  fs::remove(dir);
  std::ofstream(dir) << "x";
  EXPECT_EQ(PrepareDownloadDir(dir, user), DownloadDirState::kNotADirectory);
  EXPECT_EQ(PrepareDownloadDir(dir / "below", user), DownloadDirState::kNotCreated);
}

TEST_F(FoldersTest, EnsureDirCreatesEveryLevel) {
  fs::path root = fs::temp_directory_path() / ("zrv-folders-" + std::to_string(::getpid()));
  fs::remove_all(root);
  EXPECT_TRUE(EnsureDir(root / "a" / "b"));
  EXPECT_TRUE(fs::is_directory(root / "a" / "b"));
  EXPECT_TRUE(EnsureDir(root / "a" / "b"));  // already there
  fs::remove_all(root);
}

}  // namespace
}  // namespace zrv::platform
