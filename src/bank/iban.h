#pragma once
// IBAN checks: the characters, the length and BBAN layout registered for a
// SEPA country, and the ISO 7064 mod-97 check digits.

#include <string>
#include <string_view>

#include "bank/verdict.h"

namespace vx::bank {

// The IBAN without blanks and in upper case, as a bank would read it from
// "it60 x054 2811 1010 0000 0123 456".
std::string CompactIban(std::string_view text);

// Checks an IBAN exactly as given, in this order:
//   Empty             blank text;
//   InvalidCharacters anything but A-Z and 0-9 (so lower case and blanks too);
//   InvalidComponent  the first two characters are not a SEPA country;
//   InvalidLength     not the country's IBAN length (expected: that length);
//   InvalidFormat     check digits not two digits, or the BBAN not laid out as
//                     the country's;
//   InvalidChecksum   mod 97 is not 1 (expected: the right check digits).
Verdict ValidateIban(std::string_view iban);

inline bool IbanIsValid(std::string_view iban) { return ValidateIban(iban).Valid(); }

// The two check digits ("02".."98") an IBAN of this country and BBAN must
// carry; empty when either holds a character outside A-Z and 0-9.
std::string IbanCheckDigits(std::string_view country, std::string_view bban);

}  // namespace vx::bank
