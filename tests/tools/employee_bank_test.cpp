#include "bank/iban.h"
#include "demo/employee_bank.h"

#include <gtest/gtest.h>

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

TEST(EmployeeBank, EveryLayoutComposesAnIbanWithItsCheckDigits) {
  const BankAccount accounts[] = {{"3069", "1234", "12345678901234", 1},
                                  {"03069", "01234", "1234567890123", 0},
                                  {"03069", "01234", "CC0012345678", 0}};
  const size_t lengths[] = {27, 28, 27};
  for (size_t i = 0; i < 3; ++i) {
    RecordText employee(15792);
    SetBankAccount(employee, accounts[i]);
    const std::string iban = ComposedIban(accounts[i], At(employee, 3851, 2), At(employee, 2703, 1)[0]);
    EXPECT_EQ(iban.size(), lengths[i]) << iban;
    // A 13-character account makes an IBAN too long for Italy; its check
    // digits are right all the same.
    EXPECT_EQ(iban.substr(2, 2), vx::bank::IbanCheckDigits("IT", iban.substr(4))) << iban;
  }
  EXPECT_EQ(ComposedIban(accounts[0], "00", 'A'), "IT00A3069123412345678901234");
}

}  // namespace
}  // namespace vx::demo
