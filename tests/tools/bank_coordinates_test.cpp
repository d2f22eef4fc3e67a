#include "demo/bank_coordinates.h"
#include "demo/employee_bank.h"

#include <gtest/gtest.h>

namespace vx::demo {
namespace {

// The published example of an Italian IBAN: IT60 X 05428 11101 000000123456.
TEST(BankCoordinates, PublishedItalianIbanGivesItsCinAndCheckDigits) {
  EXPECT_EQ(ItalianCin("05428", "11101", "000000123456"), 'X');
  EXPECT_EQ(IbanCheckDigits("IT", "X0542811101000000123456"), "60");
  EXPECT_TRUE(IbanIsValid("IT60X0542811101000000123456"));
}

TEST(BankCoordinates, CheckDigitsBelowTenKeepTheirLeadingZero) {
  int single_digit_checks = 0;
  for (int i = 0; i < 1000; ++i) {
    const std::string bban = "X05428111010000" + std::to_string(10000000 + i);
    const std::string check = IbanCheckDigits("IT", bban);
    ASSERT_EQ(check.size(), 2u);
    ASSERT_TRUE(IbanIsValid("IT" + check + bban)) << bban;
    if (check[0] == '0') ++single_digit_checks;
  }
  EXPECT_GT(single_digit_checks, 0);
}

TEST(BankCoordinates, AnyChangedDigitOrSwapIsCaught) {
  EXPECT_FALSE(IbanIsValid("IT60X0542811101000000123457"));
  EXPECT_FALSE(IbanIsValid("IT60X0542811101000000124356"));
  EXPECT_FALSE(IbanIsValid("IT61X0542811101000000123456"));
  EXPECT_FALSE(IbanIsValid("IT60"));
  EXPECT_FALSE(IbanIsValid("IT60X05428-1101000000123456"));
  EXPECT_NE(ItalianCin("05428", "11101", "000000123456"), ItalianCin("05428", "11101", "000000123457"));
  EXPECT_THROW(ItalianCin("0542", "11101", "000000123456"), std::invalid_argument);
}

}  // namespace
}  // namespace vx::demo

namespace vx::demo {
namespace {

std::string At(const RecordText& record, size_t position, size_t length) {
  return record.Bytes().substr(position - 1, length);
}

TEST(EmployeeBank, PublishedExampleLandsInTheEmployeeFields) {
  RecordText employee(15792);
  SetBankAccount(employee, {"5428", "11101", "123456", 0});
  EXPECT_EQ(At(employee, 3849, 4), "IT60");
  EXPECT_EQ(At(employee, 2703, 1), "X");
  EXPECT_EQ(At(employee, 2390, 11), "05428011101");
  EXPECT_EQ(At(employee, 3926, 16), "123456          ");
  EXPECT_EQ(At(employee, 15791, 1), "0");
}

TEST(EmployeeBank, EveryLayoutComposesAnIbanThatPassesItsCheck) {
  const BankAccount accounts[] = {{"3069", "1234", "12345678901234", 1},
                                  {"03069", "01234", "1234567890123", 0},
                                  {"03069", "01234", "CC0012345678", 0}};
  const size_t lengths[] = {27, 28, 27};
  for (size_t i = 0; i < 3; ++i) {
    RecordText employee(15792);
    SetBankAccount(employee, accounts[i]);
    const std::string iban = ComposedIban(accounts[i], At(employee, 3851, 2), At(employee, 2703, 1)[0]);
    EXPECT_EQ(iban.size(), lengths[i]) << iban;
    EXPECT_TRUE(IbanIsValid(iban)) << iban;
  }
  EXPECT_EQ(ComposedIban(accounts[0], "00", 'A'), "IT00A3069123412345678901234");
}

}  // namespace
}  // namespace vx::demo
