#include "app/memory_font.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>

#include "platform/debug_output.h"

namespace zrv::app {
namespace {

// A free font of the system stands in for the six private fonts.
QString SomeSystemFont() {
  for (const char* path :
       {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "/usr/share/fonts/opentype/inter/Inter-Regular.otf",
        "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"}) {
    if (QFile::exists(QString::fromLatin1(path))) return QString::fromLatin1(path);
  }
  return QString();
}

TEST(PrivateFonts, MissingFontFolderLoadsNothingAndSaysNothing) {
  QTemporaryDir program;
  platform::DebugCapture capture;
  {
    PrivateFonts fonts(program.path());
    EXPECT_EQ(fonts.LoadAll(), 0);
    for (std::size_t i = 0; i < PrivateFonts::kFiles.size(); ++i) EXPECT_FALSE(fonts.font(i).IsLoaded());
  }
  EXPECT_TRUE(capture.Lines().empty()) << "a font that cannot be loaded is not reported";
}

TEST(PrivateFonts, LoadedInTableOrderAndReleasedInReverse) {
  const QString source = SomeSystemFont();
  if (source.isEmpty()) GTEST_SKIP() << "no font file on this system";
  QTemporaryDir program;
  ASSERT_TRUE(QDir(program.path()).mkdir("Font"));
  // All but the third: a gap in the table must not stop the rest.
  for (std::size_t i = 0; i < PrivateFonts::kFiles.size(); ++i) {
    if (i == 2) continue;
    ASSERT_TRUE(QFile::copy(source, QDir(program.path()).filePath(PrivateFonts::kFiles[i])));
  }
  // An empty or broken file is skipped like a missing one.
  QFile broken(QDir(program.path()).filePath(PrivateFonts::kFiles[2]));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a font");
  broken.close();

  platform::DebugCapture capture;
  const int families_before = QFontDatabase::families().size();
  {
    PrivateFonts fonts(program.path());
    EXPECT_EQ(fonts.LoadAll(), 5);
    EXPECT_FALSE(fonts.font(2).IsLoaded());
    EXPECT_FALSE(fonts.font(0).Families().isEmpty());
  }
  EXPECT_EQ(QFontDatabase::families().size(), families_before);

  std::vector<std::string> loaded, released;
  for (const std::string& line : capture.Lines()) {
    if (line.rfind("font loaded: ", 0) == 0) loaded.push_back(line.substr(13));
    if (line.rfind("font released: ", 0) == 0) released.push_back(line.substr(15));
  }
  const std::vector<std::string> expected_loaded = {PrivateFonts::kFiles[0], PrivateFonts::kFiles[1],
                                                    PrivateFonts::kFiles[3], PrivateFonts::kFiles[4],
                                                    PrivateFonts::kFiles[5]};
  EXPECT_EQ(loaded, expected_loaded);
  EXPECT_EQ(released, std::vector<std::string>(expected_loaded.rbegin(), expected_loaded.rend()));
}

}  // namespace
}  // namespace zrv::app
