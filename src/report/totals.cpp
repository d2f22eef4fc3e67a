// The totals closing a company's listing, or a bank's group of it.

#include <string>

#include "output/output.h"
#include "report/layout_text.h"
#include "report/report.h"

namespace vx::report {

void Report::Totali(Target target, bool semplificata) {
  if (target == Target::Printer) {
    auto& p = output_.printer();
    p.SetFontName("Courier New");
    p.SetFontBold(true);
  }

  if (semplificata) {
    if (target == Target::Printer)
      output_.printer().SetFontSize(8);
    else
      SetFont(target, 8, true);
    const double y = listing_.RigaCorrente;
    Frame(target, y, 1, 0.5, 10);
    Frame(target, y, 11, 0.5, 2);
    Frame(target, y, 13, 0.5, 12);
    Frame(target, y, 25, 0.5, 2.5);
    Text(y + 0.1, 1.1, "TOTALE GENERALE NETTO IN BUSTA");
    Text(y + 0.1, 11.1, AmountText(listing_.TotaleNetto, 11));
    Text(y + 0.1, 13.1, "TOTALE DIPENDENTI STAMPATI");
    Text(y + 0.1, 25.1, std::string(10, ' ') + CountText(listing_.DipendentiStampati));
    return;
  }

  if (target == Target::Printer)
    output_.printer().SetFontSize(9);
  else
    SetFont(target, 9, true);

  Frame(target, listing_.RigaCorrente, 1, 0.5, 3.5);
  Frame(target, listing_.RigaCorrente, 4.5, 0.5, 13.5);
  Text(listing_.RigaCorrente + 0.1, 1.1,
       settings_.TotaliPerBanca ? "TOT.DIP.BANCA" : "TOT.DIP.STAMPATI");
  // The count ends in the column where the cards' amounts end.
  Text(listing_.RigaCorrente + 0.1, 4.6,
       std::string(67, ' ') + CountText(listing_.DipendentiStampati));
  listing_.RigaCorrente += 0.5;

  Frame(target, listing_.RigaCorrente, 1, 0.5, 3.5);
  Frame(target, listing_.RigaCorrente, 4.5, 0.5, 13.5);
  Text(listing_.RigaCorrente + 0.1, 1.1, "TOT.NETTO BUSTA");
  Text(listing_.RigaCorrente + 0.1, 4.6, AmountText(listing_.TotaleNetto, 70));

  if (settings_.TotaliPerBanca) {
    // The bank's group is closed: its figures start again for the next bank.
    listing_.RigaCorrente += 0.6;
    Frame(target, listing_.RigaCorrente, 1, 0.01, 18);
    listing_.RigaCorrente += 0.1;
    listing_.TotaleNetto = 0;
    listing_.DipendentiStampati = 0;
  }

  if (settings_.PaginaPerBanca && listing_.IndiceBanca < listing_.NumeroBanche) {
    // Each bank after the first opens its own pages, numbered from 1. The
    // first card goes at 4.0 on both devices here, unlike an ordinary page
    // break in the PDF.
    NewPage(target);
    listing_.NumeroPagina = 1;
    listing_.DipendentiStampati = 0;
    Testata(target, false);
    listing_.TotaleNetto = 0;
    listing_.RigaCorrente = 4.0;
  }
}

}  // namespace vx::report
