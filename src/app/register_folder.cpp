#include "app/register_folder.h"

#include <ostream>

#include "app/start_up.h"
#include "app/transfer_files.h"
#include "archive/payroll_archives.h"
#include "output/pdf_names.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/registry.h"

namespace vx::app {

std::filesystem::path TransferFolderOnHost(const platform::WinePrefix& prefix, const std::string& percorso_archivi) {
  const std::string root = vx::output::PdfRoot(percorso_archivi, "");
  if (root.empty()) return {};
  return prefix.Map(root + "\\" + kTransferFolder);
}

std::optional<std::filesystem::path> InstalledTransferFolder(const platform::WinePrefix& prefix,
                                                             std::ostream& messages) {
  platform::Files files(prefix);
  const platform::Registry registry(prefix);
  platform::BatchMessageBoxes boxes(messages);
  archive::PayrollArchives archives(prefix, files, registry, boxes);
  // Only the paths are read: no terminal is taken and no archive is listed,
  // so the window or a run may be at work on the installation meanwhile.
  archives.SetInstanceCheck([] { return false; });
  try {
    LeggiInstallazione(archives);
  } catch (const platform::ProgramEnd&) {
    files.CloseAll();
    return std::nullopt;
  }
  files.CloseAll();
  std::filesystem::path folder = TransferFolderOnHost(prefix, archives.state.PERCORSOARCHIVI);
  if (folder.empty()) {
    messages << "vxorel: "
             << platform::Cp1252ToTerminal("cartella degli archivi " + archives.state.PERCORSOARCHIVI +
                                       " senza cartella superiore: nessuna cartella dei file dei bonifici")
             << "\n";
    return std::nullopt;
  }
  return folder;
}

reg::BusyWait BatchRegisterWait(const CommandLine& cl, std::ostream& messages) {
  reg::BusyWait wait;
  wait.waiting = [&messages](const std::string& path) {
    messages << "vxorel: registro dei file dei bonifici " << path << " in uso da un altro programma: attendo"
             << std::endl;
  };
  if (cl.lock_timeout) wait.give_up_after = std::chrono::seconds(*cl.lock_timeout);
  return wait;
}

}  // namespace vx::app
