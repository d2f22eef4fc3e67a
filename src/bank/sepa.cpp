#include "bank/sepa.h"

#include <algorithm>
#include <array>

namespace vx::bank {

namespace {

// The EU and EEA members, Switzerland, the United Kingdom, the microstates
// and Gibraltar, and the four Balkan and eastern members admitted in 2025.
// Territories that bank under another country's IBAN (the French overseas
// departments, Jersey, the Aland islands...) use that country's code.
constexpr std::array<SepaCountry, 41> kSepaCountries{{
    {"AD", 24, "4n4n12c"},       {"AL", 28, "8n16c"},        {"AT", 20, "5n11n"},
    {"BE", 16, "3n7n2n"},        {"BG", 22, "4a4n2n8c"},     {"CH", 21, "5n12c"},
    {"CY", 28, "3n5n16c"},       {"CZ", 24, "4n6n10n"},      {"DE", 22, "8n10n"},
    {"DK", 18, "4n9n1n"},        {"EE", 20, "2n2n11n1n"},    {"ES", 24, "4n4n1n1n10n"},
    {"FI", 18, "3n11n"},         {"FR", 27, "5n5n11c2n"},    {"GB", 22, "4a6n8n"},
    {"GI", 23, "4a15c"},         {"GR", 27, "3n4n16c"},      {"HR", 21, "7n10n"},
    {"HU", 28, "3n4n1n15n1n"},   {"IE", 22, "4a6n8n"},       {"IS", 26, "4n2n6n10n"},
    {"IT", 27, "1a5n5n12c"},     {"LI", 21, "5n12c"},        {"LT", 20, "5n11n"},
    {"LU", 20, "3n13c"},         {"LV", 21, "4a13c"},        {"MC", 27, "5n5n11c2n"},
    {"MD", 24, "2c18c"},         {"ME", 22, "3n13n2n"},      {"MK", 19, "3n10c2n"},
    {"MT", 31, "4a5n18c"},       {"NL", 18, "4a10n"},        {"NO", 15, "4n6n1n"},
    {"PL", 28, "8n16n"},         {"PT", 25, "4n4n11n2n"},    {"RO", 24, "4a16c"},
    {"SE", 24, "3n16n1n"},       {"SI", 19, "5n8n2n"},       {"SK", 24, "4n6n10n"},
    {"SM", 27, "1a5n5n12c"},     {"VA", 22, "3n15n"},
}};

bool IsKind(char c, char kind) {
  const bool digit = c >= '0' && c <= '9';
  const bool letter = c >= 'A' && c <= 'Z';
  return kind == 'n' ? digit : kind == 'a' ? letter : (digit || letter);
}

}  // namespace

std::span<const SepaCountry> SepaCountries() { return kSepaCountries; }

const SepaCountry* FindSepaCountry(std::string_view code) {
  const auto it = std::lower_bound(kSepaCountries.begin(), kSepaCountries.end(), code,
                                   [](const SepaCountry& c, std::string_view key) { return c.code < key; });
  return it != kSepaCountries.end() && it->code == code ? &*it : nullptr;
}

bool MatchesBbanFormat(std::string_view bban, std::string_view format) {
  size_t at = 0;
  size_t count = 0;
  for (const char f : format) {
    if (f >= '0' && f <= '9') {
      count = count * 10 + static_cast<size_t>(f - '0');
      continue;
    }
    for (; count > 0; --count, ++at) {
      if (at >= bban.size() || !IsKind(bban[at], f)) return false;
    }
  }
  return at == bban.size();
}

}  // namespace vx::bank
