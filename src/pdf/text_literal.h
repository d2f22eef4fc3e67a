#pragma once
// PDF text literals: the bytes of a string between parentheses.

#include <string>
#include <string_view>

namespace vx::pdf {

// Appends text with "\", "(", ")", CR and LF escaped; every other byte is
// written as it is (the fonts declare the Windows ANSI encoding).
void AppendEscaped(std::string& out, std::string_view text);

std::string EscapeText(std::string_view text);

}  // namespace vx::pdf
