#include "archive/payroll_archives.h"

#include <string>

#include "archive/trace.h"

namespace vx::archive {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

// The file an error is about and what the program was doing with it, each
// on a line of its own, so that the operator knows which file is missing,
// full or held by another program.
std::string Circumstances(const platform::RuntimeError& error) {
  std::string text;
  if (!error.path.empty()) text += "File: " + error.path + "\r\n";
  if (!error.action.empty()) text += "Operazione: " + error.action + "\r\n";
  return text;
}

}  // namespace

ErrorOutcome PayrollArchives::GESTIERRORE(const platform::RuntimeError& error) {
  const std::string circumstances = Circumstances(error);
  if (error.number == 482) {
    // A printer that jams or runs out of paper is worth another try; nobody
    // at the keyboard means no retry. A printer that is a file says which.
    std::string question = "ERR.STAMPANTE - SI VUOLE RITENTARE ?";
    if (!circumstances.empty()) question += "\r\n" + circumstances.substr(0, circumstances.size() - 2);
    platform::MessageBox retry{std::string(kProductName), question, Buttons::YesNo, Icon::Critical, Answer::No};
    if (boxes_.Show(retry) == Answer::Yes) return ErrorOutcome::Retry;
    platform::MessageBox close{
        std::string(kProductName),
        "CHIUDERE IL PROGRAMMA ? (se si risp.NO il progr.perde la riga e prosegue)",
        Buttons::YesNo, Icon::Warning, Answer::Yes};
    if (boxes_.Show(close) == Answer::No) return ErrorOutcome::Skip;
    EndProgram("Errore 482 " + error.description);
  }

  const std::string headline =
      "Errore " + std::to_string(error.number) + " " + error.description;
  // The routine's own text first, as the operators know it; the file and
  // the work after it.
  platform::MessageBox report{std::string(kProductName) + " " + state.NomeProgramma,
                              headline + "\r\n" + TraceListing(state.UltimeProcedure, state.IndiceTraccia) +
                                  circumstances,
                              Buttons::Ok, Icon::Critical, Answer::Ok};
  boxes_.Show(report);
  platform::MessageBox restart{std::string(kProductName),
                               "CHIUDERE TUTTE LE APPLICAZIONI DELLA TASK\r\nLANCIARE RIPRISTINO TASK",
                               Buttons::Ok, Icon::Information, Answer::Ok};
  boxes_.Show(restart);
  EndProgram(error.path.empty() ? headline : headline + " " + error.path);
}

}  // namespace vx::archive
