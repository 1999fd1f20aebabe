#include "platform/qt/settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace zrv::platform {
namespace {

TEST(SettingsStore, MissingStoreReadsNothingAndRefusesWrites) {
  QTemporaryDir dir;
  SettingsStore store(dir.filePath("nested/ZRV/settings.ini"));
  EXPECT_FALSE(store.Exists());
  EXPECT_FALSE(store.ReadNumber("LANGUAGE").has_value());
  EXPECT_FALSE(store.WriteNumber("LANGUAGE", 2052));
  EXPECT_FALSE(store.Exists()) << "a write must not create the store";
}

TEST(SettingsStore, CreatedStoreKeepsNumbersAndTexts) {
  QTemporaryDir dir;
  SettingsStore store(dir.filePath("nested/ZRV/settings.ini"));
  ASSERT_TRUE(store.Create());
  EXPECT_TRUE(store.Exists());
  EXPECT_FALSE(store.ReadNumber("LANGUAGE").has_value()) << "key exists, value does not";
  EXPECT_TRUE(store.WriteNumber("LANGUAGE", 0xFFFFFFFFu));
  EXPECT_TRUE(store.WriteText("Uninstall/DisplayVersion", "1.0.3"));

  SettingsStore again(store.file());
  EXPECT_EQ(again.ReadNumber("LANGUAGE"), 0xFFFFFFFFu);
  EXPECT_EQ(again.ReadText("Uninstall/DisplayVersion"), QString("1.0.3"));
  EXPECT_TRUE(again.Create()) << "an existing store is kept";
  EXPECT_EQ(again.ReadNumber("LANGUAGE"), 0xFFFFFFFFu);
}

TEST(SettingsStore, ValuesThatAreNoNumbersReadAsMissing) {
  QTemporaryDir dir;
  QString path = dir.filePath("settings.ini");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[General]\nLANGUAGE=english\nBIG=99999999999\nHEX=0x208\n");
  file.close();
  SettingsStore store(path);
  EXPECT_FALSE(store.ReadNumber("LANGUAGE").has_value());
  EXPECT_FALSE(store.ReadNumber("BIG").has_value());
  EXPECT_EQ(store.ReadNumber("HEX"), 520u);
}

}  // namespace
}  // namespace zrv::platform
