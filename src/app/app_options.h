#pragma once
// The command line of zrv31: zrv31 [--simulate=LIST]

#include <QString>
#include <QStringList>

#include <optional>

namespace zrv::app {

struct AppOptions {
  // Simulated devices to plug in at start-up: keyboard, mouse, wireless-mouse, mousepad, headset
  // (`all` expands to every kind), in the order given, without repeats.
  QStringList simulate;
  bool help = false;
};

// Parses the arguments after the program name (Qt's own options already removed). Nothing, with
// `error` set, for an unknown option or an unknown device kind.
std::optional<AppOptions> ParseAppOptions(const QStringList& arguments, QString* error);

QString AppUsage();

}  // namespace zrv::app
