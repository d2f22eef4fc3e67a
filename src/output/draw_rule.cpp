#include "output/draw_rule.h"

#include <charconv>
#include <string>

namespace vx::output {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool IsNumericText(std::string_view text, double* value) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  if (b == e) return false;

  // Copy into a form std::from_chars reads the same in every locale.
  std::string number;
  std::size_t i = b;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  bool digits = false, point = false;
  for (; i < e; ++i) {
    char c = text[i];
    if (IsDigit(c)) {
      digits = true;
      number += c;
    } else if (c == '.' && !point) {
      point = true;
      number += c;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i < e && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    number += 'e';
    ++i;
    if (i < e && (text[i] == '+' || text[i] == '-')) number += text[i++];
    bool exp_digits = false;
    for (; i < e && IsDigit(text[i]); ++i) {
      exp_digits = true;
      number += text[i];
    }
    if (!exp_digits) return false;
  }
  if (i != e) return false;

  if (value) {
    double v = 0;
    auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), v);
    // An exponent too large for a double still reads as a number, just not zero.
    if (ec == std::errc::result_out_of_range) v = 1e308;
    (void)ptr;
    *value = negative ? -v : v;
  }
  return true;
}

bool ShouldDraw(std::string_view text, bool stampa_zero) {
  double value = 0;
  if (IsNumericText(text, &value)) return !(value == 0 && !stampa_zero);
  return text.find_first_not_of(' ') != std::string_view::npos;
}

}  // namespace vx::output
