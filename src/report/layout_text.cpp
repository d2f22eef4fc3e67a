#include "report/layout_text.h"

#include "archive/format_number.h"
#include "archive/text.h"

namespace vx::report {

namespace {

// The last n characters of a text (all of it when shorter).
std::string Right(const std::string& text, std::size_t n) {
  return text.size() <= n ? text : text.substr(text.size() - n);
}

// Zeros in front, then the last n characters.
std::string Digits(const std::string& value, std::size_t n) {
  return Right(std::string(n, '0') + vx::archive::Trim(value), n);
}

}  // namespace

std::string PageNumberText(int16_t page) { return Right("00" + std::to_string(page), 2); }

std::string CountText(int16_t count) { return Right("000" + std::to_string(count), 3); }

std::string RightAligned(const std::string& text, std::size_t width) {
  return Right(std::string(width, ' ') + text, width);
}

std::string Description30(const std::string& description) {
  return (description + std::string(30, ' ')).substr(0, 30);
}

std::string AmountText(double amount, std::size_t width) {
  int16_t decimals = 0;  // two, the amounts' own
  return RightAligned(vx::archive::FORMATTANUMERO(amount, decimals), width);
}

std::string CinAbiCab(const std::string& cin, const std::string& abi, const std::string& cab) {
  return vx::archive::Trim(cin + " " + abi + " " + Right("00000" + cab, 5));
}

std::string IbanText(double layout, const std::string& paese, const std::string& check,
                     const std::string& cin, const std::string& abi, const std::string& cab,
                     const std::string& conto) {
  std::string head = paese + check + cin;
  if (layout == 1) return head + Digits(abi, 4) + Digits(cab, 4) + Digits(conto, 14);
  std::size_t account = vx::archive::Trim(conto).size() == 13 ? 13 : 12;
  return head + Digits(abi, 5) + Digits(cab, 5) + Digits(conto, account);
}

}  // namespace vx::report
