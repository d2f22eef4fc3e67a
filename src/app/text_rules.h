#pragma once
// The small text rules the run composes its lines with: Left and Right that
// never fail on short texts, padding, and the case rules of single-byte
// (cp1252) text. Mid and Trim are the archive layer's, so that the run cuts
// and trims exactly as field access does.

#include <string>
#include <string_view>

#include "archive/text.h"

namespace vx::app {

using vx::archive::Mid;
using vx::archive::Trim;

std::string Left(std::string_view text, std::size_t length);
std::string Right(std::string_view text, std::size_t length);
// The text followed by blanks, cut to `width` characters.
std::string PadRight(std::string_view text, std::size_t width);
// Blanks followed by the text, keeping its last `width` characters.
std::string PadLeft(std::string_view text, std::size_t width);
// Lower case of one cp1252 byte, accented letters included.
unsigned char LowerCp1252(unsigned char c);
// The trimmed text is one or more decimal digits.
bool IsWholeNumber(std::string_view text);

}  // namespace vx::app
