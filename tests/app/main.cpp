// The application tests need a QApplication and the skin of the source tree.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/start_up.h"

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment: never ask for a display then.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Windows and device pages write per-user files: never into the real home of whoever runs us.
  QTemporaryDir home;
  qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  QString error;
  if (!zrv::app::SetUpResources(QStringLiteral(ZRV31_SOURCE_DIR), &error)) {
    fprintf(stderr, "skin: %s\n", qPrintable(error));
    return 1;
  }
  return RUN_ALL_TESTS();
}
