#include "archive/number_value.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "platform/errors.h"

namespace vx::archive {

double NumericValue(std::string_view text) {
  // Most fields are whole numbers of a few digits, perhaps after blanks and
  // a sign: their value is exact in a double, and counted here directly.
  {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos) return 0.0;
    const bool negative = text[i] == '-';
    if (negative || text[i] == '+') ++i;
    const size_t first = i;
    int64_t whole = 0;
    while (i < text.size() && i - first < 15 && text[i] >= '0' && text[i] <= '9') whole = whole * 10 + (text[i++] - '0');
    if (i == text.size() && i > first) return negative ? -static_cast<double>(whole) : static_cast<double>(whole);
  }
  // Gather the characters that form the number, skipping blanks on the way.
  std::string number;
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  };
  auto is_digit = [](char c) { return c >= '0' && c <= '9'; };

  skip_blanks();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') number += '-';
    ++i;
  }
  bool digits = false;
  bool point = false;
  for (;; ++i) {
    skip_blanks();
    if (i >= text.size()) break;
    const char c = text[i];
    if (is_digit(c)) {
      number += c;
      digits = true;
    } else if (c == '.' && !point) {
      number += c;
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0.0;

  // An exponent counts only when at least one digit follows its letter.
  skip_blanks();
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    size_t j = i + 1;
    std::string exponent = "e";
    auto skip_blanks_j = [&] {
      while (j < text.size() && (text[j] == ' ' || text[j] == '\t' || text[j] == '\n')) ++j;
    };
    skip_blanks_j();
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exponent += text[j];
      ++j;
    }
    bool exponent_digits = false;
    for (;; ++j) {
      skip_blanks_j();
      if (j >= text.size() || !is_digit(text[j])) break;
      // Leading zeros say nothing and very long exponents only overflow.
      if (exponent_digits || text[j] != '0') exponent += text[j];
      exponent_digits = true;
    }
    if (exponent_digits) {
      if (exponent.size() == 1 || exponent == "e+" || exponent == "e-") exponent += '0';
      number += exponent;
    }
  }

  double value = 0.0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    // Too small a magnitude is 0; too large one overflows.
    const size_t e = number.find('e');
    const bool negative_exponent = e != std::string::npos && e + 1 < number.size() && number[e + 1] == '-';
    if (negative_exponent) return 0.0;
    throw platform::MakeRuntimeError(6);
  }
  if (ec != std::errc()) return 0.0;
  return value;
}

std::string NumberText(double value) {
  if (std::isnan(value) || std::isinf(value)) throw platform::MakeRuntimeError(6);
  if (value == 0.0) return "0";
  char buffer[64];
  // Record and archive numbers are whole: fifteen significant digits write
  // them as they are.
  if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value)).ptr);
  }
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  // to_chars writes "1e-05"; the programs write "1E-05".
  const size_t e = text.find('e');
  if (e != std::string::npos) text[e] = 'E';
  if (text.rfind("0.", 0) == 0) text.erase(0, 1);
  else if (text.rfind("-0.", 0) == 0) text.erase(1, 1);
  return text;
}

long long WholeNumber(double value, long long min, long long max) {
  if (std::isnan(value)) throw platform::MakeRuntimeError(6);
  const double rounded = std::nearbyint(value);
  if (rounded < static_cast<double>(min) || rounded > static_cast<double>(max)) {
    throw platform::MakeRuntimeError(6);
  }
  return static_cast<long long>(rounded);
}

}  // namespace vx::archive
