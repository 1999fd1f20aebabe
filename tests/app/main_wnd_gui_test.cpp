// Under Xvfb (ctest test app.gui_smoke): the keyboard's page on a real X server, with a simulated
// keyboard attached. ZRV31_SCREENSHOT=FILE keeps a picture of the window (docs/ holds one).
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include "app/main_wnd.h"
#include "device/device_link.h"
#include "devices/device_page.h"
#include "main_wnd_support.h"
#include "sim/simulated_devices.h"

namespace zrv::app {
namespace {

constexpr size_t kKeyboardRow = 1;

TEST(AppGui, TheKeyboardPageOnTheXServer) {
  if (qEnvironmentVariable("ZRV31_TEST_GUI") != "1") GTEST_SKIP() << "needs an X server (xvfb-run)";
  testing::PrivateFolders folders;
  auto window = testing::MakeStyledMainWindow(CMainWnd::StartOptions{true, false, true});
  auto keyboard = sim::CreateModel("keyboard");
  ASSERT_TRUE(keyboard->Plug());
  CDeviceOptionUI* item = testing::ItemOfRow(*window, kKeyboardRow);
  ASSERT_TRUE(QTest::qWaitFor([&] { return item->IsPresent(); }, 5000));
  const auto end = static_cast<uint8_t>(device::LinkCommand::kEnd);
  ASSERT_TRUE(QTest::qWaitFor([&] { return keyboard->Log().CountFrames(end) > 0; }, 5000));
  // The system settings, and the keys lit through synchronised lighting (the keyboard's own
  // effects come with its lighting).
  devices::CHalveronUSBDevicePage* page = window->DevicePages()[kKeyboardRow];
  ASSERT_NE(page->ProfileBar(), nullptr);
  page->ProfileBar()->OpTab(4)->Selected(true, true);  // the user chooses the system tab
  EXPECT_EQ(page->Model().GetFunctionMode(), 4);
  LightSyncEffect effect;
  effect.type = LightSyncType::kStatic;
  effect.red = 0x2D;
  effect.green = 0xE1;
  effect.blue = 0xC2;
  window->LightSync()->SetEffect(effect);
  page->Model().CommandLink().SetPaused(true);
  // The fit (100 ms after windowinit) and a few repaint cycles.
  QTest::qWait(1500);
  EXPECT_EQ(window->size(), QSize(1000, 640)) << "96 DPI on the 1280 x 800 screen";
  EXPECT_TRUE(window->DevicePages()[kKeyboardRow]->isVisible());

  const QImage picture = window->grab().toImage();
  ASSERT_FALSE(picture.isNull());
  // The key picture is drawn: the key area is not one flat colour.
  const QRect keys = window->DevicePages()[kKeyboardRow]->geometry();
  QSet<QRgb> colours;
  for (int y = keys.top() + 10; y < keys.top() + 200 && y < picture.height(); y += 3) {
    for (int x = keys.left() + 40; x < keys.right() && x < picture.width(); x += 7) colours.insert(picture.pixel(x, y));
  }
  EXPECT_GT(colours.size(), 4);
  const QString file = qEnvironmentVariable("ZRV31_SCREENSHOT");
  if (!file.isEmpty()) {
    EXPECT_TRUE(picture.save(file));
  }
  window.reset();
  keyboard->Unplug();
  qApp->setStyleSheet(QString());
}

}  // namespace
}  // namespace zrv::app
