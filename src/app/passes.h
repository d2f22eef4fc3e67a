#pragma once
// The four listing passes. Each walks the company list; for every company
// it opens the transfer file, prepares the output, collects the company's
// candidates from the extraction into the sorted working list and runs the
// listing phase that qualifies and prints them.

#include <functional>
#include <string>
#include <vector>

#include "app/pass_state.h"
#include "app/run_controls.h"
#include "app/run_settings.h"

namespace vx::archive {
class PayrollArchives;
}
namespace vx::output {
class Output;
}
namespace vx::report {
class Report;
struct ListingState;
}

namespace vx::app {

class BoniFile;
class RunReport;

// A damaged archive met while listing one company: its outputs cannot be
// trusted and are abandoned.
struct ArchiveDamage {
  std::string path;      // the archive file
  std::string employee;  // the employee code searched for
  std::string message;   // what was found
};

// Told around every company, so a window or the batch run can follow.
struct PassHooks {
  // Before anything of the company is drawn: its code (three characters).
  std::function<void(const std::string& company_code)> BeforeCompany;
  // After the company's listing: its List1 line and the employees listed.
  std::function<void(const std::string& company_line, int listed)> AfterCompany;
};

class Passes {
 public:
  Passes(vx::archive::PayrollArchives& archive, vx::output::Output& output, vx::report::Report& report,
         vx::report::ListingState& listing, PassState& state, BoniFile& boni,
         const RunSettings& settings, const RunControls& controls,
         const std::vector<std::string>& List1, const std::vector<std::string>& ElencoEstrazione,
         RunReport& run_report, PassHooks hooks = {});

  void LASERSEMPLIFICATA();
  void LASERDETTAGLIATA();
  void PDFSEMPLIFICATA();
  void PDFDETTAGLIATA();
  // Walks the companies as the passes do and qualifies their employees
  // exactly as the listing would, but draws and writes nothing: no printer
  // job, no PDF, no folder, no transfer file. `each_listed` is called for
  // every employee the listing would print, with his record in the DIPX$
  // buffer; AfterCompany gets the count.
  void QualifyOnly(std::function<void()> each_listed);

  // The bank key of the employee in the DIPX$ buffer: CIN, ABI, and the
  // last five digits of the zero-padded CAB.
  std::string BankKey();
  // Whether the employee of line `index` of List2 is listed; leaves his
  // record in the DIPX$ buffer when it can be read.
  bool Qualifica(int index);

 private:
  // None: qualifying only, as QualifyOnly.
  enum class Target { Laser, Pdf, None };
  enum class Kind { Semplificata, Dettagliata };

  // Reads a record into its archive's buffer; true past the end.
  bool Leggi(double numero_base, double record);
  // The employee's record number through the index, -1 when not found.
  double CercaDipendente(const std::string& codice);
  void CicloDitte(Target target, Kind kind);
  void Candidati(const std::string& company_code);
  void FaseSemplificata(Target target);
  void FaseDettNormale(Target target);
  void FaseDettBanca(Target target);
  double InizioFaseDettagliata(Target target);
  void FineFase(Target target);

  void Testata(Target target, bool semplificata);
  void Riga(Target target, bool semplificata);
  void Totali(Target target, bool semplificata);
  void NuovaPagina(Target target);
  // Starts a new page when the position is past `limit`, then prints the row.
  void SaltoPaginaERiga(Target target, bool semplificata, double limit, double first_row);
  void FineDocumento(Target target);
  // Abandons what the company had begun when its listing fails half way.
  void AbbandonaDitta();
  // Abandons the company over a damaged archive and reports it; a printed
  // listing already under way ends with a line saying it is incomplete.
  void DittaDanneggiata(Target target, const std::string& company, const ArchiveDamage& damage);

  vx::archive::PayrollArchives& archive_;
  vx::output::Output& output_;
  vx::report::Report& report_;
  vx::report::ListingState& listing_;
  PassState& s_;
  BoniFile& boni_;
  const RunSettings& settings_;
  const RunControls& controls_;
  const std::vector<std::string>& List1_;
  const std::vector<std::string>& ElencoEstrazione_;
  RunReport& run_report_;
  PassHooks hooks_;
  std::function<void()> each_listed_;
  bool stampa_iniziata_ = false;  // a printer document of the company is under way
};

}  // namespace vx::app
