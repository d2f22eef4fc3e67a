// The employee's detail: a framed card of nine rows on the detailed listing,
// one framed line on the simplified one.

#include <string>

#include "output/output.h"
#include "archive/descriptors.h"
#include "report/layout_text.h"
#include "report/report.h"

namespace vx::report {

namespace fields = vx::archive::fields;

namespace {
constexpr double kCardFont = 9;
constexpr double kLineFont = 8;
}  // namespace

void Report::Dettagliata(Target target) {
  SetFont(target, kCardFont, Grassetto());

  // The net pay is read once; what is printed, what is totalled and what the
  // transfer file gets are the same number.
  listing_.NettoDipendente = Number(fields::kEmployeeNetPay);
  listing_.TotaleNetto += listing_.NettoDipendente;

  struct Riga {
    const char* etichetta;
    std::string valore;
    double avanzamento;
  };
  const Riga righe[] = {
      {"Cod. Dipendente", Field(fields::kEmployeeCode), 0.5},
      {"Cognome e Nome", Field(fields::kEmployeeSurname) + " " + Field(fields::kEmployeeFirstName), 0.5},
      {"Identif. Paese", Field(fields::kEmployeeIbanCountry), 0.5},
      {"Check Digit EU", Field(fields::kEmployeeIbanCheckDigits), 0.5},
      {"CIN ABI CAB",
       CinAbiCab(Field(fields::kEmployeeCin), RawField(fields::kEmployeeAbi), Field(fields::kEmployeeCab)),
       0.5},
      {"Banca", Field(fields::kEmployeeBankName), 0.5},
      {"Codice BIC", Field(fields::kEmployeeBic), 0.5},
      {"IBAN",
       IbanText(Number(fields::kEmployeeIbanLayout), RawField(fields::kEmployeeIbanCountry), RawField(fields::kEmployeeIbanCheckDigits), RawField(fields::kEmployeeCin),
                RawField(fields::kEmployeeAbi), RawField(fields::kEmployeeCab), RawField(fields::kEmployeeAccount)),
       0.5},
      {"Netto in busta", AmountText(listing_.NettoDipendente, 70), 0.6},
  };

  for (const auto& r : righe) {
    Frame(target, listing_.RigaCorrente, 1, 0.5, 3.5);
    Frame(target, listing_.RigaCorrente, 4.5, 0.5, 13.5);
    SetBold(target, kCardFont, true);
    Text(listing_.RigaCorrente + 0.1, 1.1, r.etichetta);
    // The operator may switch bold values on or off while the listing runs.
    SetBold(target, kCardFont, Grassetto());
    Text(listing_.RigaCorrente + 0.1, 4.6, r.valore);
    listing_.RigaCorrente += r.avanzamento;
  }

  Frame(target, listing_.RigaCorrente, 1, 0.01, 18);
  listing_.RigaCorrente += 0.1;

  if (SCRIVIFILETESTO_) SCRIVIFILETESTO_();
}

void Report::Semplificata(Target target) {
  SetFont(target, kLineFont, Grassetto());

  listing_.NettoDipendente = Number(fields::kEmployeeNetPay);
  listing_.TotaleNetto += listing_.NettoDipendente;

  const double y = listing_.RigaCorrente;
  Frame(target, y, 1, 0.5, 2);
  Frame(target, y, 3, 0.5, 8);
  Frame(target, y, 11, 0.5, 2);
  Frame(target, y, 13, 0.5, 5);
  Frame(target, y, 18, 0.5, 7);
  Frame(target, y, 25, 0.5, 2.5);

  Text(y + 0.1, 1.1, Field(fields::kEmployeeCode));
  Text(y + 0.1, 3.1, Field(fields::kEmployeeSurname) + " " + Field(fields::kEmployeeFirstName));
  Text(y + 0.1, 11.1, AmountText(listing_.NettoDipendente, 11));
  Text(y + 0.1, 13.1,
       IbanText(Number(fields::kEmployeeIbanLayout), RawField(fields::kEmployeeIbanCountry), RawField(fields::kEmployeeIbanCheckDigits), RawField(fields::kEmployeeCin),
                RawField(fields::kEmployeeAbi), RawField(fields::kEmployeeCab), RawField(fields::kEmployeeAccount)));
  Text(y + 0.1, 18.1, Field(fields::kEmployeeBankName));
  Text(y + 0.1, 25.1, Field(fields::kEmployeeBic));
  listing_.RigaCorrente += 0.5;

  if (SCRIVIFILETESTO_) SCRIVIFILETESTO_();
}

}  // namespace vx::report
