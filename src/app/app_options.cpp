#include "app/app_options.h"

namespace zrv::app {
namespace {

const QStringList& DeviceKinds() {
  static const QStringList kinds = {"keyboard", "mouse", "wireless-mouse", "mousepad", "headset"};
  return kinds;
}

}  // namespace

std::optional<AppOptions> ParseAppOptions(const QStringList& arguments, QString* error) {
  AppOptions options;
  for (const QString& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      continue;
    }
    if (!argument.startsWith("--simulate=")) {
      *error = QStringLiteral("unknown option: %1").arg(argument);
      return std::nullopt;
    }
    const QString list = argument.mid(QStringLiteral("--simulate=").size());
    for (const QString& item : list.split(',', Qt::SkipEmptyParts)) {
      QString kind = item.trimmed().toLower();
      QStringList add;
      if (kind == "all") {
        add = DeviceKinds();
      } else if (DeviceKinds().contains(kind)) {
        add = {kind};
      } else {
        *error = QStringLiteral("unknown device kind in --simulate: %1").arg(item);
        return std::nullopt;
      }
      for (const QString& one : add) {
        if (!options.simulate.contains(one)) options.simulate.append(one);
      }
    }
  }
  return options;
}

QString AppUsage() {
  return QStringLiteral(
      "usage: zrv31 [--simulate=LIST]\n"
      "  --simulate=LIST  plug in simulated devices at start-up; LIST is a comma list of\n"
      "                   keyboard, mouse, wireless-mouse, mousepad, headset, or all\n");
}

}  // namespace zrv::app
