#pragma once
// `vxorel` without --batch: the window program over the installation of a
// Wine prefix, printing on the printers installed on this machine.

#include "platform/wine_prefix.h"

namespace vx::app {

// Starts Qt, runs the start-up and, when the current year has an
// extraction, shows the window until the operator leaves. Returns the exit
// status: 0 after "Uscita", non-zero when the program had to end.
int RunWindow(int argc, char** argv, const vx::platform::WinePrefix& prefix);

}  // namespace vx::app
