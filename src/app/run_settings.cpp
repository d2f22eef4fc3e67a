#include "app/run_settings.h"

#include "app/text_rules.h"

namespace vx::app {

std::optional<std::string> PeriodProblem(const RunControls& controls) {
  const std::string month = Left(controls.ComboMese, 2);
  if (!IsWholeNumber(month) || std::stoi(Trim(month)) < 1 || std::stoi(Trim(month)) > 12)
    return std::string("Mese di pagamento non valido: scegliere un mese da 01 a 12.");
  const std::string year = Trim(controls.ComboAnno);
  if (year.size() != 4 || !IsWholeNumber(year))
    return std::string("Anno di pagamento non valido: indicare l'anno con quattro cifre.");
  return std::nullopt;
}

RunSettings ComputeRunSettings(const RunControls& controls, const std::string& DataPaghe) {
  RunSettings s;
  s.NumeroMese = static_cast<int16_t>(std::stoi(Trim(Left(controls.ComboMese, 2))));
  s.DescrizioneStampa = vx::archive::UpperCase(Trim(controls.txtDescrizione));
  s.AnnoMesePDF = Mid(DataPaghe, 5, 4) + Mid(DataPaghe, 3, 2);
  if (controls.OptStampanteLaser) {
    s.StampaLaser = 1;
    s.PDFRichiesto = false;
    s.StampaPDF = false;
  } else {
    s.StampaLaser = 0;
    s.PDFRichiesto = true;
    s.StampaPDF = true;
    s.ProtezioneAES256 = controls.chkAES256;
  }
  s.PeriodoStampa = Trim(Mid(controls.ComboMese, 6, std::string::npos)) + " " + Trim(controls.ComboAnno);
  if (controls.chkSepara) {
    s.TotaliPerBanca = true;
    s.PaginaPerBanca = true;
  } else {
    s.TotaliPerBanca = controls.ChkTotali;
    s.PaginaPerBanca = false;
  }
  return s;
}

}  // namespace vx::app
