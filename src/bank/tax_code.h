#pragma once
// Italian tax codes: the partita IVA of a business (11 digits with a check
// digit) and the codice fiscale of a person (16 characters with a check
// letter), which for a business is its partita IVA.

#include <string>
#include <string_view>

#include "bank/verdict.h"

namespace vx::bank {

// The code without blanks and in upper case.
std::string CompactTaxCode(std::string_view text);

// Checks a partita IVA exactly as given, in this order:
//   Empty             blank text;
//   InvalidCharacters anything but A-Z and 0-9;
//   InvalidFormat     a letter, or the first seven digits (the business's
//                     own number) all zero;
//   InvalidLength     not 11 digits (expected "11");
//   InvalidComponent  digits 8 to 10 name no VAT office (001-100 for the
//                     provinces, 120, 121, 888, 999);
//   InvalidChecksum   the last digit disagrees (expected: the right digit).
Verdict ValidatePartitaIva(std::string_view code);

// Checks a codice fiscale exactly as given: 11 characters are a partita IVA
// (as above), 16 the code of a person:
//   Empty             blank text;
//   InvalidCharacters anything but A-Z and 0-9;
//   InvalidLength     neither 11 nor 16 characters (expected "11 o 16");
//   InvalidFormat     not six letters, the year, a month letter, the day,
//                     a letter and three digits of the place, and a letter;
//                     a digit may be written as one of LMNPQRSTUV, as the
//                     codes of namesakes born alike have them;
//   InvalidChecksum   the last letter disagrees (expected: the right letter);
//   InvalidComponent  no such birth date (women's days are counted from 41).
Verdict ValidateCodiceFiscale(std::string_view code);

inline bool CodiceFiscaleIsValid(std::string_view code) { return ValidateCodiceFiscale(code).Valid(); }

}  // namespace vx::bank
