// The header, the employee card and line, and the totals as the printer
// receives them: texts, fonts and twips.

#include <gtest/gtest.h>

#include <algorithm>

#include "report/report_world.h"

namespace vx::report {
namespace {

using vx::testing::ReportWorld;

// Each drawing as "y x text" (Print) or "[x1 y1 x2 y2]" (Box), in twips.
std::vector<std::string> Drawn(const output::RecordingPrinter& printer) {
  std::vector<std::string> out;
  auto n = [](double v) { return std::to_string(static_cast<long>(v)); };
  for (const auto& c : printer.current) {
    if (c.op == "Print") out.push_back(n(c.y) + " " + n(c.x) + " " + c.text);
    if (c.op == "Box")
      out.push_back("[" + n(c.args[0]) + " " + n(c.args[1]) + " " + n(c.args[2]) + " " + n(c.args[3]) + "]");
  }
  return out;
}

class PrinterLayout : public ::testing::Test {
 protected:
  void SetUp() override { world.Open(); }
  std::vector<std::string> Drawn() { return report::Drawn(world.printer()); }
  std::vector<output::PrinterCall> Prints() {
    std::vector<output::PrinterCall> out;
    for (const auto& c : world.printer().current)
      if (c.op == "Print") out.push_back(c);
    return out;
  }
  ReportWorld world;
};

TEST_F(PrinterLayout, DetailedHeaderShowsPageDescriptionAndCompany) {
  world.listing.NumeroPagina = 7;
  world.report->TESTATALASER(false);
  EXPECT_EQ(Drawn(), (std::vector<std::string>{
                         "226 396 ELENCO DIPENDENTI CON PAGAMENTO IN C/C                     PAG. 07",
                         "453 396 MESE : NOVEMBRE 2023 STIPENDI                      ",
                         "793 396 Azienda   : 001 ALFA SRL ",  // blank third code, separator kept
                         "1020 396 Indirizzo : VIA ROMA 1",
                         "1247 396 Comune    : 20100 MILANO MI",
                         "1474 396 Num. C/C  : 000012345678 BANCA DI PROVA",
                     }));
  auto prints = Prints();
  for (size_t i = 0; i < prints.size(); ++i) {
    EXPECT_EQ(prints[i].font_name, "Courier New");
    EXPECT_TRUE(prints[i].font_bold);
    EXPECT_EQ(prints[i].font_size, i < 2 ? 12 : 11);
  }
}

TEST_F(PrinterLayout, SimplifiedHeaderCutsTheDescriptionAndFramesSixHeadings) {
  world.listing.NumeroPagina = 123;
  world.listing.ContoDitta = 1;
  world.settings.DescrizioneStampa = "TREDICESIMA MENSILITA ANNO 2023 SALDO";
  world.report->TESTATALASER(true);
  EXPECT_EQ(Drawn(), (std::vector<std::string>{
                         "226 396 ELENCO DIPENDENTI CON PAGAMENTO IN C/C PER IL MESE : NOVEMBRE 2023 "
                         "TREDICESIMA MENSILITA ANNO 202 PAG. 23",
                         "793 396 Azienda   : 001 ALFA SRL ", "1020 396 Indirizzo : VIA ROMA 1",
                         "1247 396 Comune    : 20100 MILANO MI",
                         "1474 396 Num. C/C  : CC2 SECONDA BANCA",
                         "[396 1927 1530 2210]", "[1530 1927 6066 2210]", "[6066 1927 7200 2210]",
                         "[7200 1927 10035 2210]", "[10035 1927 14004 2210]", "[14004 1927 15421 2210]",
                         "1984 453 Cod. Dip.", "1984 1587 Cognome e Nome", "1984 6123 Netto Busta",
                         "1984 7257 IBAN", "1984 10092 Banca", "1984 14061 Cod. BIC",
                     }));
  EXPECT_EQ(Prints().back().font_size, 8);
}

TEST_F(PrinterLayout, NoSuchCompanyAccountLeavesTheLineOutLabelAndAll) {
  for (int16_t conto : {-1, 3}) {
    world.printer().current.clear();
    world.listing.ContoDitta = conto;
    world.report->TESTATALASER(false);
    EXPECT_EQ(Drawn().size(), 5u);
    EXPECT_EQ(Drawn().back(), "1247 396 Comune    : 20100 MILANO MI");
  }
}

TEST_F(PrinterLayout, CardHasNineFramedRowsAndIsFourPointSevenHigh) {
  world.listing.RigaCorrente = 4.0;
  world.report->STAMPADETTAGLIATALASER();
  EXPECT_DOUBLE_EQ(world.listing.RigaCorrente, 8.7);
  EXPECT_DOUBLE_EQ(world.listing.NettoDipendente, 1234.56);
  EXPECT_DOUBLE_EQ(world.listing.TotaleNetto, 1234.56);
  EXPECT_EQ(world.rows_written, 1);

  auto d = Drawn();
  ASSERT_EQ(d.size(), 9u * 4 + 1);
  const std::vector<std::string> first(d.begin(), d.begin() + 4);
  EXPECT_EQ(first, (std::vector<std::string>{"[396 1927 2380 2210]", "[2381 1927 10035 2210]",
                                             "1984 453 Cod. Dipendente", "1984 2438 0010000001"}));
  const std::vector<std::string> values = {d[7],  d[11], d[15], d[19], d[23],
                                           d[27], d[31], d[35]};
  EXPECT_EQ(values, (std::vector<std::string>{
                        "2267 2438 ROSSI MARIO", "2551 2438 IT", "2835 2438 60",
                        "3118 2438 X 03599 01600", "3402 2438 BANCA POPOLARE DI PROVA",
                        "3685 2438 BPPIITRRXXX", "3969 2438 IT60X3599160000000000000123",
                        "4252 2438 " + std::string(63, ' ') + "1234.56"}));
  // The separator under the 0.6 cm net-pay row, 18 cm wide from 1 cm.
  EXPECT_EQ(d.back(), "[396 4536 10602 4541]");
}

TEST_F(PrinterLayout, LabelsAreBoldAndValuesFollowTheBoxRowByRow) {
  std::vector<bool> answers = {true, true, false, true, false, false, true, false, true, false};
  size_t asked = 0;
  world.settings.ChkGrassetto = [&] { return answers[asked++]; };
  world.listing.RigaCorrente = 4.0;
  world.report->STAMPADETTAGLIATALASER();
  EXPECT_EQ(asked, 10u);  // once for the card's font, then once per row
  auto prints = Prints();
  for (size_t row = 0; row < 9; ++row) {
    EXPECT_TRUE(prints[2 * row].font_bold);
    EXPECT_EQ(prints[2 * row + 1].font_bold, answers[row + 1]) << row;
  }
}

TEST_F(PrinterLayout, ZeroNetPayLeavesItsPlaceEmptyButTheRowIsStillWritten) {
  world.builder.Employee("0010000001").SetNumber(vx::archive::fields::kEmployeeNetPay, 0);
  world.LoadEmployee("0010000001");
  world.listing.TotaleNetto = 10;
  world.listing.RigaCorrente = 4.5;
  world.report->STAMPASEMPLIFICATALASER();
  auto d = Drawn();
  EXPECT_EQ(std::vector<std::string>(d.begin() + 6, d.end()),
            // 4.5 + 0.1 - 0.6 falls just short of 4 in binary, hence 2267, not 2268.
            (std::vector<std::string>{"2267 453 0010000001", "2267 1587 ROSSI MARIO",
                                      "2267 7257 IT60X3599160000000000000123",
                                      "2267 10092 BANCA POPOLARE DI PROVA", "2267 14061 BPPIITRRXXX"}));
  EXPECT_EQ(d[0], "[396 2211 1530 2494]");
  EXPECT_DOUBLE_EQ(world.listing.TotaleNetto, 10);
  EXPECT_DOUBLE_EQ(world.listing.RigaCorrente, 5.0);
  EXPECT_EQ(world.rows_written, 1);
}

TEST_F(PrinterLayout, TotalsShowThreeDigitCountsAndLeaveZerosOut) {
  world.listing.RigaCorrente = 10;
  world.listing.DipendentiStampati = 1234;
  world.listing.TotaleNetto = 1234.5;
  world.report->TOTALILASER(false);
  EXPECT_EQ(Drawn(), (std::vector<std::string>{
                         "[396 5329 2380 5612]", "[2381 5329 10035 5612]",
                         "5386 453 TOT.DIP.STAMPATI", "5386 2438 " + std::string(67, ' ') + "234",
                         "[396 5613 2380 5896]", "[2381 5613 10035 5896]",
                         "5670 453 TOT.NETTO BUSTA", "5670 2438 " + std::string(63, ' ') + "1234.50"}));
  EXPECT_DOUBLE_EQ(world.listing.RigaCorrente, 10.5);  // left at the net-pay row
  EXPECT_EQ(world.listing.DipendentiStampati, 1234);

  world.printer().current.clear();
  world.listing.DipendentiStampati = 0;
  world.listing.TotaleNetto = 0;
  world.report->TOTALILASER(true);
  EXPECT_EQ(Drawn(), (std::vector<std::string>{
                         "[396 5613 6066 5896]", "[6066 5613 7200 5896]", "[7200 5613 14004 5896]",
                         "[14004 5613 15421 5896]", "5670 453 TOTALE GENERALE NETTO IN BUSTA",
                         "5670 7257 TOTALE DIPENDENTI STAMPATI"}));
}

TEST_F(PrinterLayout, BankTotalsCloseTheGroupAndEachFurtherBankStartsPageOne) {
  world.settings.TotaliPerBanca = true;
  world.settings.PaginaPerBanca = true;
  world.listing.NumeroBanche = 3;
  for (int16_t bank = 1; bank <= 3; ++bank) {
    world.printer().current.clear();
    world.listing = {10, 4, 2, 99.5, 0, 0, bank, 3};
    world.report->TOTALILASER(false);
    auto d = Drawn();
    EXPECT_EQ(d[2], "5386 453 TOT.DIP.BANCA");
    EXPECT_EQ(d[8], "[396 5953 10602 5958]");  // the group's separator at 11.1 cm
    EXPECT_EQ(world.listing.DipendentiStampati, 0);
    EXPECT_EQ(world.listing.TotaleNetto, 0);
    const bool another = bank < 3;
    const auto& calls = world.printer().current;
    EXPECT_EQ(std::any_of(calls.begin(), calls.end(), [](const auto& c) { return c.op == "NewPage"; }),
              another);
    EXPECT_EQ(world.listing.NumeroPagina, another ? 1 : 4);
    EXPECT_DOUBLE_EQ(world.listing.RigaCorrente, another ? 4.0 : 11.2);
    if (another) {
      EXPECT_EQ(d[9], "226 396 ELENCO DIPENDENTI CON PAGAMENTO IN C/C                     PAG. 01");
    }
  }
}

}  // namespace
}  // namespace vx::report
