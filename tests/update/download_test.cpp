#include "update/http_client.h"

#include "update/server_test.h"

#include <curl/curl.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <utility>
#include <vector>

namespace zrv::update::testing {
namespace {

namespace fs = std::filesystem;

class DownloadTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    std::string pattern = (fs::temp_directory_path() / "zrv-download-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    return names;
  }
  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
};

TEST_F(DownloadTest, CompleteDownloadReportsProgressAndTakesItsPlace) {
  std::string bytes(3 << 20, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
  server().SetFile("setup.bin", bytes);
  HttpClient client(TrustingSettings());
  using Report = std::pair<std::int64_t, std::int64_t>;
  const auto size = static_cast<std::int64_t>(bytes.size());
  std::vector<Report> reports;
  auto record = [&](std::int64_t total, std::int64_t received) { reports.emplace_back(total, received); };

  ASSERT_EQ(client.Download(server().Url("/redirect?to=/files/setup.bin"), dir_ / "setup.bin", record),
            DownloadResult::kComplete)
      << client.LastErrorText();
  EXPECT_TRUE(Read(dir_ / "setup.bin") == bytes);
  EXPECT_EQ(Entries(), std::vector<std::string>{"setup.bin"});
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), Report(size, size));
  for (size_t i = 0; i < reports.size(); ++i) {
    EXPECT_EQ(reports[i].first, size);
    if (i > 0) {
      EXPECT_GE(reports[i].second, reports[i - 1].second);
    }
  }

  // Without an announced size the download still completes; progress shows bytes only.
  reports.clear();
  ASSERT_EQ(client.Download(server().Url("/unsized/5000"), dir_ / "unsized", record), DownloadResult::kComplete);
  EXPECT_EQ(fs::file_size(dir_ / "unsized"), 5000u);
  EXPECT_EQ(reports.back(), Report(0, 5000));
}

TEST_F(DownloadTest, CutOffOversizeOrRefusedDownloadsLeaveNothingBehind) {
  server().SetFile("large.bin", std::string(100000, 'L'));
  std::ofstream(dir_ / "target") << "old";
  HttpSettings settings = TrustingSettings();
  settings.max_download_bytes = 50000;
  HttpClient client(settings);
  const std::pair<const char*, int> cases[] = {
      {"/cut/20000", CURLE_PARTIAL_FILE},             // the server ends before its announced size
      {"/unsized/60000", CURLE_FILESIZE_EXCEEDED},    // grows beyond the limit without a size
      {"/files/large.bin", CURLE_FILESIZE_EXCEEDED},  // announces more than the limit
      {"/missing", CURLE_HTTP_RETURNED_ERROR},        // a 404 page is no installer
  };
  for (const auto& [path, error] : cases) {
    EXPECT_EQ(client.Download(server().Url(path), dir_ / "target", {}), DownloadResult::kFailed) << path;
    EXPECT_EQ(client.LastError(), error) << path << ": " << client.LastErrorText();
    EXPECT_EQ(Entries(), std::vector<std::string>{"target"}) << path;
    EXPECT_EQ(Read(dir_ / "target"), "old") << path;
  }
}

TEST_F(DownloadTest, StopEndsADownloadFromASilentServer) {
  TransferStop stop;
  HttpClient client(TrustingSettings(), &stop);  // 30 s receive time-out
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stop.Stop();
  });
  EXPECT_EQ(client.Download(server().Url("/stall"), dir_ / "target", {}), DownloadResult::kStopped);
  stopper.join();
  EXPECT_TRUE(Entries().empty());
  // Until it is reset, the switch stops new transfers before they start.
  EXPECT_EQ(client.Download(server().Url("/unsized/10"), dir_ / "target", {}), DownloadResult::kStopped);
  stop.Reset();
  EXPECT_EQ(client.Download(server().Url("/unsized/10"), dir_ / "target", {}), DownloadResult::kComplete);
}

}  // namespace
}  // namespace zrv::update::testing
