#pragma once
// BIC checks: the shape of a business identifier code, which names the bank
// (and its country) a transfer goes to.

#include <string>
#include <string_view>

#include "bank/verdict.h"

namespace vx::bank {

// The BIC without blanks and in upper case.
std::string CompactBic(std::string_view text);

// Checks a BIC exactly as given:
//   Empty             blank text;
//   InvalidCharacters anything but A-Z and 0-9;
//   InvalidLength     neither 8 nor 11 characters (expected "8 o 11", as
//                     the operator reads it);
//   InvalidFormat     not 4 letters for the institution, 2 letters for the
//                     country, 2 letters or digits for the location and
//                     optionally 3 for the branch.
// Whether the country is one the transfer can go to is the caller's concern.
Verdict ValidateBic(std::string_view bic);

inline bool BicIsValid(std::string_view bic) { return ValidateBic(bic).Valid(); }

// Characters 5 and 6 of a BIC, its country; empty when the BIC is shorter.
inline std::string_view BicCountry(std::string_view bic) { return bic.size() >= 6 ? bic.substr(4, 2) : std::string_view{}; }

}  // namespace vx::bank
