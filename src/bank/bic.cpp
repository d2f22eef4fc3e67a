#include "bank/bic.h"

#include <string>

#include "bank/sepa.h"

namespace vx::bank {

std::string CompactBic(std::string_view text) {
  std::string compact;
  for (const char c : text) {
    if (c == ' ') continue;
    compact += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return compact;
}

Verdict ValidateBic(std::string_view bic) {
  if (bic.find_first_not_of(' ') == std::string_view::npos) return {Failure::Empty, {}};
  if (!MatchesBbanFormat(bic, std::to_string(bic.size()) + "c")) return {Failure::InvalidCharacters, {}};
  if (bic.size() != 8 && bic.size() != 11) return {Failure::InvalidLength, "8 o 11"};
  if (!MatchesBbanFormat(bic.substr(0, 6), "6a")) return {Failure::InvalidFormat, {}};
  return {};
}

}  // namespace vx::bank
