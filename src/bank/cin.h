#pragma once
// The CIN, the check letter of Italian bank coordinates: it guards the ABI,
// the CAB and the 12-character account, and stands first in an Italian BBAN.

#include <optional>
#include <string_view>

#include "bank/verdict.h"

namespace vx::bank {

// The CIN of a 5-digit ABI, a 5-digit CAB and a 12-character account (digits
// and upper-case letters); nullopt when the parts are not of that shape.
std::optional<char> ItalianCin(std::string_view abi, std::string_view cab, std::string_view account);

// Checks an Italian BBAN, CIN + ABI + CAB + account as it follows the check
// digits of an IT IBAN ("X0542811101000000123456"):
//   InvalidLength   not 23 characters (expected "23");
//   InvalidFormat   not a letter, ten digits and twelve digits or letters;
//   InvalidChecksum the CIN disagrees (expected: the right CIN).
Verdict ValidateItalianBban(std::string_view bban);

}  // namespace vx::bank
