// Under Xvfb (ctest test app.gui_smoke): the lighting editor on the mouse page with a simulated
// mouse, its picture lit by the mouse's wave. ZRV31_LIGHT_SCREENSHOT=FILE keeps the picture (docs/
// holds one).
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "app/main_wnd.h"
#include "devices/kind_pages.h"
#include "devices/model/mouse_effects.h"
#include "main_wnd_support.h"
#include "ui/combo.h"
#include "ui/lookup.h"

namespace zrv::app {
namespace {

TEST(AppGuiLight, TheEditorAndTheLitPictureOnTheMousePage) {
  if (qEnvironmentVariable("ZRV31_TEST_GUI") != "1") GTEST_SKIP() << "needs an X server (xvfb-run)";
  testing::PrivateFolders folders;
  auto window = testing::MakeStyledMainWindow(CMainWnd::StartOptions{true, false, false});
  std::shared_ptr<sim::FirmwareModel> mouse;
  devices::CHalveronMouseDevicePage* page = nullptr;
  testing::PlugMouse(*window, mouse, page);
  ASSERT_FALSE(HasFatalFailure());
  page->ProfileBar()->OpTab(1)->Selected(true, true);  // the lighting tab
  auto* effects = ui::FindSubControlByName<ui::Combo>(page, QStringLiteral("light_combo_modeSelect"));
  ASSERT_NE(effects, nullptr);
  ASSERT_TRUE(effects->SelectItem(devices::kMouseWave, false, true));
  QTest::qWait(1500);  // the fit and a few repaint cycles

  auto* editor = ui::FindSubControlByName(page, QStringLiteral("LightControlItem"));
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->IsVisible());
  int lit = 0;
  for (int led = 0; led < 6; ++led) lit += devices::KeyIntensity(page->Mouse().GetKeyColour(led)) != 0 ? 1 : 0;
  EXPECT_GE(lit, 5) << "the wave lights the mouse's LEDs";
  const QImage picture = window->grab().toImage();
  ASSERT_FALSE(picture.isNull());
  const QString file = qEnvironmentVariable("ZRV31_LIGHT_SCREENSHOT");
  if (!file.isEmpty()) {
    EXPECT_TRUE(picture.save(file));
  }
  window.reset();
  mouse->Unplug();
  qApp->setStyleSheet(QString());
}

}  // namespace
}  // namespace zrv::app
