// The rows of the bank-transfer text file, written out literally.

#include "app/boni_row.h"

#include <gtest/gtest.h>

namespace vx::app {
namespace {

BoniFields Rossi() {
  BoniFields f;
  f.code = "0010010007";
  f.surname = "ROSSI                         ";
  f.name = "MARIO                         ";
  f.cin = "X";
  f.abi = "03069";
  f.cab = "011600";
  f.account = "000000123456    ";
  f.iban_country = "IT";
  f.iban_check = "60";
  f.iban_layout = 0;
  f.bic = "BCITITMM   ";
  f.bank_name = "INTESA SANPAOLO                       ";
  return f;
}

TEST(BoniRow, HeaderNamesTheThirteenColumns) {
  EXPECT_STREQ(kBoniHeader,
               "cod.ditta;sottoditta;cod.dip.;COGNOME;NOME;CIN;ABI;CAB;NETTO IN BUSTA;"
               "CONTO CORRENTE;IBAN;BIC;BANCA");
}

TEST(BoniRow, FileNameCarriesCompanyAndSlot) {
  EXPECT_EQ(BoniFileName("001", 0), "BONI001B0.TXT");
  EXPECT_EQ(BoniFileName("001", 2), "BONI001B2.TXT");
}

TEST(BoniRow, FullRowUnderItalianSettings) {
  EXPECT_EQ(BoniRow(Rossi(), 1234.5, ','),
            "001;001;0007;ROSSI                         ;MARIO                         ;X;03069;011600;"
            "     1234,50;000000123456    ;IT60X0306911600000000123456;BCITITMM   ;"
            "INTESA SANPAOLO                       ");
}

TEST(BoniRow, NetPayKeepsSignAndSeparator) {
  EXPECT_EQ(NetPayColumn(1234.5, ','), "     1234,50");
  EXPECT_EQ(NetPayColumn(1234.5, '.'), "     1234.50");
  EXPECT_EQ(NetPayColumn(0, ','), "        0,00");
  EXPECT_EQ(NetPayColumn(-12.3, ','), "      -12,30");
  EXPECT_EQ(NetPayColumn(0.07, ','), "        0,07");
  // Ten digits and two decimals do not fit twelve: the last twelve remain.
  EXPECT_EQ(NetPayColumn(12345678901.25, ','), "345678901,25");
}

TEST(BoniRow, IbanLayoutsFollowFlagAndAccountLength) {
  BoniFields f = Rossi();
  f.iban_layout = 1;
  f.abi = "03599";
  f.cab = "001600";
  f.account = "123             ";
  EXPECT_EQ(IbanText(f), "IT60X3599160000000000000123");  // 4 + 4 + 14: 27
  f.iban_layout = 0;
  f.account = "1234567890123   ";
  EXPECT_EQ(IbanText(f), "IT60X03599016001234567890123");  // 5 + 5 + 13: 28
  EXPECT_EQ(IbanText(f).size(), 28u);
  f.account = "12345678901234  ";
  EXPECT_EQ(IbanText(f), "IT60X0359901600345678901234");  // 5 + 5 + 12, cut: 27
}

TEST(BoniRow, BicOfZerosOrBlankIsElevenBlanks) {
  BoniFields f = Rossi();
  for (const char* bic : {"00000000000", "000        ", "           "}) {
    f.bic = bic;
    const std::string row = BoniRow(f, 1, ',');
    EXPECT_EQ(row.substr(row.size() - 38 - 12, 12), std::string(11, ' ') + ";") << bic;
  }
  f.bic = "BCITITMM";
  const std::string row = BoniRow(f, 1, ',');
  EXPECT_EQ(row.substr(row.size() - 38 - 12, 12), "BCITITMM   ;");
}

TEST(BoniRow, SixDigitCabKeptWhole) {
  BoniFields f = Rossi();
  f.cab = "123456";
  EXPECT_NE(BoniRow(f, 1, ',').find(";03069;123456;"), std::string::npos);
}

}  // namespace
}  // namespace vx::app
