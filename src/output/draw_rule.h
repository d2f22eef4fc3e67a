#pragma once
// Which texts the output primitives leave off the page: blank texts, and
// numbers equal to zero unless the caller asks for zeros. An amount of 0.00
// or a count of 000 thus leaves its place empty.

#include <string_view>

namespace vx::output {

// The text reads as a number: blanks around it, an optional sign, digits with
// at most one "." and an optional exponent (E or D). Sets *value when given.
bool IsNumericText(std::string_view text, double* value = nullptr);

// True when the text is to be drawn (untrimmed).
bool ShouldDraw(std::string_view text, bool stampa_zero);

}  // namespace vx::output
