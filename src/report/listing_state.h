#pragma once
// The listing's position, page and running totals, shared by the passes that
// drive a company's listing and the routines that draw it; and the run's
// choices that the drawing reads.

#include <cstdint>
#include <functional>
#include <string>

namespace vx::report {

struct ListingState {
  double RigaCorrente = 0;  // cm from the top of the page of the next row
  int16_t NumeroPagina = 0, DipendentiStampati = 0;
  double TotaleNetto = 0, NettoDipendente = 0;
  int16_t ContoDitta = 0, IndiceBanca = 0, NumeroBanche = 0;
};

struct ReportSettings {
  std::string PeriodoStampa, DescrizioneStampa;
  bool TotaliPerBanca = false, PaginaPerBanca = false;
  // The "bold values" box; asked again for every row, as the operator may
  // change it while a listing runs. Empty: not bold.
  std::function<bool()> ChkGrassetto;
};

}  // namespace vx::report
