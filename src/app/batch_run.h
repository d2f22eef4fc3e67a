#pragma once
// `vxorel --batch` with listing options: the start-up, then exactly what
// "Conferma" does with the controls the options stand for, then the exit.

#include <iosfwd>

#include "app/command_line.h"
#include "app/run_controls.h"
#include "output/pdf_factory.h"
#include "platform/wine_prefix.h"

namespace vx::output {
class Printers;
}

namespace vx::app {

// The controls the options stand for, starting from the window's state
// after start-up. A bank box the listing disables stays as the window
// would leave it; `messages` is told why.
RunControls ControlsFromCommandLine(const CommandLine& command_line, const std::string& DataPaghe,
                                    std::ostream& messages);

// Runs the listing. Printer output goes to `installed`, or to PDF files in
// the --print-to folder. Every message box and one progress line per
// company go to `messages`, then the run report. Returns the exit status: 0
// when the run completed, kExitArchivesDamaged when it completed over
// damaged archives, other non-zero values when it stopped or the program
// had to end. With --check only the coordinates are checked and nothing is
// written; with --strict the listing starts only when they have no error.
int RunBatchListing(const CommandLine& command_line, const platform::WinePrefix& prefix,
                    vx::output::Printers& installed, std::ostream& messages,
                    const vx::output::PdfFactory& pdf_factory = {});

}  // namespace vx::app
