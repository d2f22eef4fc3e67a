#pragma once
// Fills an employee's bank fields so that they agree with each other: the
// CIN guards ABI, CAB and account, and the IBAN check digits are right for
// the IBAN the listing composes from these fields in the chosen layout.

#include <string>
#include <string_view>

#include "record_text.h"

namespace vx::demo {

struct BankAccount {
  std::string abi;      // up to 5 digits
  std::string cab;      // up to 5 digits (stored in a 6-digit field)
  std::string account;  // as the bank gives it, up to 16 characters
  int layout = 0;       // 1: 4-digit ABI and CAB, 14-character account
};

// Left-pads text with '0' to width, keeping its last `width` characters, as
// account numbers and bank codes are written into an IBAN.
std::string ZeroPadRight(std::string_view text, size_t width);

// The IBAN the listing shows for these fields with the given check digits
// and CIN: 27 characters, or 28 for a 13-character account outside layout 1.
std::string ComposedIban(const BankAccount& bank, std::string_view check_digits, char cin);

// Sets P573 "IT", P574, P527, P338, P339, P092 and PB30 of an employee record.
void SetBankAccount(RecordText& employee, const BankAccount& bank);

}  // namespace vx::demo
