#include "config/json_file.h"
#include "platform/qt/settings_store.h"
#include "update/update_check.h"
#include "update/update_time.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>

namespace zrv::update {
namespace {

Json::Value ParseJson(const char* text) { return config::ParseJson(QByteArray(text)); }

TEST(UpdateFiles, LastCheckDateIsWrittenOnceAndThenKept) {
  QTemporaryDir dir;
  const QString file = UpdateTimeFile(dir.path());
  EXPECT_FALSE(ReadLastCheckDate(file));
  EXPECT_EQ(LastCheckDateOrToday(file, QDate(2024, 3, 7)), "2024-3-7");
  EXPECT_EQ(LastCheckDateOrToday(file, QDate(2025, 12, 31)), "2024-3-7");
  ASSERT_TRUE(WriteLastCheckDate(file, QDate(2025, 12, 31)));
  EXPECT_EQ(ReadLastCheckDate(file), "2025-12-31");
}

// The members as they stand in the file; other members are kept, a date that is no text is none.
TEST(UpdateFiles, LastCheckDateMembersOnDisk) {
  QTemporaryDir dir;
  const QString file = UpdateTimeFile(dir.path());
  ASSERT_TRUE(config::WriteJsonFile(file, ParseJson(R"({"updatelasttime": {"value": 7, "x": 1}, "other": 2})")));
  EXPECT_FALSE(ReadLastCheckDate(file));
  ASSERT_TRUE(WriteLastCheckDate(file, QDate(2024, 3, 7)));
  EXPECT_EQ(config::ReadJsonFile(file), ParseJson(R"({"updatelasttime": {"value": "2024-3-7", "x": 1}, "other": 2})"));
}

TEST(UpdateFiles, ServerAddressFromEnvironmentOrSetting) {
  QTemporaryDir dir;
  platform::SettingsStore store(dir.filePath("settings.ini"));
  unsetenv("ZRV31_UPDATE_URL");
  EXPECT_EQ(UpdateServerAddress(store), "");  // nothing set: nothing is asked
  ASSERT_TRUE(store.Create());
  ASSERT_TRUE(store.WriteText("UpdateServer", "https://updates.example/"));
  EXPECT_EQ(UpdateServerAddress(store), "https://updates.example");
  setenv("ZRV31_UPDATE_URL", "https://127.0.0.1:8443", 1);
  EXPECT_EQ(UpdateServerAddress(store), "https://127.0.0.1:8443");
  setenv("ZRV31_UPDATE_URL", "file:///etc", 1);
  EXPECT_EQ(UpdateServerAddress(store), "");
  unsetenv("ZRV31_UPDATE_URL");
}

}  // namespace
}  // namespace zrv::update
