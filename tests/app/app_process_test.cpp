// The real program as a process: start-up, the orderly end on signals, the single instance.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include "app_process.h"

namespace zrv::app {
namespace {

using testing::AppProcess;

const QString kSource = QStringLiteral(ZRV31_SOURCE_DIR);

TEST(AppProcess, SigtermEndsTheProgramInOrderWithStatusZero) {
  AppProcess app;
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.WaitForLine("window shown")) << app.lines().join('\n').toStdString();
  app.Signal(SIGTERM);
  EXPECT_EQ(app.WaitForExit(), 0);
  EXPECT_TRUE(app.lines().contains("exit")) << "the end ran through the event loop";
}

TEST(AppProcess, SigintEndsTheProgramWithStatusZero) {
  AppProcess app;
  ASSERT_TRUE(app.Start({"--simulate=keyboard,mouse"}));
  ASSERT_TRUE(app.WaitForLine("window shown"));
  app.Signal(SIGINT);
  EXPECT_EQ(app.WaitForExit(), 0);
}

// zrv31 --simulate=keyboard: the keyboard is attached, read 500 ms later (the command traces), and
// every worker thread ends in order on SIGTERM.
TEST(AppProcess, SimulatedKeyboardIsAttachedAndReadAndTheThreadsEndInOrder) {
  AppProcess app;
  app.environment().insert("ZRV31_DEBUG", "1");
  app.MergeStandardError();
  ASSERT_TRUE(app.Start({"--simulate=keyboard"}));
  ASSERT_TRUE(app.WaitForLine("添加一个键盘设备")) << app.lines().join('\n').toStdString();
  ASSERT_TRUE(app.WaitForLine("命令")) << "the keyboard is read after its attach";
  ASSERT_TRUE(app.WaitForLine("返回"));
  app.Signal(SIGTERM);
  EXPECT_EQ(app.WaitForExit(), 0);
  const QStringList& lines = app.lines();
  const qsizetype quit = lines.indexOf("退出测试");
  ASSERT_GE(quit, 0);
  for (const char* end : {"抓取设备线程设定退出", "获取更新线程退出", "同步灯光线程设定退出"}) {
    EXPECT_GT(lines.indexOf(QString::fromUtf8(end)), quit) << end;
  }
  EXPECT_EQ(lines.count("所有对象处于激发状态"), 3);
  EXPECT_FALSE(lines.contains("所有对象处于非激发状态，超时"));
  EXPECT_TRUE(lines.contains("exit"));
}

TEST(AppProcess, StartsWithoutTheFontFolderAndCreatesItsFolders) {
  AppProcess app;
  QDir program(app.HomeDir());
  ASSERT_TRUE(program.mkdir("program"));
  ASSERT_TRUE(QFile::link(kSource + "/skin", program.filePath("program/skin")));
  ASSERT_TRUE(QFile::link(kSource + "/DefaultData", program.filePath("program/DefaultData")));
  app.environment().insert("ZRV31_PROGRAM_DIR", program.filePath("program"));
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.WaitForLine("window shown")) << app.lines().join('\n').toStdString();

  const QProcessEnvironment& env = app.environment();
  EXPECT_TRUE(QDir(env.value("XDG_DATA_HOME") + "/ZRV-31 Gaming Keyboard").exists());
  const QString downloads = env.value("XDG_CACHE_HOME") + "/ZRV-31 Gaming Keyboard/UpdateData";
  EXPECT_TRUE(QDir(downloads).exists());
  const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                          QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
  EXPECT_FALSE(QFile::permissions(downloads) & others) << "the user's alone";
  EXPECT_FALSE(QDir(env.value("TMPDIR") + "/UpdateData").exists());
  EXPECT_TRUE(QFile::exists(env.value("XDG_CONFIG_HOME") + "/ZRV-31 Gaming Keyboard/settings.ini"));
  app.Signal(SIGTERM);
  EXPECT_EQ(app.WaitForExit(), 0);
}

TEST(AppProcess, SecondStartWithoutBusEndsWithZeroAndTheFirstShowsItself) {
  AppProcess first;
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(first.WaitForLine("window shown"));

  AppProcess second;
  second.ShareFoldersWith(first);
  ASSERT_TRUE(second.Start());
  EXPECT_TRUE(second.WaitForLine("second instance"));
  EXPECT_EQ(second.WaitForExit(), 0);
  EXPECT_FALSE(second.lines().contains("window shown"));
  EXPECT_TRUE(first.WaitForLine("instance message 0 1"));

  first.Signal(SIGTERM);
  EXPECT_EQ(first.WaitForExit(), 0);
  // The instance is free again.
  AppProcess third;
  third.ShareFoldersWith(first);
  ASSERT_TRUE(third.Start());
  EXPECT_TRUE(third.WaitForLine("window shown"));
  third.Signal(SIGTERM);
  EXPECT_EQ(third.WaitForExit(), 0);
}

