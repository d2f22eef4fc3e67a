#pragma once
// Text helpers over the program's single-byte (cp1252) strings, behaving as
// the payroll programs' own string functions do.

#include <string>
#include <string_view>

namespace vx::archive {

// Removes leading and trailing blanks (spaces only; tabs are kept).
std::string Trim(std::string_view text);
// Removes trailing blanks only.
std::string TrimRight(std::string_view text);
// Upper case in cp1252: the ASCII letters and the accented letters of the
// code page (à becomes À, š becomes Š, ÿ becomes Ÿ).
std::string UpperCase(std::string_view text);
// `count` characters from the 1-based `start`; fewer (or none) when the text
// ends first. Start and count are assumed valid (start >= 1, count >= 0).
std::string Mid(std::string_view text, size_t start, size_t count);
// Overwrites the characters from the 1-based `start` with `value`, never
// more than `width` of them and never past the end of the text.
void ReplaceAt(std::string& text, size_t start, size_t width, std::string_view value);

}  // namespace vx::archive
