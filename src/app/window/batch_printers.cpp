#include "app/window/batch_printers.h"

#include <QGuiApplication>

#include "app/batch_run.h"
#include "output/qt/qt_printers.h"

namespace vx::app {

int RunBatchListingOnInstalledPrinters(int argc, char** argv, const CommandLine& command_line,
                                       const vx::platform::WinePrefix& prefix, std::ostream& messages) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  vx::output::QtPrinters printers;
  return RunBatchListing(command_line, prefix, printers, messages);
}

}  // namespace vx::app
