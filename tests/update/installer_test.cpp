#include "platform/folders.h"
#include "update/installer_file.h"
#include "update/installer_start.h"
#include "update/update_info.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace zrv::update {
namespace {

namespace fs = std::filesystem;

bool IsPrivate(const fs::path& dir) {
  return platform::CheckDownloadDir(dir, geteuid()) == platform::DownloadDirState::kUsable;
}

TEST(InstallerFile, NamesFromTheServerAreMadeSafe) {
  EXPECT_EQ(SafeFileName("../../etc/passwd"), "etcpasswd");
  EXPECT_EQ(SafeFileName("Mouse\x01\n fw"), "Mouse fw");
  EXPECT_EQ(SafeFileName(".hidden"), "hidden");
  EXPECT_EQ(SafeFileName("."), "update");
  EXPECT_EQ(SafeFileName(".\x02."), "update");
  std::string accents;
  for (int i = 0; i < 80; ++i) accents += "\xC3\xA9";  // é, two bytes each
  EXPECT_EQ(SafeFileName(accents), accents.substr(0, kMaxFileNameBytes));
  EXPECT_EQ(SafeFileName("x" + accents).size(), kMaxFileNameBytes - 1);  // never half a character

  EXPECT_EQ(ServedExtension("https://h/dl/setup-2.1.sh?name=a.exe"), ".sh");
  EXPECT_EQ(ServedExtension("https://h/dl.d/setup"), "");
  EXPECT_EQ(ServedExtension("https://h/dl/setup.s h"), "");
  EXPECT_EQ(InstallerFile("/dl", "../AP", "https://h/x/fw.BIN"), fs::path("/dl/AP.BIN"));
}

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zrv-install-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // A file as downloads are written: mode 0600.
  fs::path Write(const std::string& name, const std::string& text) const {
    fs::path file = dir_ / name;
    std::ofstream(file, std::ios::binary) << text;
    chmod(file.c_str(), 0600);
    return file;
  }

  fs::path dir_;
};

TEST_F(InstallerTest, ScriptRunsDetachedInASessionOfItsOwn) {
  fs::path report = dir_ / "report";
  fs::path script = Write("setup.sh", "#!/bin/sh\nset -- $(cat /proc/$$/stat)\necho \"$1 $6\" > '" + report.string() +
                                          ".tmp'\nmv '" + report.string() + ".tmp' '" + report.string() + "'\n");
  ASSERT_TRUE(StartInstaller(script, 0, {}));
  for (int i = 0; i < 200 && !fs::exists(report); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::ifstream in(report);
  pid_t pid = 0, session = 0;
  ASSERT_TRUE(in >> pid >> session) << "the script did not run";
  EXPECT_NE(pid, 0);
  EXPECT_NE(session, getsid(0));
}

TEST_F(InstallerTest, OnlyProgramsOfThisMachineFromAPrivateFolderAreStarted) {
  EXPECT_EQ(ExecutableKindOf("/proc/self/exe"), ExecutableKind::kElf);
  std::ifstream self("/proc/self/exe", std::ios::binary);
  std::string elf(64, '\0');
  self.read(elf.data(), 64);
  elf[18] = static_cast<char>(elf[18] ^ 0x55);  // another machine
  EXPECT_EQ(ExecutableKindOf(Write("other-arch", elf)), ExecutableKind::kNone);
  EXPECT_FALSE(StartInstaller(Write("readme.txt", "just text"), 0, {}));

  // Device id 1: the desktop's handler gets the file.
  fs::path document = Write("manual.pdf", "%PDF");
  fs::path opened;
  EXPECT_TRUE(StartInstaller(document, 1, [&](const fs::path& file) {
    opened = file;
    return true;
  }));
  EXPECT_EQ(opened, document);
  EXPECT_FALSE(StartInstaller(document, 1, {}));

  fs::path script = Write("setup.sh", "#!/bin/sh\ntouch '" + (dir_ / "ran").string() + "'\n");
  chmod(script.c_str(), 0620);  // group-writable file
  EXPECT_FALSE(StartInstaller(script, 0, {}));
  chmod(script.c_str(), 0600);
  chmod(dir_.c_str(), 0777);  // a folder others can write
  EXPECT_FALSE(IsPrivate(dir_));
  EXPECT_FALSE(StartInstaller(script, 0, {}));
  HttpClient client;
  EXPECT_EQ(DownloadInstaller(client, "https://127.0.0.1:1/setup.sh", dir_ / "new.sh", {}), kStatusFailed);
  EXPECT_EQ(client.LastError(), 0);  // refused before any request
  chmod(dir_.c_str(), 0700);
  EXPECT_TRUE(IsPrivate(dir_));
  fs::create_directory_symlink(dir_, dir_.string() + "-link");
  EXPECT_FALSE(IsPrivate(dir_.string() + "-link"));
  fs::remove(dir_.string() + "-link");
  EXPECT_FALSE(fs::exists(dir_ / "ran"));
  EXPECT_FALSE(fs::exists(dir_ / "new.sh"));
}

}  // namespace
}  // namespace zrv::update
