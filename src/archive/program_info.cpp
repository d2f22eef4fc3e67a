#include "archive/payroll_archives.h"

#include "archive/text.h"

namespace vx::archive {

int16_t PayrollArchives::ESISTEFILE(std::string_view name) {
  return platform::CanOpenForReading(prefix_, name) ? -1 : 0;
}

void PayrollArchives::INFOPROGRAMMA() {
  platform::MessageBox box;
  box.title = "Informazioni Progetto velmora";
  box.text = "Programma velmora\r\rNome EXE : " + UpperCase(Trim(state.NomeProgramma)) +
             ".EXE\rNome VBP : " + UpperCase(Trim(state.NomeProgetto)) + ".VBP\r";
  box.icon = platform::Icon::Information;
  boxes_.Show(box);
}

}  // namespace vx::archive
