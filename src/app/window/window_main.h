#pragma once
// `vxorel` without --batch: the window program over the installation of a
// Wine prefix, printing on the printers installed on this machine.

#include "platform/wine_prefix.h"

class QCoreApplication;
class QTranslator;

namespace vx::app {

// Loads Qt's own Italian texts into `translator` and installs it, so that
// standard buttons read "Chiudi", not "Close"; false when Qt's translations
// are not installed (the texts stay English).
bool InstallItalianQtTexts(QCoreApplication& application, QTranslator& translator);

// Starts Qt, runs the start-up and, when the current year has an
// extraction, shows the window until the operator leaves. Returns the exit
// status: 0 after "Uscita", non-zero when the program had to end.
int RunWindow(int argc, char** argv, const vx::platform::WinePrefix& prefix);

}  // namespace vx::app
