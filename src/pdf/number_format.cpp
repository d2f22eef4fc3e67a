#include "pdf/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace vx::pdf {

void AppendNumber(std::string& out, double value) {
  if (!std::isfinite(value)) value = 0;
  bool negative = value < 0;
  double magnitude = std::floor(std::fabs(value) * 1000.0 + 0.5);
  // Far beyond any page: keep the text bounded and still exponent-free.
  if (magnitude > 9.0e15) magnitude = 9.0e15;
  uint64_t thousandths = static_cast<uint64_t>(magnitude);

  // Past seven significant digits, round again (half away from zero) and
  // write zeros where the dropped digits were.
  uint64_t dropped_scale = 1;
  while (thousandths / dropped_scale >= 10000000) dropped_scale *= 10;
  if (dropped_scale > 1) {
    thousandths = (thousandths + dropped_scale / 2) / dropped_scale * dropped_scale;
  }
  if (thousandths == 0) negative = false;

  uint64_t whole = thousandths / 1000;
  unsigned fraction = static_cast<unsigned>(thousandths % 1000);
  char buffer[32];
  char* end = buffer;
  if (negative) *end++ = '-';
  end = std::to_chars(end, buffer + sizeof buffer, whole).ptr;
  if (fraction != 0) {
    *end++ = '.';
    *end++ = static_cast<char>('0' + fraction / 100);
    if (fraction % 100 != 0) {
      *end++ = static_cast<char>('0' + fraction / 10 % 10);
      if (fraction % 10 != 0) *end++ = static_cast<char>('0' + fraction % 10);
    }
  }
  out.append(buffer, end);
}

std::string FormatNumber(double value) {
  std::string text;
  AppendNumber(text, value);
  return text;
}

}  // namespace vx::pdf
