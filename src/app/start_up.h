#pragma once
// The program from start to end: private fonts, single instance, skin resources, control classes,
// folders, the main window and its event loop, and the orderly end.

#include <QString>

class QApplication;

#include "app/app_options.h"

namespace zrv::app {

// Runs the program; the process's exit status.
int RunApplication(int argc, char** argv);

// The options of this run (the simulated devices are plugged in by the main window).
const AppOptions& StartOptions();

// Points the UI layer at the program folder's skin, reads "res.xml" and registers the control
// classes. False with `error` set when the skin cannot be used.
bool SetUpResources(const QString& program_folder, QString* error);

// Applies the skin's "skin.qss" to the application (after SetUpResources); nothing when the skin
// has none.
void LoadStyleSheet(QApplication& app);

// With ZRV31_ANNOUNCE=1 the program writes milestones to standard output, one line each
// ("window shown", "instance message A B", "exit"): tests and the start-up benchmark wait for them.
void Announce(const QString& line);

}  // namespace zrv::app
