#pragma once
// `vxorel --batch` listing on the printers installed on this machine (the
// CUPS queues), for builds that have the Qt printer back end.

#include <iosfwd>

#include "app/command_line.h"
#include "platform/wine_prefix.h"

namespace vx::app {

// Runs the batch listing with Qt's printers. Nothing is shown: unless the
// environment names a Qt platform, the offscreen one is used, so that a
// machine without a display prints all the same.
int RunBatchListingOnInstalledPrinters(int argc, char** argv, const CommandLine& command_line,
                                       const vx::platform::WinePrefix& prefix, std::ostream& messages);

}  // namespace vx::app
