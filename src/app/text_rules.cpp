#include "app/text_rules.h"

#include <algorithm>

namespace vx::app {

std::string Mid(std::string_view text, std::size_t start, std::size_t length) {
  if (start == 0 || start > text.size()) return {};
  return std::string(text.substr(start - 1, length));
}

std::string Left(std::string_view text, std::size_t length) {
  return std::string(text.substr(0, std::min(length, text.size())));
}

std::string Right(std::string_view text, std::size_t length) {
  if (length >= text.size()) return std::string(text);
  return std::string(text.substr(text.size() - length));
}

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
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

namespace {
unsigned char UpperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c >= 0xE0 && c != 0xF7 && c != 0xFF) return c - 0x20;  // à..þ, not ÷
  switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return c;
  }
}
}  // namespace

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

std::string UpperCp1252(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = static_cast<char>(UpperByte(static_cast<unsigned char>(ch)));
  return out;
}

bool IsWholeNumber(std::string_view text) {
  const std::string t = Trim(text);
  return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace vx::app