TEST(AppProcess, FontsAreReleasedInReverseOrderAlsoWhenASecondStartEndsEarly) {
  const QString font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (!QFile::exists(font)) GTEST_SKIP() << "no font file to stand in for the private fonts";
  AppProcess first;
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(first.WaitForLine("window shown"));

  AppProcess second;
  second.ShareFoldersWith(first);
  QDir program(second.HomeDir());
  ASSERT_TRUE(program.mkpath("program/Font"));
  ASSERT_TRUE(QFile::link(kSource + "/skin", program.filePath("program/skin")));
  const QStringList files = {"Simplified_Chinese.ttf",    "Vantoral-Regular.otf", "NotoSansThai-Regular.ttf",
                             "NotoSansCJKtc-Regular.otf", "Helvetica.ttf",        "Golos-Text_DemiBold.ttf"};
  for (const QString& file : files) ASSERT_TRUE(QFile::copy(font, program.filePath("program/Font/" + file)));
  second.environment().insert("ZRV31_PROGRAM_DIR", program.filePath("program"));
  second.environment().insert("ZRV31_DEBUG", "1");
  second.MergeStandardError();
  ASSERT_TRUE(second.Start());
  EXPECT_EQ(second.WaitForExit(), 0);

  QStringList loaded, released;
  for (const QString& line : second.lines()) {
    if (line.startsWith("font loaded: Font/")) loaded << line.mid(18);
    if (line.startsWith("font released: Font/")) released << line.mid(20);
  }
  EXPECT_EQ(loaded, files);
  QStringList reversed(files.rbegin(), files.rend());
  EXPECT_EQ(released, reversed);
  EXPECT_TRUE(second.lines().contains("second instance"));

  first.Signal(SIGTERM);
  EXPECT_EQ(first.WaitForExit(), 0);
}

TEST(AppProcess, UnusableSkinOrCommandLineIsAFailure) {
  AppProcess no_skin;
  no_skin.environment().insert("ZRV31_PROGRAM_DIR", no_skin.HomeDir());
  ASSERT_TRUE(no_skin.Start());
  EXPECT_EQ(no_skin.WaitForExit(), 1);

  AppProcess bad_option;
  ASSERT_TRUE(bad_option.Start({"--simulate=toaster"}));
  EXPECT_EQ(bad_option.WaitForExit(), 2);
}

// Under dbus-run-session (ctest test app.single_instance_bus).
TEST(AppBus, SecondStartOnTheBusEndsWithZeroAndTheFirstShowsItself) {
  if (qEnvironmentVariable("ZRV31_TEST_PRIVATE_BUS") != "1") GTEST_SKIP() << "needs a private session bus";
  AppProcess first(true);
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(first.WaitForLine("window shown"));
  AppProcess second(true);  // folders of its own: only the bus name makes it the second
  ASSERT_TRUE(second.Start());
  EXPECT_TRUE(second.WaitForLine("second instance"));
  EXPECT_EQ(second.WaitForExit(), 0);
  EXPECT_TRUE(first.WaitForLine("instance message 0 1"));
  first.Signal(SIGTERM);
  EXPECT_EQ(first.WaitForExit(), 0);
}

// Under Xvfb (ctest test app.gui_smoke): the real window on a real X server.
TEST(AppGui, TheWindowAppearsOnTheXServer) {
  if (qEnvironmentVariable("ZRV31_TEST_GUI") != "1") GTEST_SKIP() << "needs an X server (xvfb-run)";
  AppProcess app;
  app.environment().insert("QT_QPA_PLATFORM", "xcb");
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.WaitForLine("window shown")) << app.lines().join('\n').toStdString();
  const QString xwininfo = QStandardPaths::findExecutable("xwininfo");
  if (!xwininfo.isEmpty()) {
    // Qt keeps a 1x1 helper window with the same title; the main window is the one of its size,
    // fitted to the 1280 x 800 screen 100 ms after it appeared.
    QProcess info;
    QTest::qWait(1000);
    info.start(xwininfo, {"-root", "-tree"});
    ASSERT_TRUE(info.waitForFinished(10000));
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    bool found = false;
    for (const QString& line : text.split('\n')) {
      if (line.contains("\"ZRV-31 Gaming Keyboard\"") && line.contains("1000x640+")) found = true;
    }
    EXPECT_TRUE(found) << text.toStdString();
  }
  app.Signal(SIGTERM);
  EXPECT_EQ(app.WaitForExit(), 0);
}

}  // namespace
}  // namespace zrv::app
