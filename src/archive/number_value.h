#pragma once
// Numbers as the payroll archives write them: the numeric value of a text,
// and a number written back as plain decimal text.

#include <string>
#include <string_view>

namespace vx::archive {

// The numeric value of a text, the way every field, catalogue entry and key
// number is read: blanks, tabs and line feeds are skipped wherever they are;
// then an optional sign, digits with at most one "." and an optional exponent
// ("E", optional sign, digits) are read up to the first other character. A
// text without digits is 0; "," is never a decimal separator. A value too
// large for a double is run-time error 6 (overflow).
double NumericValue(std::string_view text);

// A number in decimal with up to 15 significant digits: no leading blank,
// "." as decimal point, no trailing zeros, no "0" before a leading point
// (0.5 is ".5", -0.5 is "-.5"), and the exponent form ("1E-05", "1E+15") for
// values below 0.0001 or of 15 or more integer digits. Never follows the
// locale. Used wherever a number becomes text: trace entries, messages,
// placeholder values, amounts.
std::string NumberText(double value);

// The whole number a double stands for where a count or an index is needed,
// rounded half to even as the payroll programs round when they store a
// double into an integer; run-time error 6 when it does not fit in
// [min, max] or is not a number.
long long WholeNumber(double value, long long min, long long max);

}  // namespace vx::archive
