// vxorel: lists, company by company, the employees of a payroll installation
// paid by bank transfer. See UsageText() for the command line.

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch_companies.h"
#include "app/bank_reports.h"
#include "app/batch_run.h"
#include "app/command_line.h"
#include "app/register_history.h"
#include "output/no_printers.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/wine_prefix.h"
#ifdef VX_WITH_WINDOW
#include "app/window/batch_printers.h"
#include "app/window/window_main.h"
#elif defined(VX_QT_PROGRAM)
#include "app/qt_program.h"
#endif

int main(int argc, char** argv) {
  // Messages go out a whole line at a time, each line in one write, not a
  // write for every piece of it.
  std::setvbuf(stderr, nullptr, _IOLBF, BUFSIZ);
  std::cerr << std::nounitbuf;
  vx::app::CommandLine command_line;
  try {
    command_line = vx::app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const vx::app::UsageError& error) {
    std::cerr << "vxorel: " << vx::platform::TerminalText(error.what()) << "\n" << vx::app::UsageHint();
    return 2;
  }
  if (command_line.help) {
    std::cout << vx::app::UsageText();
    return 0;
  }
  if (command_line.version) {
    std::cout << vx::app::VersionText();
    return 0;
  }
  if (!command_line.batch) {
#ifdef VX_WITH_WINDOW
    try {
      return vx::app::RunWindow(argc, argv, vx::platform::WinePrefix::FromEnvironment());
    } catch (const std::exception& error) {
      std::cerr << "vxorel: " << vx::platform::TerminalText(error.what()) << "\n";
      return 1;
    }
#elif defined(VX_QT_PROGRAM)
    return vx::app::HandOverToQtProgram(argv, VX_QT_PROGRAM, std::cerr);
#else
    std::cerr << "vxorel: the window is not built in this version (built with VX_GUI=OFF); run with --batch\n"
              << vx::app::UsageHint();
    return 2;
#endif
  }
  try {
    if (!command_line.bank_reports.empty()) {
      return vx::app::RunBatchBankReports(command_line, vx::platform::WinePrefix::FromEnvironment(), std::cerr);
    }
    if (command_line.history) {
      return vx::app::RunBatchHistory(command_line, vx::platform::WinePrefix::FromEnvironment(), std::cout,
                                      std::cerr);
    }
    if (!command_line.companies) {
#if defined(VX_WITH_WINDOW) || defined(VX_QT_PROGRAM)
      // A PDF listing, or a check, draws on no printer: it needs neither Qt
      // nor a display.
      if (!command_line.print_to && command_line.output != vx::app::OutputKind::Pdf && !command_line.check) {
#ifdef VX_WITH_WINDOW
        return vx::app::RunBatchListingOnInstalledPrinters(argc, argv, command_line,
                                                           vx::platform::WinePrefix::FromEnvironment(), std::cerr);
#else
        return vx::app::HandOverToQtProgram(argv, VX_QT_PROGRAM, std::cerr);
#endif
      }
#endif
      // Without --print-to the listing goes to the installed printers; a
      // build without a printer back end has none, and the first printer
      // output reports the printer error.
      vx::output::NoPrinters printers;
      return vx::app::RunBatchListing(command_line, vx::platform::WinePrefix::FromEnvironment(), printers,
                                      std::cerr);
    }
    return vx::app::RunBatchCompanies(vx::platform::WinePrefix::FromEnvironment(), std::cout, std::cerr);
  } catch (const vx::platform::ProgramEnd& end) {
    return end.status == 0 ? 1 : end.status;
  } catch (const std::exception& error) {
    std::cerr << "vxorel: " << vx::platform::TerminalText(error.what()) << "\n";
    return 1;
  }
}
