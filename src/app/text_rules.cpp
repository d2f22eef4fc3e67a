#include "app/text_rules.h"

#include <algorithm>

namespace vx::app {

std::string Left(std::string_view text, std::size_t length) {
  return std::string(text.substr(0, std::min(length, text.size())));
}

std::string Right(std::string_view text, std::size_t length) {
  if (length >= text.size()) return std::string(text);
  return std::string(text.substr(text.size() - length));
}

std::string PadRight(std::string_view text, std::size_t width) {
  std::string out = Left(text, width);
  out.resize(width, ' ');
  return out;
}

std::string PadLeft(std::string_view text, std::size_t width) {
  if (text.size() >= width) return Right(text, width);
  return std::string(width - text.size(), ' ') + std::string(text);
}

unsigned char LowerCp1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // À..Þ, not ×
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

bool IsWholeNumber(std::string_view text) {
  const std::string t = Trim(text);
  return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace vx::app
