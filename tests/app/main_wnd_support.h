#pragma once
// Helpers of the main-window tests: private data folders, a main window built and initialised on
// the offscreen platform, notifications sent as the controls would send them.

#include <QByteArray>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/device_option.h"
#include "app/main_wnd.h"
#include "app/start_up.h"
#include "device/device_link.h"
#include "devices/keyboard_page.h"
#include "devices/kind_pages.h"
#include "editors/light_flow.h"
#include "sim/keyboard_model.h"
#include "sim/simulated_devices.h"
#include "ui/language.h"
#include "ui/lookup.h"
#include "ui/notify.h"
#include "ui/tray_icon.h"

namespace zrv::app::testing {

// Per-user data and configuration in a temporary folder while it lives.
class PrivateFolders {
 public:
  PrivateFolders() {
    for (const char* name : kNames) saved_.push_back(qgetenv(name));
    qputenv("XDG_DATA_HOME", dir_.filePath("data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir_.filePath("config").toLocal8Bit());
  }
  ~PrivateFolders() {
    for (size_t i = 0; i < std::size(kNames); ++i) {
      if (saved_[i].isEmpty()) {
        qunsetenv(kNames[i]);
      } else {
        qputenv(kNames[i], saved_[i]);
      }
    }
  }
  QString Path() const { return dir_.path(); }

 private:
  static constexpr const char* kNames[] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME"};
  QTemporaryDir dir_;
  std::vector<QByteArray> saved_;
};

// No session bus and a private runtime folder while it lives: the single-instance channel runs on
// its local socket, where nothing else can answer.
class LocalChannelEnvironment {
 public:
  LocalChannelEnvironment() : runtime_(qgetenv("XDG_RUNTIME_DIR")), bus_(qgetenv("DBUS_SESSION_BUS_ADDRESS")) {
    qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
  }
  ~LocalChannelEnvironment() {
    qputenv("XDG_RUNTIME_DIR", runtime_);
    if (!bus_.isEmpty()) qputenv("DBUS_SESSION_BUS_ADDRESS", bus_);
  }

 private:
  QTemporaryDir dir_;
  QByteArray runtime_;
  QByteArray bus_;
};

// A main window built, shown and past "windowinit"; no tray icon, so closing keeps it reachable
// unless the test says otherwise.
inline std::unique_ptr<CMainWnd> MakeMainWindow(CMainWnd::StartOptions options, int tray_available = 0) {
  ui::TrayIcon::SetAvailabilityForTest(tray_available);
  auto window = std::make_unique<CMainWnd>(options);
  EXPECT_TRUE(window->Create(nullptr, "ZRV-31 Gaming Keyboard")) << window->LastError().ToString().toStdString();
  window->ShowWindow(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->Initialised(); }, 5000));
  return window;
}

// Only what the tests drive themselves.
// A main window as the user sees it, for tests that draw or photograph it: the skin's style sheet,
// and the language of $ZRV31_SCREENSHOT_LANGUAGE when that is set.
inline std::unique_ptr<CMainWnd> MakeStyledMainWindow(CMainWnd::StartOptions options) {
  LoadStyleSheet(*qApp);
  auto window = MakeMainWindow(options);
  const QString language = qEnvironmentVariable("ZRV31_SCREENSHOT_LANGUAGE");
  if (!language.isEmpty()) ui::LoadLanguage(language);
  return window;
}

inline CMainWnd::StartOptions NoThreads() { return {false, false, false}; }

// A notification from `control`, as the control sends it.
inline void Notify(ui::Control* control, const char* type, qint64 w = 0) {
  ASSERT_NE(control, nullptr);
  control->SendNotify(QString::fromLatin1(type), w, 0);
}

// The selector item of a device kind row (mouse 0, keyboard 1, mouse pad 2, headset 3).
inline CDeviceOptionUI* ItemOfRow(CMainWnd& window, size_t row) {
  const int index = window.Selector().IndexOfDevice(window.DevicePages().at(row));
  return window.Selector().ItemAt(index);
}

// Plugs a simulated keyboard in and waits until `window` has read its settings; its page, then
// the current one, goes to `page`.
inline void PlugKeyboard(CMainWnd& window, std::shared_ptr<sim::KeyboardModel>& keyboard,
                         devices::CHalveronKeyboardDevicePage*& page) {
  constexpr size_t kKeyboardRow = 1;
  keyboard = std::dynamic_pointer_cast<sim::KeyboardModel>(sim::CreateModel("keyboard"));
  ASSERT_NE(keyboard, nullptr);
  ASSERT_TRUE(keyboard->Plug());
  const auto read_settings = static_cast<uint8_t>(device::LinkCommand::kReadSettings);
  ASSERT_TRUE(QTest::qWaitFor([&] { return keyboard->Log().CountFrames(read_settings) > 0; }, 5000));
  page = dynamic_cast<devices::CHalveronKeyboardDevicePage*>(window.DevicePages()[kKeyboardRow]);
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(window.CurrentDevice(), page);
}

// Plugs a simulated mouse in and waits until `window` has read it and started its light thread; its
// page, then the current one, goes to `page`.
inline void PlugMouse(CMainWnd& window, std::shared_ptr<sim::FirmwareModel>& mouse,
                      devices::CHalveronMouseDevicePage*& page) {
  constexpr size_t kMouseRow = 0;
  mouse = sim::CreateModel("mouse");
  ASSERT_NE(mouse, nullptr);
  ASSERT_TRUE(mouse->Plug());
  page = dynamic_cast<devices::CHalveronMouseDevicePage*>(window.DevicePages()[kMouseRow]);
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return page->Mouse().LightThreadRunning(); }, 5000));
  ASSERT_EQ(window.CurrentDevice(), page);
}

// The lighting flow of `page` and its editor, with the page's Lighting tab chosen.
inline void OpenLightEditor(CMainWnd& window, devices::CHalveronUSBDevicePage* page, editors::LightFlow*& flow,
                            editors::CLightControlUI*& editor) {
  flow = window.LightFlowOf(page);
  ASSERT_NE(flow, nullptr);
  editor = flow->Editor();
  ASSERT_NE(editor, nullptr);
  Notify(ui::FindSubControlByName(page, QStringLiteral("deng_Op_tab")), "selectchanged", 1);
}

}  // namespace zrv::app::testing
