#include "bank/tax_code.h"

#include <algorithm>
#include <string>

namespace vx::bank {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }

Verdict Blank(std::string_view code) {
  if (code.find_first_not_of(' ') == std::string_view::npos) return {Failure::Empty, {}};
  for (const char c : code) {
    if (!IsDigit(c) && !IsLetter(c)) return {Failure::InvalidCharacters, {}};
  }
  return {};
}

// The letters a namesake's code writes in place of the digits 0 to 9.
constexpr std::string_view kDigitLetters = "LMNPQRSTUV";
constexpr std::string_view kMonthLetters = "ABCDEHLMPRST";

// The value of a digit of the birth date or place, written either way; -1
// for any other character.
int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  const std::size_t at = kDigitLetters.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

bool IsBirthDate(std::string_view code) {
  const int year = DigitValue(code[6]) * 10 + DigitValue(code[7]);
  const int month = static_cast<int>(kMonthLetters.find(code[8])) + 1;
  // Women's days are the day plus 40; the day is read modulo 40.
  const int day = (DigitValue(code[9]) * 10 + DigitValue(code[10])) % 40;
  static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  // Only the year's last two digits are there: those divisible by four
  // are taken for a leap year, as 2000 was.
  if (month == 2 && day == 29) return year % 4 == 0;
  return day >= 1 && day <= kDays[month - 1];
}

char CheckLetter(std::string_view first15) {
  // Characters in odd positions (counting from 1) weigh by this table, those
  // in even positions by their own rank; a digit ranks as the letter of the
  // same rank (0 as A, 1 as B...).
  static constexpr int kOddWeights[26] = {1,  0, 5,  7,  9,  13, 15, 17, 19, 21, 2,  4,  18,
                                          20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
  int sum = 0;
  for (std::size_t i = 0; i < first15.size(); ++i) {
    const int rank = IsDigit(first15[i]) ? first15[i] - '0' : first15[i] - 'A';
    sum += i % 2 == 0 ? kOddWeights[rank] : rank;
  }
  return static_cast<char>('A' + sum % 26);
}

}  // namespace

std::string CompactTaxCode(std::string_view text) {
  std::string compact;
  for (const char c : text) {
    if (c == ' ') continue;
    compact += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return compact;
}

Verdict ValidatePartitaIva(std::string_view code) {
  if (Verdict v = Blank(code); !v.Valid()) return v;
  const bool own_number = code.substr(0, 7).find_first_not_of('0') != std::string_view::npos;
  if (!std::all_of(code.begin(), code.end(), IsDigit) || !own_number) return {Failure::InvalidFormat, {}};
  if (code.size() != 11) return {Failure::InvalidLength, "11"};
  const std::string_view office = code.substr(7, 3);
  if (!((office >= "001" && office <= "100") || office == "120" || office == "121" || office == "888" ||
        office == "999")) {
    return {Failure::InvalidComponent, {}};
  }
  // Luhn: every second digit from the first counts twice, its digits summed.
  int sum = 0;
  for (std::size_t i = 0; i < 10; ++i) {
    const int d = code[i] - '0';
    sum += i % 2 == 0 ? d : (d * 2 > 9 ? d * 2 - 9 : d * 2);
  }
  const char check = static_cast<char>('0' + (10 - sum % 10) % 10);
  if (code[10] != check) return {Failure::InvalidChecksum, std::string(1, check)};
  return {};
}

Verdict ValidateCodiceFiscale(std::string_view code) {
  if (Verdict v = Blank(code); !v.Valid()) return v;
  if (code.size() == 11) return ValidatePartitaIva(code);
  if (code.size() != 16) return {Failure::InvalidLength, "11 o 16"};
  bool laid_out = std::all_of(code.begin(), code.begin() + 6, IsLetter) && IsLetter(code[11]) && IsLetter(code[15]) &&
                  kMonthLetters.find(code[8]) != std::string_view::npos;
  for (const std::size_t at : {6, 7, 9, 10, 12, 13, 14}) laid_out = laid_out && DigitValue(code[at]) >= 0;
  if (!laid_out) return {Failure::InvalidFormat, {}};
  const char check = CheckLetter(code.substr(0, 15));
  if (code[15] != check) return {Failure::InvalidChecksum, std::string(1, check)};
  if (!IsBirthDate(code)) return {Failure::InvalidComponent, {}};
  return {};
}

}  // namespace vx::bank
