#pragma once
// Check characters of Italian bank coordinates: the CIN that guards ABI, CAB
// and account, and the two IBAN check digits (mod 97).

#include <string>
#include <string_view>

namespace vx::demo {

// CIN letter of a BBAN body: 5-digit ABI, 5-digit CAB, 12-character account
// (digits or upper-case letters). Throws std::invalid_argument on other input.
char ItalianCin(std::string_view abi5, std::string_view cab5, std::string_view account12);

// Two check digits ("02".."98") for an IBAN of the given country and BBAN.
std::string IbanCheckDigits(std::string_view country, std::string_view bban);

// True when the whole IBAN ("IT60X0542811101000000123456") passes mod 97.
bool IbanIsValid(std::string_view iban);

// Left-pads text with '0' to width, keeping its last `width` characters, as
// account numbers and bank codes are written into an IBAN.
std::string ZeroPadRight(std::string_view text, size_t width);

}  // namespace vx::demo
