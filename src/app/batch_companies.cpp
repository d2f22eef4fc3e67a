#include "app/batch_companies.h"

#include <ostream>

#include "app/company_list.h"
#include "app/start_up.h"
#include "archive/payroll_archives.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/registry.h"

namespace vx::app {

int RunBatchCompanies(const platform::WinePrefix& prefix, std::ostream& out, std::ostream& messages) {
  platform::Files files(prefix);
  const platform::Registry registry(prefix);
  platform::BatchMessageBoxes boxes(messages);
  archive::PayrollArchives archives(prefix, files, registry, boxes);
  FormState form;
  CompanyList list(archives, form);
  int status = 0;
  try {
    if (CaricaFinestra(archives, list, form)) {
      ImpostazioniIniziali(list);
      for (const std::string& line : form.List1) out << platform::Cp1252ToTerminal(line) << '\n';
      out.flush();
    } else {
      status = 1;
    }
    // Leaving goes through the window's exit either way: every archive is
    // closed and the terminal is handed back to the task launcher.
    archives.CHIUDI(0);
    archives.CHIUDIPROGRAMMA();
  } catch (const platform::ProgramEnd& end) {
    files.CloseAll();
    if (status == 0) status = end.status;
  }
  return status;
}

}  // namespace vx::app
