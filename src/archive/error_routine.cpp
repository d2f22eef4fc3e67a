#include "archive/payroll_archives.h"

#include <string>

#include "archive/trace.h"

namespace vx::archive {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

ErrorOutcome PayrollArchives::GESTIERRORE(const platform::RuntimeError& error) {
  if (error.number == 482) {
    // A printer that jams or runs out of paper is worth another try; nobody
    // at the keyboard means no retry.
    platform::MessageBox retry{std::string(kProductName), "ERR.STAMPANTE - SI VUOLE RITENTARE ?",
                               Buttons::YesNo, Icon::Critical, Answer::No};
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
  // The file concerned, on a line of its own, so that the operator knows
  // which one is missing, full or held by another program.
  const std::string file = error.path.empty() ? std::string() : error.path + "\r\n";
  platform::MessageBox report{std::string(kProductName) + " " + state.NomeProgramma,
                              headline + "\r\n" + file +
                                  TraceListing(state.UltimeProcedure, state.IndiceTraccia),
                              Buttons::Ok, Icon::Critical, Answer::Ok};
  boxes_.Show(report);
  platform::MessageBox restart{std::string(kProductName),
                               "CHIUDERE TUTTE LE APPLICAZIONI DELLA TASK\r\nLANCIARE RIPRISTINO TASK",
                               Buttons::Ok, Icon::Information, Answer::Ok};
  boxes_.Show(restart);
  EndProgram(error.path.empty() ? headline : headline + " " + error.path);
}

}  // namespace vx::archive
