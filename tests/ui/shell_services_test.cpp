// File dialogs, the tray icon and modal windows.

#include <gtest/gtest.h>

#include <QTimer>

#include "ui/ui.h"
#include "ui_test_util.h"

namespace zrv::ui {
namespace {

using testing::RecordingWindow;

TEST(FileDialogTest, FiltersAndTheHook) {
  EXPECT_EQ(ToQtFilter("(*.png) | *.png |(*.*)|*.*||"), "(*.png);;(*.*)");
  EXPECT_EQ(ToQtFilter("Profile Files|*.json;|"), "Profile Files (*.json)");
  EXPECT_EQ(ToQtFilter("Profile Files(*.json)"), "Profile Files(*.json)");

  FileDialogRequest seen;
  SetFileDialogHook([&](const FileDialogRequest& r) {
    seen = r;
    return r.save ? QStringLiteral("/tmp/out.json") : QString();
  });
  EXPECT_EQ(SaveFileDialog(nullptr, "Export", "Profile Files|*.json;|", "name.json", "json"), "/tmp/out.json");
  EXPECT_TRUE(seen.save);
  EXPECT_EQ(seen.filter, "Profile Files (*.json)");
  EXPECT_EQ(seen.defaultExt, "json");
  EXPECT_TRUE(OpenFileDialog(nullptr, "Import", "(*.mac)|*.mac||").isEmpty());  // cancelled
  EXPECT_FALSE(seen.save);
  SetFileDialogHook(nullptr);
}

TEST(TrayIconTest, WithoutANotificationAreaThereIsNoWayBackThroughTheTray) {
  TrayIcon::SetAvailabilityForTest(0);
  TrayIcon tray;
  EXPECT_FALSE(TrayIcon::IsAvailable());
  EXPECT_FALSE(tray.CreateTrayIcon(QIcon(), "ZRV-31 Gaming Keyboard"));
  EXPECT_FALSE(tray.CanRestoreFromTray());

  TrayIcon::SetAvailabilityForTest(1);
  EXPECT_TRUE(tray.CreateTrayIcon(QIcon(), "ZRV-31 Gaming Keyboard"));
  EXPECT_TRUE(tray.CanRestoreFromTray());
  tray.DeleteTrayIcon();
  EXPECT_FALSE(tray.CanRestoreFromTray());
  TrayIcon::SetAvailabilityForTest(-1);
}

class ClosingWindow : public RecordingWindow {
 public:
  void InitWindow() override { closeBtn = FindControl(QStringLiteral("btn")); }
  void OnNotify(Notify& msg) override {
    RecordingWindow::OnNotify(msg);
    if (msg.type == u"click" && msg.sender == closeBtn) Close(1);
  }
  void OnFinalMessage() override { ++finals; }
  bool OnCloseRequest() override { return allowClose; }
  Control* closeBtn = nullptr;
  int finals = 0;
  bool allowClose = true;
};

TEST(WindowTest, ShowModalReturnsTheCloseCode) {
  testing::UseTestSkin();
  RecordingWindow owner;
  ASSERT_TRUE(owner.Create(nullptr, QString()));
  owner.show();
  ClosingWindow box;
  ASSERT_TRUE(box.Create(&owner, QStringLiteral("box")));
  ASSERT_NE(box.closeBtn, nullptr);
  box.CenterWindow();
  QTimer::singleShot(0, [&] { static_cast<Button*>(box.closeBtn)->Activate(); });
  EXPECT_EQ(box.ShowModal(), 1);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.finals, 1);
  EXPECT_EQ(box.Count("windowinit"), 1);  // delivered inside the modal loop

  // The platform's close: the window decides; refused, it stays.
  box.allowClose = false;
  box.show();
  box.close();
  EXPECT_TRUE(box.isVisible());
  box.allowClose = true;
  QTimer::singleShot(0, [&] { box.close(); });
  EXPECT_EQ(box.ShowModal(), 0);
}

TEST(WindowTest, IconFromASkinImage) {
  testing::UseTestSkin();
  RecordingWindow w;
  ASSERT_TRUE(w.Create(nullptr, QString()));
  w.SetIcon(QStringLiteral("img/light.svg"));
  EXPECT_FALSE(w.windowIcon().isNull());
}

}  // namespace
}  // namespace zrv::ui
