// The page header: title, company, the company account the listing is about
// and, on the simplified listing, the column headings.

#include <string>

#include "output/output.h"
#include "archive/descriptors.h"
#include "report/layout_text.h"
#include "report/report.h"

namespace vx::report {

namespace fields = vx::archive::fields;

void Report::Testata(Target target, bool semplificata) {
  const std::string pagina = PageNumberText(listing_.NumeroPagina);
  const std::string descrizione = Description30(settings_.DescrizioneStampa);

  if (target == Target::Printer) {
    SetFont(target, 12, true);
  } else {
    output_.DocumentoPDF().SetPaperSize(semplificata ? 1 : 0, 0, 0);
    SetFont(target, 12, true);
  }

  if (!semplificata) {
    Text(1, 1, "ELENCO DIPENDENTI CON PAGAMENTO IN C/C" + std::string(20, ' ') + " PAG. " + pagina);
    Text(1.4, 1, "MESE : " + settings_.PeriodoStampa + " " + descrizione);
    if (target == Target::Printer)
      output_.printer().SetFontSize(11);
    else
      SetFont(target, 11, true);
    RigheAzienda(target);
    return;
  }

  Text(1, 1, "ELENCO DIPENDENTI CON PAGAMENTO IN C/C PER IL MESE : " + settings_.PeriodoStampa +
                 " " + descrizione + " PAG. " + pagina);
  SetFont(target, 11, true);
  RigheAzienda(target);
  SetFont(target, 8, true);

  struct Colonna {
    double x, larghezza;
    const char* titolo;
  };
  static constexpr Colonna kColonne[] = {{1, 2, "Cod. Dip."}, {3, 8, "Cognome e Nome"},
                                         {11, 2, "Netto Busta"}, {13, 5, "IBAN"},
                                         {18, 7, "Banca"}, {25, 2.5, "Cod. BIC"}};
  for (const auto& c : kColonne) Frame(target, 4, c.x, 0.5, c.larghezza);
  for (const auto& c : kColonne) Text(4.1, c.x + 0.1, c.titolo);
}

void Report::RigheAzienda(Target) {
  Text(2, 1, "Azienda   : " + Field(fields::kCompanyCode) + " " + Field(fields::kCompanyName) + " " + Field(fields::kCompanyTenCharCode));
  Text(2.4, 1, "Indirizzo : " + Field(fields::kCompanyAddress));
  Text(2.8, 1, "Comune    : " + Field(fields::kCompanyPostalCode) + " " + Field(fields::kCompanyTown) + " " + Field(fields::kCompanyProvince));
  std::string conto;
  switch (listing_.ContoDitta) {
    case 0: conto = Field(fields::kCompanyAccount1) + " " + Field(fields::kCompanyBank1); break;
    case 1: conto = Field(fields::kCompanyAccount2) + " " + Field(fields::kCompanyBank2); break;
    case 2: conto = Field(fields::kCompanyAccount3) + " " + Field(fields::kCompanyBank3); break;
    default: break;  // no such account: the line is left out, label and all
  }
  if (!conto.empty()) Text(3.2, 1, "Num. C/C  : " + conto);
}

}  // namespace vx::report
