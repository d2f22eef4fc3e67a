#include "employee_bank.h"

#include "archive/descriptors.h"
#include "bank/cin.h"
#include "bank/iban.h"

namespace vx::demo {

namespace {

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::string ZeroPadRight(std::string_view text, size_t width) {
  std::string padded = std::string(width, '0') + std::string(text);
  return padded.substr(padded.size() - width);
}

std::string ComposedIban(const BankAccount& bank, std::string_view check_digits, char cin) {
  const std::string account = Trimmed(bank.account);
  std::string body;
  if (bank.layout == 1) {
    body = ZeroPadRight(Trimmed(bank.abi), 4) + ZeroPadRight(Trimmed(bank.cab), 4) + ZeroPadRight(account, 14);
  } else {
    body = ZeroPadRight(Trimmed(bank.abi), 5) + ZeroPadRight(Trimmed(bank.cab), 5) +
           ZeroPadRight(account, account.size() == 13 ? 13 : 12);
  }
  return "IT" + std::string(check_digits) + cin + body;
}

void SetBankAccount(RecordText& employee, const BankAccount& bank) {
  namespace f = vx::archive::fields;
  // The CIN always guards the domestic coordinates: 5-digit ABI and CAB and
  // the last 12 characters of the account.
  const char cin = *vx::bank::ItalianCin(ZeroPadRight(Trimmed(bank.abi), 5), ZeroPadRight(Trimmed(bank.cab), 5),
                              ZeroPadRight(Trimmed(bank.account), 12));
  const std::string iban = ComposedIban(bank, "00", cin);
  const std::string check = vx::bank::IbanCheckDigits("IT", iban.substr(4));
  employee.SetText(f::kEmployeeIbanCountry, "IT")
      .SetText(f::kEmployeeIbanCheckDigits, check)
      .SetText(f::kEmployeeCin, std::string(1, cin))
      .SetNumber(f::kEmployeeAbi, std::stoll(Trimmed(bank.abi)))
      .SetNumber(f::kEmployeeCab, std::stoll(Trimmed(bank.cab)))
      .SetText(f::kEmployeeAccount, bank.account)
      .SetNumber(f::kEmployeeIbanLayout, bank.layout);
}

}  // namespace vx::demo
