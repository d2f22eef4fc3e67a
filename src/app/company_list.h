#pragma once
// Opening the run's archives, loading the current year's extraction and
// filling the company list from it.

#include <optional>
#include <string>

#include "app/form_state.h"
#include "archive/payroll_archives.h"

namespace vx::app {

// Number bases the run reads.
inline constexpr double kArchivioDitte = 1;
inline constexpr double kArchivioDipendenti = 2;
inline constexpr double kArchivioEstrazione = 5;
inline constexpr double kArchivioDataPaghe = 6;
inline constexpr double kIndiceDipendenti = 7;

// The archives without which a listing means nothing; the others a run
// opens may be missing and are then read as empty.
bool ArchivioNecessario(double numero_base);

// Why the record read for a company code is not that company's (its own
// code differs), or nothing.
std::optional<std::string> CompanyRecordProblem(const std::string& record, const std::string& company_code);

inline constexpr const char* kMessaggioEstrazioneMancante = "Attenzione: Non esiste estrazione anno corrente";

class CompanyList {
 public:
  CompanyList(archive::PayrollArchives& archives, FormState& form) : archives_(archives), form_(form) {}

  // Opens every archive the run uses (they stay open until exit) and reads
  // the payroll date record into DataPaghe.
  void APRIARCHIVI();
  // Loads the extraction; EstrazioneMancante = 1 when it has no record.
  void VERIFICAESTRAZIONE();
  // Loads the extraction again and sorts it by code, so that the codes of a
  // company, and of each of its sub-companies, are adjacent for the passes.
  void CARICAESTRAZIONE();
  // Fills List1 with one line per run of equal company codes, in extraction
  // order.
  void LISTA_AZIENDE();

 private:
  // Fills ElencoEstrazione from the archive; shows the missing-extraction
  // message and returns true when the archive has no record at all.
  bool CaricaElenco();
  // Ends the program over a damaged extraction: a code that is not one, or
  // the same code twice.
  void ControllaEstrazione();
  // Says that an archive every company depends on is damaged and ends the
  // program with the damaged-archives status.
  [[noreturn]] void ArchivioDanneggiato(double numero_base, const std::string& what);

  archive::PayrollArchives& archives_;
  FormState& form_;
};

}  // namespace vx::app
