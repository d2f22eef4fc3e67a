// The header, the employee card and line, and the totals as the printer
// receives them: texts, fonts and twips.

#include <gtest/gtest.h>

#include "report/report_world.h"

namespace vx::report {
namespace {

namespace fields = vx::archive::fields;
using vx::testing::ReportWorld;
using vx::testing::TwipsX;
using vx::testing::TwipsY;

class PrinterLayout : public ::testing::Test {
 protected:
  void SetUp() override { world.Open(); }
  std::vector<output::PrinterCall> Of(const std::string& op) {
    std::vector<output::PrinterCall> out;
    for (const auto& c : world.printer().current)
      if (c.op == op) out.push_back(c);
    return out;
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const auto& c : Of("Print")) out.push_back(c.text);
    return out;
  }
  ReportWorld world;
};

TEST_F(PrinterLayout, DetailedHeaderShowsPageDescriptionAndCompany) {
  world.listing.NumeroPagina = 7;
  world.report->TESTATALASER(false);
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "ELENCO DIPENDENTI CON PAGAMENTO IN C/C                     PAG. 07",
                         "MESE : NOVEMBRE 2023 STIPENDI                      ",
                         // The blank third code still gets its separator.
                         "Azienda   : 001 ALFA SRL ",
                         "Indirizzo : VIA ROMA 1",
                         "Comune    : 20100 MILANO MI",
                         "Num. C/C  : 000012345678 BANCA DI PROVA",
                     }));
  auto prints = Of("Print");
  const double rows[] = {1, 1.4, 2, 2.4, 2.8, 3.2};
  for (size_t i = 0; i < prints.size(); ++i) {
    EXPECT_EQ(prints[i].y, TwipsY(rows[i])) << i;
    EXPECT_EQ(prints[i].x, 396);
    EXPECT_EQ(prints[i].font_name, "Courier New");
    EXPECT_TRUE(prints[i].font_bold);
    EXPECT_EQ(prints[i].font_size, i < 2 ? 12 : 11);
  }
  EXPECT_TRUE(Of("Box").empty());
}

TEST_F(PrinterLayout, HeaderChoosesTheCompanyAccountAndCutsTheDescription) {
  world.listing.NumeroPagina = 123;
  world.listing.ContoDitta = 1;
  world.settings.DescrizioneStampa = "TREDICESIMA MENSILITA ANNO 2023 SALDO";
  world.report->TESTATALASER(true);
  auto texts = Texts();
  ASSERT_GE(texts.size(), 5u);
  EXPECT_EQ(texts[0],
            "ELENCO DIPENDENTI CON PAGAMENTO IN C/C PER IL MESE : NOVEMBRE 2023 "
            "TREDICESIMA MENSILITA ANNO 202 PAG. 23");
  EXPECT_EQ(texts[4], "Num. C/C  : CC2 SECONDA BANCA");

  // No such account: the line is left out, label and all.
  for (int16_t conto : {-1, 3}) {
    world.printer().current.clear();
    world.listing.ContoDitta = conto;
    world.report->TESTATALASER(false);
    EXPECT_EQ(Texts().size(), 5u);
    EXPECT_EQ(Texts().back(), "Comune    : 20100 MILANO MI");
  }
}

TEST_F(PrinterLayout, SimplifiedHeaderHasSixFramedHeadings) {
  world.listing.NumeroPagina = 1;
  world.report->TESTATALASER(true);
  auto boxes = Of("Box");
  ASSERT_EQ(boxes.size(), 6u);
  const double lefts[] = {1, 3, 11, 13, 18, 25}, widths[] = {2, 8, 2, 5, 7, 2.5};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(boxes[i].args[0], TwipsX(lefts[i]));
    EXPECT_EQ(boxes[i].args[1], 1927);  // frames at 4 cm
    EXPECT_EQ(boxes[i].args[2] - boxes[i].args[0], static_cast<long>(widths[i] * 567));
    EXPECT_EQ(boxes[i].args[3] - boxes[i].args[1], 283);
  }
  auto prints = Of("Print");
  ASSERT_EQ(prints.size(), 11u);
  EXPECT_EQ(prints[5].text, "Cod. Dip.");
  EXPECT_EQ(prints[5].y, 1984);  // headings at 4.1 cm
  EXPECT_EQ(prints[5].x, TwipsX(1.1));
  EXPECT_EQ(prints[5].font_size, 8);
  EXPECT_EQ(prints[10].text, "Cod. BIC");
  EXPECT_EQ(prints[10].x, TwipsX(25.1));
}

