#include "update/update_check.h"

#include "update/app_version.h"
#include "update/server_test.h"
#include "update/update_flow.h"
#include "update/update_target.h"

#include <string>
#include <vector>

namespace zrv::update::testing {
namespace {

using UpdateCheckTest = ServerTest;

std::string Answer(const std::string& version, const std::string& version_name, int device_id = 0) {
  return R"({"path":"https://example.invalid/dl/setup.sh","name":"From server","version_name":")" + version_name +
         R"(","version":")" + version + R"(","device_id":)" + std::to_string(device_id) + "}";
}

const UpdateTarget& Mouse() { return UpdateTargetTable()[0]; }
const UpdateTarget& Program() { return UpdateTargetTable()[3]; }

TEST(UpdateTargets, KeysAndVersions) {
  UpdateTarget mouse = Mouse();
  EXPECT_EQ(MakeAppKey(mouse), "NULL");
  mouse.current_version = 0x123;
  EXPECT_EQ(MakeAppKey(mouse), "ZRV31_1_MOUSE_M31_1");
  EXPECT_EQ(Program().target_code, "ALL");
  EXPECT_EQ(Program().label, "AP");
  EXPECT_EQ(VersionNumberFromText("1.0.3"), 103);
  EXPECT_EQ(VersionNumberFromText("2.3.0.2"), 2302);
  EXPECT_EQ(VersionNumberFromText("1.0.3-rc1"), 0);
  EXPECT_EQ(VersionNumberFromText("-1"), 0);
  EXPECT_EQ(UpdateRequestBody("K", 0x123, true), std::string("app_key=K&version=123\0", 22));
  EXPECT_EQ(UpdateRequestBody("K", 2302, false), std::string("app_key=K&version=2302\0", 23));
}

TEST_F(UpdateCheckTest, DeviceAndProgramAnswersWithTheirVersionTexts) {
  HttpClient client(TrustingSettings());
  const std::string base = server().Url("");

  // A device: versions are hexadecimal, shown with four digits.
  server().SetAnswer("ZRV31_1_MOUSE_M31_1", Answer("0124", "Mouse 1.24", 0));
  UpdateInfo info = CheckForUpdate(client, base, "ZRV31_1_MOUSE_M31_1", 0x0123, true);
  EXPECT_EQ(info.status, kStatusNewer);
  EXPECT_EQ(info.name, "From server");
  EXPECT_EQ(info.current_version_text, "V0123");
  EXPECT_EQ(info.new_version_text, "V0124");
  EXPECT_EQ(info.path, "https://example.invalid/dl/setup.sh");
  std::string request = server().LastRequest();
  EXPECT_EQ(request.substr(request.find("\n\n") + 2), std::string("app_key=ZRV31_1_MOUSE_M31_1&version=123\0", 40));
  server().SetAnswer("ZRV31_1_MOUSE_M31_1", Answer("123", "Mouse 1.23"));
  EXPECT_EQ(CheckForUpdate(client, base, "ZRV31_1_MOUSE_M31_1", 0x0123, true).status, kStatusUpToDate);

  // The program: decimal versions; the new version text is the version name.
  server().SetAnswer("APP", Answer("2303", "2.3.0.3", 1));
  info = CheckForUpdate(client, base, "APP", 2302, false);
  EXPECT_EQ(info.status, kStatusNewer);
  EXPECT_EQ(info.device_id, 1);
  EXPECT_EQ(info.current_version_text, "V2302");
  EXPECT_EQ(info.new_version_text, "2.3.0.3");
  request = server().LastRequest();
  EXPECT_NE(request.find("app_key=APP&version=2302"), std::string::npos);
  server().SetAnswer("APP", Answer("0400", "0.4.0"));  // an older program
  EXPECT_EQ(CheckForUpdate(client, base, "APP", 2302, false).status, kStatusUpToDate);
}

