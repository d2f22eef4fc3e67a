// What the coordinate checks say about one company's listed employees: one
// entry per problem, in the operator's words, with the value found.

#include <gtest/gtest.h>

#include <functional>

#include "app/coordinate_checks.h"

namespace vx::app {
namespace {

// The fields as the record gives them, for the published example
// IT60 X 05428 11101 000000123456.
ListedEmployee Sound(const std::string& code = "0010010001") {
  ListedEmployee e;
  e.fields = {code, "ROSSI" + std::string(25, ' '), "MARIO" + std::string(25, ' '), "X", "05428", "011101",
              "000000123456    ", "IT", "60", 0, "BCITITMM   ", "BANCA X"};
  e.net_pay = 1234.5;
  return e;
}

std::vector<std::string> Said(const std::vector<ListedEmployee>& listed) {
  RunReport report;
  CheckListedCoordinates("001", listed, report);
  EXPECT_EQ(report.CheckedCounts(), (std::vector<std::pair<std::string, int>>{{"001", int(listed.size())}}));
  std::vector<std::string> said;
  for (const ReportEntry& e : report.Entries()) {
    EXPECT_EQ(e.topic, "Coordinate");
    EXPECT_EQ(e.company, "001");
    said.push_back(std::string(e.severity == Severity::Error ? "E " : "N ") + e.employee + " " + e.name + " | " +
                   e.field + " | " + e.value + " | " + e.message);
  }
  return said;
}

TEST(CoordinateChecks, EachFaultIsOneEntryWithWhatWasExpected) {
  const std::pair<std::function<void(ListedEmployee&)>, std::vector<std::string>> cases[] = {
      {[](ListedEmployee&) {}, {}},
      {[](ListedEmployee& e) { e.fields.iban_check = "61"; },
       {"E 0010010001 ROSSI MARIO | IBAN | IT61X0542811101000000123456 | "
        "IBAN: cifre di controllo errate (atteso 60, trovato 61)"}},
      // Mod 97 passes, the CIN does not.
      {[](ListedEmployee& e) { e.fields.cin = "S", e.fields.iban_check = "40"; },
       {"E 0010010001 ROSSI MARIO | CIN | S | CIN non coerente con ABI/CAB/conto (atteso X)"}},
      // The 4 + 4 + 14 layout puts other digits where an Italian IBAN has
      // its ABI and CAB.
      {[](ListedEmployee& e) { e.fields.iban_layout = 1, e.fields.iban_check = "02", e.fields.cin = "R"; },
       {"E 0010010001 ROSSI MARIO | ABI | 05428 | ABI diverso da quello nell'IBAN (54281)",
        "E 0010010001 ROSSI MARIO | CAB | 011101 | CAB diverso da quello nell'IBAN (10100)"}},
      {[](ListedEmployee& e) { e.fields.account = "1234567890123   "; },
       {"E 0010010001 ROSSI MARIO | IBAN | IT60X05428111011234567890123 | IBAN: lunghezza errata (attesa 27, trovata 28)"}},
      {[](ListedEmployee& e) { e.fields.iban_country = "US"; },
       {"E 0010010001 ROSSI MARIO | IBAN | US60X0542811101000000123456 | IBAN: paese 'US' non aderente all'area SEPA",
        "E 0010010001 ROSSI MARIO | BIC | BCITITMM | BIC di un paese (IT) diverso da quello dell'IBAN (US)"}},
      {[](ListedEmployee& e) { e.fields.bic = "BCITITM    "; },
       {"E 0010010001 ROSSI MARIO | BIC | BCITITM | BIC non valido: deve avere 8 o 11 caratteri"}},
      {[](ListedEmployee& e) { e.fields.bic = "00000000000"; }, {}},
      {[](ListedEmployee& e) { e.fields.account = "                "; },
       {"E 0010010001 ROSSI MARIO | Conto corrente |  | conto corrente mancante"}},
      {[](ListedEmployee& e) { e.fields.iban_country = "  ", e.fields.iban_check = "  "; },
       {"E 0010010001 ROSSI MARIO | IBAN |     X0542811101000000123456 | IBAN mancante: paese e cifre di controllo vuoti"}},
      {[](ListedEmployee& e) { e.net_pay = 0; },
       {"N 0010010001 ROSSI MARIO | Netto in busta | 0,00 | netto nullo o negativo: nessun bonifico da fare"}},
  };
  for (const auto& [spoil, expected] : cases) {
    ListedEmployee e = Sound();
    spoil(e);
    EXPECT_EQ(Said({e}), expected);
  }
}

// An employee listed twice (the listing repeats what the extraction
// repeats) does not share his account with himself.
TEST(CoordinateChecks, SharedIbanIsANoticeNamingTheFirstHolder) {
  ListedEmployee wife = Sound("0010010002");
  wife.fields.name = "ANNA";
  EXPECT_EQ(Said({Sound(), Sound(), wife}),
            (std::vector<std::string>{"N 0010010002 ROSSI ANNA | IBAN | IT60X0542811101000000123456 | "
                                      "stesso IBAN del dipendente 0010010001 ROSSI MARIO (conto cointestato?)"}));
  RunReport report;
  CheckListedCoordinates("001", {Sound(), wife}, report);
  CheckListedCoordinates("001", {Sound(), wife}, report);
  EXPECT_EQ(report.Entries().size(), 1u);  // a company listed twice says it once
  EXPECT_FALSE(report.HasErrors());
}

}  // namespace
}  // namespace vx::app
