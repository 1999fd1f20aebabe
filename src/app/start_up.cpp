#include "app/start_up.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>

#include "app/app_folders.h"
#include "app/control_classes.h"
#include "app/main_wnd.h"
#include "app/memory_font.h"
#include "platform/debug_output.h"
#include "platform/folders.h"
#include "platform/qt/ipc_names.h"
#include "platform/qt/settings_store.h"
#include "platform/qt/single_instance.h"
#include "platform/qt/termination_signals.h"
#include "sim/simulated_devices.h"
#include "ui/resources.h"
#include "ui/tray_icon.h"

namespace zrv::app {
namespace {

// Main window size of the start (96-DPI pixels).
constexpr int kMainWidth = 800;
constexpr int kMainHeight = 572;

AppOptions g_options;

}  // namespace

const AppOptions& StartOptions() { return g_options; }

void LoadStyleSheet(QApplication& app) {
  QFile file(ui::Resources::Instance().ResolveFile(QStringLiteral("skin.qss")));
  if (!file.open(QIODevice::ReadOnly)) return;
  // The sheet names its images "skin:<path>", wherever the skin is installed.
  QDir::setSearchPaths(QStringLiteral("skin"), {QFileInfo(file).absolutePath()});
  app.setStyleSheet(QString::fromUtf8(file.readAll()));
}

void Announce(const QString& line) {
  if (qEnvironmentVariable("ZRV31_ANNOUNCE") != QLatin1String("1")) return;
  std::fprintf(stdout, "%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

bool SetUpResources(const QString& program_folder, QString* error) {
  ui::Resources& resources = ui::Resources::Instance();
  resources.SetResourcePath(QDir(program_folder).filePath(QStringLiteral("skin")));
  if (!resources.LoadResourceIndex(QStringLiteral("res.xml"))) {
    *error = resources.Error().ToString();
    return false;
  }
  RegisterControlClasses();
  return true;
}

int RunApplication(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zrv31"));
  QApplication::setApplicationDisplayName(QString::fromLatin1(platform::kProductTitle));
  QApplication::setApplicationVersion(QStringLiteral(ZRV31_VERSION));
  // Hiding the window to the tray must not end the program.
  QApplication::setQuitOnLastWindowClosed(false);

  QString error;
  std::optional<AppOptions> options = ParseAppOptions(app.arguments().mid(1), &error);
  if (!options) {
    std::fprintf(stderr, "zrv31: %s\n%s", qPrintable(error), qPrintable(AppUsage()));
    return 2;
  }
  if (options->help) {
    std::fprintf(stdout, "%s", qPrintable(AppUsage()));
    return 0;
  }
  g_options = *options;

  // Benchmarks and tests on an X server without a notification area (Xvfb) hide the window as on
  // a desktop that has one.
  if (qEnvironmentVariable("ZRV31_ASSUME_TRAY") == QLatin1String("1")) ui::TrayIcon::SetAvailabilityForTest(1);

  const QString program_folder = GetProgramFolder();
  // Lives until the very end: every return below releases the fonts last, in reverse order.
  PrivateFonts fonts(program_folder);
  fonts.LoadAll();

  platform::SingleInstance instance;
  platform::DebugPrintf("软件标示：%s", platform::kDBusService);
  if (instance.Acquire() == platform::SingleInstance::Claim::kSecond) {
    Announce(QStringLiteral("second instance"));
    return 0;
  }

  if (!SetUpResources(program_folder, &error)) {
    std::fprintf(stderr, "zrv31: the skin cannot be used: %s\n", qPrintable(error));
    return 1;
  }
  LoadStyleSheet(app);

  GetDefaultDataFolder();
  GetUserDataFolder();
  GetUpdateDownloadFolder();
  // The installer's part on other systems: the store of the language choice must exist.
  platform::SettingsStore().Create();

  // Simulated devices are plugged before the window's discovery starts, so its first scan finds them.
  sim::PlugResult simulated;
  if (!g_options.simulate.isEmpty()) {
    simulated = sim::PlugSimulated(g_options.simulate.join(',').toStdString());
    if (!simulated.ok()) {
      std::fprintf(stderr, "zrv31: %s\n", simulated.error.c_str());
      return 2;
    }
  }

  auto window = std::make_unique<CMainWnd>();
  window->SetInstanceChannel(&instance);
  QObject::connect(window.get(), &CMainWnd::firstShown, [] { Announce(QStringLiteral("window shown")); });
  if (!window->Create(nullptr, QString::fromLatin1(platform::kProductTitle))) {
    std::fprintf(stderr, "zrv31: the main window cannot be built: %s\n", qPrintable(window->LastError().ToString()));
    return 1;
  }
  window->setWindowTitle(QString::fromLatin1(platform::kProductTitle));
  window->resize(window->Scale(kMainWidth), window->Scale(kMainHeight));

  // The window shows itself; the milestone is for the tests.
  QObject::connect(&instance, &platform::SingleInstance::instanceMessage, window.get(), [](int first, int second) {
    Announce(QStringLiteral("instance message %1 %2").arg(first).arg(second));
  });

  platform::TerminationSignals termination;
  QObject::connect(&termination, &platform::TerminationSignals::terminationRequested, window.get(), [&window](int) {
    // The same orderly way as the tray's "exit"; modal loops end with the main loop.
    window->Close(0);
    QCoreApplication::quit();
  });

  window->CenterWindow();
  window->ShowWindow(true);
  app.exec();

  window.reset();
  sim::UnplugSimulated(simulated.models);
  Announce(QStringLiteral("exit"));
  return 0;
}

}  // namespace zrv::app