TEST_F(PrinterLayout, CardHasNineFramedRowsAndIsFourPointSevenHigh) {
  world.listing.RigaCorrente = 4.0;
  world.settings.ChkGrassetto = [] { return false; };
  world.report->STAMPADETTAGLIATALASER();

  EXPECT_DOUBLE_EQ(world.listing.RigaCorrente, 8.7);
  EXPECT_DOUBLE_EQ(world.listing.NettoDipendente, 1234.56);
  EXPECT_DOUBLE_EQ(world.listing.TotaleNetto, 1234.56);
  EXPECT_EQ(world.rows_written, 1);

  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "Cod. Dipendente", "0010000001",
                         "Cognome e Nome", "ROSSI MARIO",
                         "Identif. Paese", "IT",
                         "Check Digit EU", "60",
                         "CIN ABI CAB", "X 03599 01600",
                         "Banca", "BANCA POPOLARE DI PROVA",
                         "Codice BIC", "BPPIITRRXXX",
                         "IBAN", "IT60X3599160000000000000123",
                         "Netto in busta", std::string(63, ' ') + "1234.56",
                     }));
  auto prints = Of("Print");
  for (size_t row = 0; row < 9; ++row) {
    EXPECT_EQ(prints[2 * row].y, TwipsY(4.1 + 0.5 * row)) << row;
    EXPECT_TRUE(prints[2 * row].font_bold);       // labels bold
    EXPECT_FALSE(prints[2 * row + 1].font_bold);  // values as the box says
    EXPECT_EQ(prints[2 * row + 1].x, TwipsX(4.6));
    EXPECT_EQ(prints[2 * row].font_size, 9);
  }
  auto boxes = Of("Box");
  ASSERT_EQ(boxes.size(), 19u);
  EXPECT_EQ(boxes[0].args, (std::vector<double>{396, 1927, 396 + 1984, 1927 + 283}));
  EXPECT_EQ(boxes[1].args, (std::vector<double>{TwipsX(4.5), 1927, TwipsX(4.5) + 7654, 1927 + 283}));
  EXPECT_EQ(boxes[16].args[1], TwipsY(8.0));
  // The separator under the 0.6 cm net-pay row, 18 cm wide from 1 cm.
  EXPECT_EQ(boxes[18].args, (std::vector<double>{396, TwipsY(8.6), 396 + 10206, TwipsY(8.6) + 5}));
}

TEST_F(PrinterLayout, ZeroNetPayLeavesItsPlaceEmptyButIsStillCounted) {
  world.builder.Employee("0010000001").SetNumber(fields::kEmployeeNetPay, 0);
  world.LoadEmployee("0010000001");
  world.listing.TotaleNetto = 10;
  world.listing.RigaCorrente = 4.5;
  world.report->STAMPASEMPLIFICATALASER();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"0010000001", "ROSSI MARIO",
                                               "IT60X3599160000000000000123",
                                               "BANCA POPOLARE DI PROVA", "BPPIITRRXXX"}));
  EXPECT_DOUBLE_EQ(world.listing.TotaleNetto, 10);
  EXPECT_DOUBLE_EQ(world.listing.NettoDipendente, 0);
  EXPECT_DOUBLE_EQ(world.listing.RigaCorrente, 5.0);
  EXPECT_EQ(world.rows_written, 1);
  EXPECT_EQ(Of("Box").size(), 6u);
  EXPECT_EQ(Of("Box")[0].args[1], TwipsY(4.5));
  EXPECT_EQ(Of("Print")[0].y, TwipsY(4.6));
}

TEST_F(PrinterLayout, BoldValuesFollowTheBoxRowByRow) {
  std::vector<bool> answers = {true, true, false, true, false, false, true, false, true, false};
  size_t asked = 0;
  world.settings.ChkGrassetto = [&] { return answers[asked++ % answers.size()]; };
  world.listing.RigaCorrente = 4.0;
  world.report->STAMPADETTAGLIATALASER();
  EXPECT_EQ(asked, 10u);  // once for the card's font, then once per row
  auto prints = Of("Print");
  for (size_t row = 0; row < 9; ++row) EXPECT_EQ(prints[2 * row + 1].font_bold, answers[row + 1]);
}

