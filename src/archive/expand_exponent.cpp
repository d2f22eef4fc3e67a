#include "archive/expand_exponent.h"

#include <algorithm>

#include "archive/number_value.h"

namespace vx::archive {

void ESPANDIESPONENTE(std::string& text) {
  size_t e = text.find("E+");
  const size_t minus = text.find("E-");
  bool negative_exponent = false;
  if (minus != std::string::npos && (e == std::string::npos || minus < e)) {
    e = minus;
    negative_exponent = true;
  }
  if (e == std::string::npos) return;

  // The exponent is taken from the last two characters, as exponents of
  // amounts never have three digits.
  const double exponent_value = NumericValue(text.size() >= 2 ? text.substr(text.size() - 2) : text);
  const size_t n = exponent_value > 0 ? static_cast<size_t>(exponent_value) : 0;

  std::string mantissa = text.substr(0, e);
  std::replace(mantissa.begin(), mantissa.end(), ',', '.');
  std::string sign;
  if (!mantissa.empty() && mantissa.front() == '-') {
    sign = "-";
    mantissa.erase(0, 1);
  }
  if (mantissa.find('.') == std::string::npos) mantissa += '.';
  mantissa = "0" + mantissa + "0";

  const size_t point = mantissa.find('.');
  std::string whole = mantissa.substr(0, point);
  std::string fraction = mantissa.substr(point + 1);

  if (negative_exponent) {
    if (n >= whole.size()) whole.insert(0, n - whole.size() + 1, '0');
    fraction = whole.substr(whole.size() - n) + fraction;
    whole.erase(whole.size() - n);
  } else {
    if (n >= fraction.size()) fraction.append(n - fraction.size() + 1, '0');
    whole += fraction.substr(0, n);
    fraction.erase(0, n);
  }
  text = sign + whole + "." + fraction;
}

}  // namespace vx::archive