TEST_F(UpdateCheckTest, WhatIsNoUpdateAnswerFailsTheCheck) {
  HttpClient client(TrustingSettings());
  const std::string base = server().Url("");
  const std::string bad[] = {
      "<html>busy</html>",
      "[1, 2]",
      R"({"version":"12x"})",
      R"({"version":"xyz"})",
      R"({"version":{"major":1}})",
      R"({"version":"1","name":5})",
      R"({"version":"1","device_id":"one"})",
      R"({"version":"1","pad":")" + std::string(200000, ' ') + R"("})",  // beyond the answer buffer
  };
  for (const auto& body : bad) {
    server().SetAnswer("BAD", body);
    UpdateInfo info = CheckForUpdate(client, base, "BAD", 1, false);
    EXPECT_EQ(info.name, "") << body.substr(0, 40);
    EXPECT_EQ(info.status, kStatusUnknown) << body.substr(0, 40);
  }
  // No answer for the key: the 404 page is no update answer either.
  EXPECT_EQ(CheckForUpdate(client, base, "UNKNOWN", 1, false).name, "");
  EXPECT_EQ(CheckForUpdate(client, "", "APP", 1, false).name, kNoLinkServer);
  EXPECT_EQ(CheckForUpdate(client, ClosedAddress(), "APP", 1, false).name, kNoLinkServer);
}

TEST_F(UpdateCheckTest, BackgroundAndListChecksOverTheWorkingCopy) {
  HttpClient client(TrustingSettings());
  const std::string base = server().Url("");
  const int devices[] = {0x0123, 0, 0x0200, 0x0999};  // mouse, keyboard (absent), mouse pad, headset
  std::vector<UpdateTarget> working_copy = RefreshTargets(devices);
  ASSERT_EQ(working_copy.back().current_version, InstalledAppVersion());
  std::vector<UpdateTarget> targets = TargetsToCheck(working_copy);
  ASSERT_EQ(targets.size(), 3u);  // mouse, mouse pad, program

  server().SetAnswer("ZRV31_1_MOUSE_M31_1", Answer("0124", "Mouse 1.24"));
  server().SetAnswer("ZRV31_0_ALL_APP_1", Answer(std::to_string(InstalledAppVersion()), "same"));
  // The mouse pad gets no answer (404).
  EXPECT_TRUE(FindNewerVersion(client, base, working_copy));
  EXPECT_FALSE(FindNewerVersion(client, ClosedAddress(), working_copy));

  std::vector<size_t> heard;
  ListCheck check =
      CheckListedTargets(client, base, targets, "/downloads", [&](size_t i, const UpdateInfo&) { heard.push_back(i); });
  EXPECT_EQ(heard, (std::vector<size_t>{0, 1, 2}));
  ASSERT_EQ(check.rows.size(), 3u);
  EXPECT_EQ(check.rows[0].status, kStatusNewer);
  EXPECT_EQ(check.rows[0].name, "Mouse");
  EXPECT_EQ(check.rows[0].file, "/downloads/Mouse.sh");
  EXPECT_EQ(check.rows[1].status, kStatusUnknown);
  EXPECT_EQ(check.rows[1].name, "Mouse pad");
  EXPECT_EQ(check.rows[1].current_version_text, "V0200");
  EXPECT_EQ(check.rows[2].status, kStatusUpToDate);
  EXPECT_EQ(check.rows[2].name, "AP");
  EXPECT_EQ(check.rows[2].new_version_text, "");
  EXPECT_EQ(check.page_status, kPageUpdatable);

  EXPECT_EQ(CheckListedTargets(client, ClosedAddress(), targets, "/downloads", {}).page_status, kPageNoAnswer);
  server().SetAnswer("ZRV31_1_MOUSE_M31_1", Answer("0123", "Mouse 1.23"));
  EXPECT_EQ(CheckListedTargets(client, base, targets, "/downloads", {}).page_status, kPageUpToDate);
}

}  // namespace
}  // namespace zrv::update::testing