TEST_F(PrinterLayout, DetailedTotalsLabelsCountAndAmount) {
  world.listing.RigaCorrente = 10;
  world.listing.DipendentiStampati = 7;
  world.listing.TotaleNetto = 1234.5;
  world.report->TOTALILASER(false);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"TOT.DIP.STAMPATI", std::string(67, ' ') + "007",
                                               "TOT.NETTO BUSTA",
                                               std::string(63, ' ') + "1234.50"}));
  EXPECT_DOUBLE_EQ(world.listing.RigaCorrente, 10.5);  // at the net-pay row
  EXPECT_EQ(world.listing.DipendentiStampati, 7);
  EXPECT_EQ(Of("Box").size(), 4u);
  for (const auto& p : Of("Print")) {
    EXPECT_TRUE(p.font_bold);
    EXPECT_EQ(p.font_size, 9);
  }

  // Nothing printed: the labels stay, count and amount are left empty.
  world.printer().current.clear();
  world.listing.DipendentiStampati = 0;
  world.listing.TotaleNetto = 0;
  world.report->TOTALILASER(false);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"TOT.DIP.STAMPATI", "TOT.NETTO BUSTA"}));

  world.printer().current.clear();
  world.listing.DipendentiStampati = 1234;
  world.report->TOTALILASER(false);
  EXPECT_EQ(Texts()[1], std::string(67, ' ') + "234");
}

TEST_F(PrinterLayout, BankTotalsCloseTheGroupAndEachFurtherBankStartsPageOne) {
  world.settings.TotaliPerBanca = true;
  world.settings.PaginaPerBanca = true;
  world.listing.NumeroBanche = 3;
  for (int16_t bank = 1; bank <= 3; ++bank) {
    world.printer().current.clear();
    world.listing.IndiceBanca = bank;
    world.listing.NumeroPagina = 4;
    world.listing.RigaCorrente = 10;
    world.listing.DipendentiStampati = 2;
    world.listing.TotaleNetto = 99.5;
    world.report->TOTALILASER(false);
    EXPECT_EQ(Texts()[0], "TOT.DIP.BANCA");
    EXPECT_EQ(Texts()[1], std::string(67, ' ') + "002");
    EXPECT_EQ(world.listing.DipendentiStampati, 0);
    EXPECT_EQ(world.listing.TotaleNetto, 0);
    auto boxes = Of("Box");
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[4].args[1], TwipsY(11.1));  // the group's separator
    if (bank < 3) {
      EXPECT_EQ(Of("NewPage").size(), 1u);
      EXPECT_EQ(world.listing.NumeroPagina, 1);
      EXPECT_EQ(Texts()[4], "ELENCO DIPENDENTI CON PAGAMENTO IN C/C                     PAG. 01");
      EXPECT_DOUBLE_EQ(world.listing.RigaCorrente, 4.0);
    } else {
      EXPECT_TRUE(Of("NewPage").empty());
      EXPECT_EQ(world.listing.NumeroPagina, 4);
      EXPECT_DOUBLE_EQ(world.listing.RigaCorrente, 11.2);
    }
  }
}

TEST_F(PrinterLayout, SimplifiedTotalsAreOneLineUnderTheColumns) {
  world.listing.RigaCorrente = 6.5;
  world.listing.DipendentiStampati = 4;
  world.listing.TotaleNetto = 5000;
  world.report->TOTALILASER(true);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"TOTALE GENERALE NETTO IN BUSTA", "    5000.00",
                                               "TOTALE DIPENDENTI STAMPATI",
                                               std::string(10, ' ') + "004"}));
  auto boxes = Of("Box");
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[2].args[0], TwipsX(13));
  EXPECT_EQ(boxes[2].args[2] - boxes[2].args[0], 6804);  // 12 cm: IBAN and bank columns
  EXPECT_DOUBLE_EQ(world.listing.RigaCorrente, 6.5);
  EXPECT_EQ(world.listing.DipendentiStampati, 4);
  EXPECT_EQ(Of("Print")[1].x, TwipsX(11.1));
  EXPECT_EQ(Of("Print")[1].font_size, 8);
}

}  // namespace
}  // namespace vx::report
