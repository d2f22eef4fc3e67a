#include "app/coordinate_checks.h"

#include <map>

#include "app/text_rules.h"
#include "bank/bic.h"
#include "bank/cin.h"
#include "bank/iban.h"
#include "report/layout_text.h"

namespace vx::app {

namespace {

using vx::bank::Failure;
using vx::bank::Verdict;

// What is wrong with an IBAN, from the verdict of its check.
std::string IbanMessage(const Verdict& v, const std::string& iban) {
  switch (v.failure) {
    case Failure::InvalidCharacters:
      return "IBAN: caratteri non ammessi (solo lettere maiuscole e cifre, senza spazi)";
    case Failure::InvalidComponent:
      return "IBAN: paese '" + iban.substr(0, 2) + "' non aderente all'area SEPA";
    case Failure::InvalidLength:
      return "IBAN: lunghezza errata (attesa " + v.expected + ", trovata " + std::to_string(iban.size()) + ")";
    case Failure::InvalidFormat:
      return "IBAN: lettere e cifre non al loro posto per il paese " + iban.substr(0, 2);
    case Failure::InvalidChecksum:
      return "IBAN: cifre di controllo errate (atteso " + v.expected + ", trovato " + iban.substr(2, 2) + ")";
    default:
      return "IBAN mancante";
  }
}

std::string BicMessage(const Verdict& v) {
  switch (v.failure) {
    case Failure::InvalidCharacters:
      return "BIC non valido: caratteri non ammessi";
    case Failure::InvalidLength:
      return "BIC non valido: deve avere 8 o 11 caratteri";
    default:
      return "BIC non valido: 4 lettere per la banca e 2 per il paese, poi 2 o 5 lettere o cifre";
  }
}

// Checks one employee; `iban` is the IBAN the listing printed for him. False
// when his account or IBAN is missing, so that there is no IBAN to compare.
bool CheckEmployee(const ListedEmployee& e, const std::string& iban, const ReportEntry& about, RunReport& report) {
  auto add = [&](Severity severity, std::string field, std::string value, std::string message) {
    ReportEntry entry = about;
    entry.severity = severity;
    entry.field = std::move(field);
    entry.value = std::move(value);
    entry.message = std::move(message);
    report.Add(std::move(entry));
  };
  const BoniFields& f = e.fields;

  if (e.net_pay <= 0) {
    add(Severity::Notice, "Netto in busta", Trim(NetPayColumn(e.net_pay, ',')),
        "netto nullo o negativo: nessun bonifico da fare");
  }
  // Without an account or IBAN fields the IBAN is zeros and guesswork:
  // what is missing is the one thing to say.
  if (Trim(f.account).empty()) {
    add(Severity::Error, "Conto corrente", "", "conto corrente mancante");
    return false;
  }
  if (Trim(f.iban_country).empty() && Trim(f.iban_check).empty()) {
    add(Severity::Error, "IBAN", iban, "IBAN mancante: paese e cifre di controllo vuoti");
    return false;
  }

  const Verdict verdict = vx::bank::ValidateIban(iban);
  if (!verdict.Valid()) add(Severity::Error, "IBAN", iban, IbanMessage(verdict, iban));
  const bool comparable = verdict.Valid() || verdict.failure == Failure::InvalidChecksum;
  if (comparable && iban.compare(0, 2, "IT") == 0) {
    const Verdict cin = vx::bank::ValidateItalianBban(iban.substr(4));
    if (cin.failure == Failure::InvalidChecksum) {
      add(Severity::Error, "CIN", f.cin, "CIN non coerente con ABI/CAB/conto (atteso " + cin.expected + ")");
    }
    // The IBAN must name the bank and branch the employee's fields name.
    const std::string abi = Right("00000" + Trim(f.abi), 5);
    const std::string cab = Right("000000" + Trim(f.cab), 6);
    if (iban.substr(5, 5) != abi) {
      add(Severity::Error, "ABI", Trim(f.abi), "ABI diverso da quello nell'IBAN (" + iban.substr(5, 5) + ")");
    }
    if ("0" + iban.substr(10, 5) != cab) {
      add(Severity::Error, "CAB", Trim(f.cab), "CAB diverso da quello nell'IBAN (" + iban.substr(10, 5) + ")");
    }
  }

  const std::string bic = Trim(f.bic);
  if (const auto problem = BicProblem(bic, iban)) add(Severity::Error, "BIC", bic, *problem);
  return true;
}

}  // namespace

std::optional<std::string> BicProblem(const std::string& bic, const std::string& iban) {
  // A BIC of zeros stands for none, as in the transfer file.
  if (bic.find_first_not_of('0') == std::string::npos) return std::nullopt;
  const Verdict b = vx::bank::ValidateBic(bic);
  if (!b.Valid()) return BicMessage(b);
  if (iban.size() >= 2 && vx::bank::BicCountry(bic) != iban.substr(0, 2)) {
    return "BIC di un paese (" + std::string(vx::bank::BicCountry(bic)) + ") diverso da quello dell'IBAN (" +
           iban.substr(0, 2) + ")";
  }
  return std::nullopt;
}

void CheckListedCoordinates(const std::string& company_code, const std::vector<ListedEmployee>& listed,
                            RunReport& report) {
  std::map<std::string, const ListedEmployee*> first_with_iban;
  for (const ListedEmployee& e : listed) {
    const BoniFields& f = e.fields;
    const std::string iban =
        vx::report::IbanText(f.iban_layout, f.iban_country, f.iban_check, f.cin, f.abi, f.cab, f.account);
    ReportEntry about;
    about.topic = "Coordinate";
    about.company = company_code;
    about.employee = Trim(f.code);
    about.name = Trim(f.surname) + " " + Trim(f.name);
    if (!CheckEmployee(e, iban, about, report)) continue;
    const auto [it, first] = first_with_iban.try_emplace(iban, &e);
    if (!first && it->second->fields.code != f.code) {
      about.severity = Severity::Notice;
      about.field = "IBAN";
      about.value = iban;
      about.message = "stesso IBAN del dipendente " + Trim(it->second->fields.code) + " " +
                      Trim(it->second->fields.surname) + " " + Trim(it->second->fields.name) +
                      " (conto cointestato?)";
      report.Add(std::move(about));
    }
  }
  report.Checked(company_code, static_cast<int>(listed.size()));
}

}  // namespace vx::app
