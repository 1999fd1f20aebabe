#include "app/control_panel.h"

#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

#include "platform/debug_output.h"

namespace zrv::app {
namespace {

struct DesktopPanels {
  const char* desktop;  // as $XDG_CURRENT_DESKTOP names it
  PanelCommand mouse;
  PanelCommand keyboard;
};

QList<DesktopPanels> KnownPanels() {
  return {
      {"GNOME", {"gnome-control-center", {"mouse"}}, {"gnome-control-center", {"keyboard"}}},
      // Plasma 6 names its modules kcm_*, Plasma 5 accepts the short names.
      {"KDE", {"kcmshell6", {"kcm_mouse"}}, {"kcmshell6", {"kcm_keyboard"}}},
      {"KDE", {"kcmshell5", {"mouse"}}, {"kcmshell5", {"keyboard"}}},
      {"XFCE", {"xfce4-mouse-settings", {}}, {"xfce4-keyboard-settings", {}}},
      {"X-Cinnamon", {"cinnamon-settings", {"mouse"}}, {"cinnamon-settings", {"keyboard"}}},
      {"MATE", {"mate-mouse-properties", {}}, {"mate-keyboard-properties", {}}},
      {"LXQt", {"lxqt-config-input", {}}, {"lxqt-config-input", {}}},
      {"Budgie", {"gnome-control-center", {"mouse"}}, {"gnome-control-center", {"keyboard"}}},
  };
}

}  // namespace

QList<PanelCommand> ControlPanelCandidates(ControlPanel panel, const QString& current_desktop) {
  const QStringList desktops = current_desktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
  QList<PanelCommand> first, rest;
  for (const DesktopPanels& known : KnownPanels()) {
    const PanelCommand& command = panel == ControlPanel::kMouse ? known.mouse : known.keyboard;
    const bool current = desktops.contains(QLatin1String(known.desktop), Qt::CaseInsensitive);
    (current ? first : rest).append(command);
  }
  // A program that serves several desktops is tried once, at its first place.
  QList<PanelCommand> candidates;
  for (const PanelCommand& command : first + rest) {
    const bool listed = std::any_of(candidates.begin(), candidates.end(), [&](const PanelCommand& c) {
      return c.program == command.program && c.arguments == command.arguments;
    });
    if (!listed) candidates.append(command);
  }
  return candidates;
}

std::optional<PanelCommand> FindControlPanel(ControlPanel panel, const QString& current_desktop,
                                             const std::function<QString(const QString&)>& find) {
  for (PanelCommand command : ControlPanelCandidates(panel, current_desktop)) {
    const QString path = find(command.program);
    if (path.isEmpty()) continue;
    command.program = path;
    return command;
  }
  return std::nullopt;
}

bool OpenControlPanel(int index) {
  if (index != 0 && index != 1) return true;  // nothing asked for
  const auto panel = static_cast<ControlPanel>(index);
  const std::optional<PanelCommand> command =
      FindControlPanel(panel, qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                       [](const QString& program) { return QStandardPaths::findExecutable(program); });
  if (!command) {
    platform::DebugOut("no settings program for the mouse or keyboard found");
    return false;
  }
  // Detached: the panel lives on its own and startDetached returns at once, so the UI thread does
  // not wait for it.
  if (!QProcess::startDetached(command->program, command->arguments)) {
    platform::DebugPrintf("%s did not start", qPrintable(command->program));
    return false;
  }
  return true;
}

}  // namespace zrv::app
