#include "platform/folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace zrv::platform {
namespace {

namespace fs = std::filesystem;

class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "HOME", "TMPDIR", "ZRV31_PROGRAM_DIR"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
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
}

TEST_F(FoldersTest, ProgramAndTemporaryFolders) {
  setenv("ZRV31_PROGRAM_DIR", "/opt/zrv", 1);
  EXPECT_EQ(ProgramDir(), fs::path("/opt/zrv"));
  unsetenv("TMPDIR");
  EXPECT_EQ(TempDir(), fs::path("/tmp"));
  setenv("TMPDIR", "/var/tmp", 1);
  EXPECT_EQ(TempDir(), fs::path("/var/tmp"));
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
