#pragma once
// The desktop's own mouse and keyboard settings, opened from the device pages
// ("windowdeviceset_0" mouse, "windowdeviceset_1" keyboard).

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zrv::app {

enum class ControlPanel { kMouse = 0, kKeyboard = 1 };

struct PanelCommand {
  QString program;
  QStringList arguments;
};

// The settings programs that can show the panel, the current desktop's ($XDG_CURRENT_DESKTOP, a
// colon list such as "ubuntu:GNOME") first, then the others.
QList<PanelCommand> ControlPanelCandidates(ControlPanel panel, const QString& current_desktop);

// The first candidate whose program `find` locates (its full path filled in); nothing when none.
std::optional<PanelCommand> FindControlPanel(ControlPanel panel, const QString& current_desktop,
                                             const std::function<QString(const QString&)>& find);

// Starts the panel detached (index 0 mouse, 1 keyboard; any other index does nothing). False
// when no settings program of a known desktop is installed.
bool OpenControlPanel(int index);

}  // namespace zrv::app
