#include "archive/text.h"

#include <algorithm>

namespace vx::archive {

std::string Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string TrimRight(std::string_view text) {
  const size_t last = text.find_last_not_of(' ');
  if (last == std::string_view::npos) return {};
  return std::string(text.substr(0, last + 1));
}

namespace {

unsigned char UpperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  // à..þ except the division sign ÷ (0xF7) sit 0x20 above their capitals.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return c;
  }
}

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
  return out;
}

std::string Mid(std::string_view text, size_t start, size_t count) {
  if (start < 1 || start > text.size()) return {};
  return std::string(text.substr(start - 1, count));
}

void ReplaceAt(std::string& text, size_t start, size_t width, std::string_view value) {
  if (start < 1 || start > text.size()) return;
  const size_t n = std::min({width, value.size(), text.size() - (start - 1)});
  text.replace(start - 1, n, value.substr(0, n));
}

}  // namespace vx::archive
