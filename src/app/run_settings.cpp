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

std::optional<std::string> TransferPeriodProblem(const RunControls& controls, const std::string& DataPaghe) {
  const std::string month = Mid(DataPaghe, 3, 2);
  const std::string year = Mid(DataPaghe, 5, 4);
  const int payroll_month = IsWholeNumber(month) ? std::stoi(Trim(month)) : 0;
  if (payroll_month < 1 || payroll_month > 12 || year.size() != 4 || !IsWholeNumber(year) || Trim(year) != year)
    return std::string("La data delle paghe in archivio non indica un mese da 01 a 12 e un anno di quattro cifre: "
                       "i file dei bonifici non si possono fare.");
  const int chosen_month = std::stoi(Trim(Left(controls.ComboMese, 2)));
  if (chosen_month == payroll_month && std::stoi(Trim(controls.ComboAnno)) == std::stoi(year)) return std::nullopt;
  auto name = [](int m) { return kComboMeseItems[static_cast<std::size_t>(m - 1)].substr(5); };
  const std::string payroll = name(payroll_month) + " " + year;
  return "Le paghe in archivio sono di " + payroll + ": i file dei bonifici si fanno solo per " + payroll +
         ", non per " + name(chosen_month) + " " + Trim(controls.ComboAnno) +
         ". Scegliere " + payroll + " oppure nessun file dei bonifici.";
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
