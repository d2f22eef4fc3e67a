#pragma once
// The countries whose banks take SEPA transfers, with the length and BBAN
// layout of their IBANs as the IBAN registry gives them.

#include <span>
#include <string_view>

namespace vx::bank {

struct SepaCountry {
  std::string_view code;         // ISO 3166 country code of the IBAN, "IT"
  int iban_length;               // whole IBAN, country code and check digits included
  // The BBAN (what follows the check digits) as runs of a count and a kind:
  // "n" digits, "a" upper-case letters, "c" digits or upper-case letters.
  // Italy: "1a5n5n12c".
  std::string_view bban_format;
};

// Every SEPA country, in alphabetical order of code.
std::span<const SepaCountry> SepaCountries();

// The country of that IBAN code, or nullptr when it is not in SEPA.
const SepaCountry* FindSepaCountry(std::string_view code);

inline bool IsSepaCountry(std::string_view code) { return FindSepaCountry(code) != nullptr; }

// True when the text follows a BBAN format such as "1a5n5n12c", length included.
bool MatchesBbanFormat(std::string_view bban, std::string_view format);

}  // namespace vx::bank
