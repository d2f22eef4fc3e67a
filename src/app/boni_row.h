#pragma once
// The lines of the bank-transfer text file a spreadsheet imports: the
// header and one `;`-separated row per employee listed, every column at its
// fixed width.

#include <string>

namespace vx::app {

// The employee's fields as the record gives them (untrimmed texts).
struct BoniFields {
  std::string code;         // 10: company 3 + sub-company 3 + employee 4
  std::string surname;      // 30
  std::string name;         // 30
  std::string cin;          // 1
  std::string abi;          // 5, numeric
  std::string cab;          // 6, numeric
  std::string account;      // 16
  std::string iban_country; // 2
  std::string iban_check;   // 2
  double iban_layout = 0;   // 1 selects the 4 + 4 + 14 layout
  std::string bic;          // 11
  std::string bank_name;    // 38
};

// "cod.ditta;sottoditta;...;BANCA".
extern const char* const kBoniHeader;

// "BONI" + company code + "B" + slot + ".TXT".
std::string BoniFileName(const std::string& company_code, int slot);

// Net pay with two decimals and the given decimal separator, no thousands
// separator, right-aligned in 12 characters.
std::string NetPayColumn(double net_pay, char decimal_separator);

// One employee's row (without the line end).
std::string BoniRow(const BoniFields& f, double net_pay, char decimal_separator);

}  // namespace vx::app
