#include <gtest/gtest.h>

#include "bank/bic.h"
#include "bank/cin.h"
#include "bank/iban.h"
#include "bank/sepa.h"
#include "bank/tax_code.h"

namespace vx::bank {
namespace {

struct Case {
  const char* text;
  Failure failure;
  const char* expected;
};

TEST(Iban, EachRuleNamesItsFailureAndWhatItExpected) {
  const Case cases[] = {
      {"IT60X0542811101000000123456", Failure::None, ""},
      {"SM86U0322509800000000270100", Failure::None, ""},
      {"DE89370400440532013000", Failure::None, ""},
      {"GB29NWBK60161331926819", Failure::None, ""},
      {"NO9386011117947", Failure::None, ""},
      {"   ", Failure::Empty, ""},
      {"IT60X0542811101000000123456 ", Failure::InvalidCharacters, ""},
      {"it60x0542811101000000123456", Failure::InvalidCharacters, ""},
      {"IT60X05428 11101000000123456", Failure::InvalidCharacters, ""},
      {"US60X0542811101000000123456", Failure::InvalidComponent, ""},
      {"BR1800360305000010009795493C1", Failure::InvalidComponent, ""},
      {"IT60X054281110100000012345", Failure::InvalidLength, "27"},
      {"IT60X05428111010000001234567", Failure::InvalidLength, "27"},
      {"IT6XX0542811101000000123456", Failure::InvalidFormat, ""},
      {"IT6000542811101000000123456", Failure::InvalidFormat, ""},
      {"IT61X0542811101000000123456", Failure::InvalidChecksum, "60"},
      {"IT60X0542811101000000123457", Failure::InvalidChecksum, "33"},
      {"IT60X0542811101000000124356", Failure::InvalidChecksum, "10"},
  };
  for (const Case& c : cases) {
    const Verdict v = ValidateIban(c.text);
    EXPECT_EQ(v.failure, c.failure) << c.text;
    EXPECT_EQ(v.expected, c.expected) << c.text;
  }
  EXPECT_EQ(CompactIban("it60 x054 2811 1010 0000 0123 456"), "IT60X0542811101000000123456");
}

TEST(Iban, CheckDigitsKeepTheirLeadingZeroAndRareOnesPassByMod97) {
  EXPECT_EQ(IbanCheckDigits("IT", "X0542811101000000124356"), "10");
  EXPECT_EQ(IbanCheckDigits("IT", "x0542811101000000123456"), "");
  // Check digits 98 and 01 both leave remainder 1.
  EXPECT_EQ(IbanCheckDigits("IT", "I0542811101000000100061"), "98");
  EXPECT_TRUE(IbanIsValid("IT01I0542811101000000100061"));
}

TEST(Cin, PublishedCoordinatesGiveTheirLetter) {
  EXPECT_EQ(ItalianCin("05428", "11101", "000000123456"), 'X');
  EXPECT_EQ(ItalianCin("03225", "09800", "000000270100"), 'U');
  EXPECT_EQ(ItalianCin("03069", "09606", "100000000001"), 'U');
  EXPECT_EQ(ItalianCin("07601", "03200", "0000CC123456"), 'W');
  EXPECT_EQ(ItalianCin("00000", "00000", "000000000000"), 'L');
  EXPECT_EQ(ItalianCin("99999", "99999", "ZZZZZZZZZZZZ"), 'W');
  EXPECT_EQ(ItalianCin("5428", "11101", "000000123456"), std::nullopt);
  EXPECT_EQ(ItalianCin("05428", "11101", "00000012345a"), std::nullopt);
}

TEST(Cin, ItalianBbanChecksItsLetter) {
  // Mod 97 alone accepts IT40S05428..., whose CIN should be X.
  EXPECT_TRUE(IbanIsValid("IT40S0542811101000000123456"));
  const Case cases[] = {
      {"X0542811101000000123456", Failure::None, ""},
      {"S0542811101000000123456", Failure::InvalidChecksum, "X"},
      {"X05428111010000001234567", Failure::InvalidLength, "23"},
      {"50542811101000000123456", Failure::InvalidFormat, ""},
      {"X054281110A000000123456", Failure::InvalidFormat, ""},
  };
  for (const Case& c : cases) {
    const Verdict v = ValidateItalianBban(c.text);
    EXPECT_EQ(v.failure, c.failure) << c.text;
    EXPECT_EQ(v.expected, c.expected) << c.text;
  }
}

TEST(Bic, ShapeOfInstitutionCountryLocationAndBranch) {
  const Case cases[] = {
      {"BCITITMM", Failure::None, ""},       {"BCITITMM500", Failure::None, ""},
      {"DEUTDEFF", Failure::None, ""},       {"", Failure::Empty, ""},
      {"bcititmm", Failure::InvalidCharacters, ""}, {"BCIT ITMM", Failure::InvalidCharacters, ""},
      {"BCITITMM5", Failure::InvalidLength, ""},    {"BCITIT", Failure::InvalidLength, ""},
      {"BC1TITMM", Failure::InvalidFormat, ""},     {"BCITI7MM", Failure::InvalidFormat, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ValidateBic(c.text).failure, c.failure) << c.text;
  // The message says which lengths a BIC may have.
  EXPECT_EQ(ValidateBic("BCITITMM5").expected, "8 o 11");
  EXPECT_EQ(BicCountry("BCITITMM"), "IT");
  EXPECT_EQ(CompactBic(" bcit itmm "), "BCITITMM");
}

TEST(TaxCode, EachRuleNamesItsFailureAndWhatItExpected) {
  const Case cases[] = {
      {"RSSMRA85T10A562S", Failure::None, ""},
      // A namesake's code: digits of the date and place written as letters.
      {"RSSMRA85T10A56NH", Failure::None, ""},
      {"RSSMRAURTMLARSNL", Failure::None, ""},
      {"RSSMRA84B29A562Y", Failure::None, ""},  // 29 February 1984
      {"01234560017", Failure::None, ""},
      {"01234568887", Failure::None, ""},
      {"", Failure::Empty, ""},
      {"rssmra85t10a562s", Failure::InvalidCharacters, ""},
      {"RSSMRA85T10A562", Failure::InvalidLength, "11 o 16"},
      {"RSSMRA85T10A562T", Failure::InvalidChecksum, "S"},
      {"RSSMRA85B29A562Z", Failure::InvalidComponent, ""},  // 1985 had none
      {"01234560018", Failure::InvalidChecksum, "7"},
      {"01234561015", Failure::InvalidComponent, ""},  // no VAT office 101
  };
  for (const Case& c : cases) {
    const Verdict v = ValidateCodiceFiscale(c.text);
    EXPECT_EQ(v.failure, c.failure) << c.text;
    EXPECT_EQ(v.expected, c.expected) << c.text;
  }
  EXPECT_EQ(ValidatePartitaIva("0123456001").expected, "11");
  EXPECT_EQ(CompactTaxCode(" rssmra 85t10 a562s"), "RSSMRA85T10A562S");
}

// Lengths and layouts are held against python-stdnum's registry in
// stdnum_test; here, what the lookup itself relies on.
TEST(Sepa, CountriesAreSortedForTheLookupWhichTakesUpperCaseCodesOnly) {
  const auto countries = SepaCountries();
  for (size_t i = 1; i < countries.size(); ++i) EXPECT_LT(countries[i - 1].code, countries[i].code);
  EXPECT_TRUE(IsSepaCountry("AD") && IsSepaCountry("VA") && IsSepaCountry("CH"));
  EXPECT_FALSE(IsSepaCountry("US") || IsSepaCountry("it"));
}

}  // namespace
}  // namespace vx::bank
