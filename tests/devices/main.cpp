// Widget tests need a QApplication before any test runs. They run on the offscreen platform, also
// when CTest lists them at build time (it passes no environment then). Device pages make their
// profile lists when they are built: the user data folder is a private one, and the profile
// templates come from the source tree, unless a test sets its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
  if (qEnvironmentVariableIsEmpty("ZRV31_PROGRAM_DIR")) qputenv("ZRV31_PROGRAM_DIR", ZRV31_SOURCE_DIR);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
