#pragma once
// The small text rules the run composes its lines with: 1-based Mid, Left
// and Right that never fail on short texts, blank trimming, and the
// upper-casing of single-byte (cp1252) text.

#include <string>
#include <string_view>

namespace vx::app {

// `length` characters from the 1-based position `start`; shorter (or empty)
// when the text ends first.
std::string Mid(std::string_view text, std::size_t start, std::size_t length);
std::string Left(std::string_view text, std::size_t length);
std::string Right(std::string_view text, std::size_t length);
// Removes leading and trailing blanks (only the space character).
std::string Trim(std::string_view text);
// The text followed by blanks, cut to `width` characters.
std::string PadRight(std::string_view text, std::size_t width);
// Blanks followed by the text, keeping its last `width` characters.
std::string PadLeft(std::string_view text, std::size_t width);
// Upper case of a cp1252 text, accented letters included.
std::string UpperCp1252(std::string_view text);
// Lower case of one cp1252 byte, accented letters included.
unsigned char LowerCp1252(unsigned char c);
// The trimmed text is one or more decimal digits.
bool IsWholeNumber(std::string_view text);

}  // namespace vx::app
