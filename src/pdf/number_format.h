#pragma once
// Numbers as they are written into PDF content and dictionaries.

#include <string>

namespace vx::pdf {

// Appends `value` rounded to three decimals, half away from zero, in its
// shortest form: no exponent, no trailing zeros, no point for whole values,
// "." whatever the locale, at most seven significant digits (the writer's
// values are single precision, so further digits would be noise).
void AppendNumber(std::string& out, double value);

std::string FormatNumber(double value);

}  // namespace vx::pdf
