#include "bank/iban.h"

#include <optional>

#include "bank/sepa.h"

namespace vx::bank {

namespace {

bool IsUpperAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

// Remainder mod 97 of the number the text stands for once every letter is
// replaced by its two digits (A = 10 ... Z = 35); nullopt on other characters.
std::optional<int> Mod97(std::string_view text) {
  int remainder = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      remainder = (remainder * 10 + (c - '0')) % 97;
    } else if (c >= 'A' && c <= 'Z') {
      remainder = (remainder * 100 + (c - 'A' + 10)) % 97;
    } else {
      return std::nullopt;
    }
  }
  return remainder;
}

}  // namespace

std::string CompactIban(std::string_view text) {
  std::string compact;
  for (const char c : text) {
    if (c == ' ') continue;
    compact += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return compact;
}

std::string IbanCheckDigits(std::string_view country, std::string_view bban) {
  const std::optional<int> remainder = Mod97(std::string(bban) + std::string(country) + "00");
  if (!remainder || country.size() != 2) return {};
  const int check = 98 - *remainder;
  return {static_cast<char>('0' + check / 10), static_cast<char>('0' + check % 10)};
}

Verdict ValidateIban(std::string_view iban) {
  if (iban.find_first_not_of(' ') == std::string_view::npos) return {Failure::Empty, {}};
  for (const char c : iban) {
    if (!IsUpperAlnum(c)) return {Failure::InvalidCharacters, {}};
  }
  const SepaCountry* country = FindSepaCountry(iban.substr(0, 2));
  if (country == nullptr) return {Failure::InvalidComponent, {}};
  if (iban.size() != static_cast<size_t>(country->iban_length)) {
    return {Failure::InvalidLength, std::to_string(country->iban_length)};
  }
  const std::string_view bban = iban.substr(4);
  if (!MatchesBbanFormat(iban.substr(2, 2), "2n") || !MatchesBbanFormat(bban, country->bban_format)) {
    return {Failure::InvalidFormat, {}};
  }
  // Mod 97 decides, not a comparison with the computed digits: "00", "01" and
  // "99" pass for a few BBANs and banks accept them.
  if (Mod97(std::string(bban) + std::string(iban.substr(0, 4))) != 1) {
    return {Failure::InvalidChecksum, IbanCheckDigits(iban.substr(0, 2), bban)};
  }
  return {};
}

}  // namespace vx::bank
