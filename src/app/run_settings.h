#pragma once
// The settings a run takes from the window's controls at each "Conferma".
// They keep their values between runs and are all recomputed by the next.

#include <cstdint>
#include <optional>
#include <string>

#include "app/run_controls.h"

namespace vx::app {

struct RunSettings {
  int16_t NumeroMese = 0;
  std::string DescrizioneStampa;
  std::string PeriodoStampa;
  std::string AnnoMesePDF;
  bool TotaliPerBanca = false;
  bool PaginaPerBanca = false;
  double StampaLaser = 0;
  bool StampaPDF = false;
  bool PDFRichiesto = false;
  bool ProtezioneAES256 = false;  // PDF files with passwords use AES-256, not RC4
};

// Why the month or year box cannot start a run (cp1252 message text), or
// nothing when both are usable. A payment month must be one of the twelve
// and the year four digits: a run on a guessed period would pay the wrong
// month.
std::optional<std::string> PeriodProblem(const RunControls& controls);

// Why a run cannot write transfer files for the controls' period (cp1252
// message naming both periods), or nothing. The listing selects employees
// by payment month alone, but a transfer file pays the net pay the archives
// hold, which is that of the payroll month of the payroll date record: a
// file for any other month or year would pay one month's salaries under
// another's name. Call only when PeriodProblem found nothing.
std::optional<std::string> TransferPeriodProblem(const RunControls& controls, const std::string& DataPaghe);

// The settings from the controls and the payroll date record. Call only when
// PeriodProblem found nothing.
RunSettings ComputeRunSettings(const RunControls& controls, const std::string& DataPaghe);

}  // namespace vx::app
