#include "bank_coordinates.h"

#include <cctype>
#include <stdexcept>

namespace vx::demo {

namespace {

// Value of a character in the CIN sums: digits by value, letters A=0..Z=25.
int CinIndex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A';
  throw std::invalid_argument(std::string("character not allowed in bank coordinates: ") + c);
}

// Remainder mod 97 of a digit string given by letters converted to 10..35.
int Mod97(std::string_view text) {
  int remainder = 0;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(c)));
    if (u >= '0' && u <= '9') {
      remainder = (remainder * 10 + (u - '0')) % 97;
    } else if (u >= 'A' && u <= 'Z') {
      remainder = (remainder * 100 + (u - 'A' + 10)) % 97;
    } else {
      throw std::invalid_argument(std::string("character not allowed in an IBAN: ") + c);
    }
  }
  return remainder;
}

}  // namespace

char ItalianCin(std::string_view abi5, std::string_view cab5, std::string_view account12) {
  static constexpr int kOdd[26] = {1,  0, 5,  7,  9,  13, 15, 17, 19, 21, 2,  4,  18,
                                   20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
  if (abi5.size() != 5 || cab5.size() != 5 || account12.size() != 12) {
    throw std::invalid_argument("CIN needs a 5-digit ABI, a 5-digit CAB and a 12-character account");
  }
  const std::string body = std::string(abi5) + std::string(cab5) + std::string(account12);
  int sum = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    const int index = CinIndex(body[i]);
    // Positions are counted from 1: odd positions go through the table.
    sum += (i % 2 == 0) ? kOdd[index] : index;
  }
  return static_cast<char>('A' + sum % 26);
}

std::string IbanCheckDigits(std::string_view country, std::string_view bban) {
  const int check = 98 - Mod97(std::string(bban) + std::string(country) + "00");
  std::string digits = std::to_string(check);
  if (digits.size() < 2) digits.insert(0, 1, '0');
  return digits;
}

bool IbanIsValid(std::string_view iban) {
  if (iban.size() < 5) return false;
  const std::string rearranged = std::string(iban.substr(4)) + std::string(iban.substr(0, 4));
  try {
    return Mod97(rearranged) == 1;
  } catch (const std::invalid_argument&) {
    return false;
  }
}

std::string ZeroPadRight(std::string_view text, size_t width) {
  std::string padded = std::string(width, '0') + std::string(text);
  return padded.substr(padded.size() - width);
}

}  // namespace vx::demo
