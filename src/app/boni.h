#pragma once
// The bank-transfer text file of one company: created with its header line
// when the company starts, one row per employee listed, closed at the end of
// the company's listing. It is written under a temporary name beside its own
// and put in place only when closed whole: until then an earlier file of the
// same name (an earlier run's) stays as it was, and a run that stops half
// way leaves that earlier file, untouched, or none.

#include <string>

namespace vx::platform {
class Files;
struct RuntimeError;
}
namespace vx::archive {
class PayrollArchives;
}

#include "app/boni_row.h"

namespace vx::app {

// The employee's fields in the DIPX$ buffer, as a row of the file takes them.
BoniFields EmployeeFields(vx::archive::PayrollArchives& archive);

// The file could not be created or replaced. Carries the file and the
// system's reason, for the message that stops the run.
struct BoniFileError {
  std::string path;    // program path of the file
  std::string reason;  // "Errore 70 - Permission denied"
};

class BoniFile {
 public:
  BoniFile(vx::archive::PayrollArchives& archive, vx::platform::Files& files, char decimal_separator);
  ~BoniFile();

  // Begins "BONI" + code + "B" + slot + ".TXT" in the archives folder and
  // writes the header. Throws BoniFileError when it cannot.
  void Apri(const std::string& company_code, int slot);
  // The row of the employee in the DIPX$ buffer, with his net pay.
  void SCRIVIFILETESTO(double NettoDipendente);
  // The row of an employee whose fields are already read.
  void Scrivi(const BoniFields& employee, double NettoDipendente);
  // Closes the file and puts it in place, replacing an earlier one. A file
  // whose last rows cannot be written is removed, and the error goes on.
  void Chiudi();
  // Closes and removes the file begun: a company whose listing did not
  // finish must not leave a transfer file that looks complete.
  void Scarta();

  bool Aperto() const { return CanaleBoni != 0; }
  // Rows written since the file was opened.
  int Righe() const { return righe_; }
  const std::string& Percorso() const { return percorso_; }

  int CanaleBoni = 0;
  std::string NomeFileBoni;

 private:
  // Names this file, by its own name, in an error about it.
  vx::platform::RuntimeError& Named(vx::platform::RuntimeError& error) const;

  vx::archive::PayrollArchives& archive_;
  vx::platform::Files& files_;
  char decimal_separator_;
  std::string percorso_;
  std::string temporaneo_;  // program path the file is written under until put in place
  int righe_ = 0;
  bool avanzi_rimossi_ = false;  // an earlier run's temporaries, once per run
};

}  // namespace vx::app
