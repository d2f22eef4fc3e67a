#include "pdf/colour.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

#include "pdf/number_format.h"

namespace vx::pdf {
namespace {

struct NamedColour {
  std::string_view name;
  std::string_view hex;
};

constexpr std::array<NamedColour, 35> kNamedColours{{
    {"BLACK", "000000"},      {"GRAY", "808080"},       {"SILVER", "C0C0C0"},
    {"WHITE", "FFFFFF"},      {"MAROON", "800000"},     {"RED", "FF0000"},
    {"PURPLE", "800080"},     {"FUCHSIA", "FF00FF"},    {"MAGENTA", "FF00FF"},
    {"GREEN", "008000"},      {"LIME", "00FF00"},       {"OLIVE", "808000"},
    {"YELLOW", "FFFF00"},     {"NAVY", "000080"},       {"BLUE", "0000FF"},
    {"TEAL", "008080"},       {"AQUA", "00FFFF"},       {"CYAN", "00FFFF"},
    {"ORANGE", "FF7F00"},     {"AZURE", "F0FFFF"},      {"GOLD", "FFD700"},
    {"LIGHTBLUE", "ADD8E6"},  {"LIGHTCYAN", "E0FFFF"},  {"LIGHTGREEN", "90EE90"},
    {"LIGHTPINK", "FFB6C1"},  {"LIGHTYELLOW", "FFFFE0"}, {"TOMATO", "FF6347"},
    {"VIOLET", "EE82EE"},     {"PINK", "FFC0CB"},       {"IVORY", "FFFFF0"},
    {"DARKGRAY", "A9A9A9"},   {"DARKCYAN", "008B8B"},   {"DARKBLUE", "00008B"},
    {"BROWN", "A52A2A"},      {"BEIGE", "F5F5DC"},
}};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Components as fractions 0..1; empty when the text cannot be read.
bool ParseHex(std::string_view hex, std::vector<double>& parts) {
  if (hex.size() != 6) return false;
  for (size_t i = 0; i < 6; i += 2) {
    int high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    parts.push_back((high * 16 + low) / 255.0);
  }
  return true;
}

bool ParseDecimal(std::string_view text, double& value) {
  text = Trim(text);
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool ParseColour(std::string_view colour, std::vector<double>& parts) {
  if (colour.front() == '#') return ParseHex(colour.substr(1, 6), parts);
  if (colour.front() == '%') {
    double percent;
    if (!ParseDecimal(colour.substr(1, colour.find(';') - 1), percent)) return false;
    percent = std::clamp(percent, 0.0, 100.0);
    double level = (255 - std::floor(percent * 255 / 100)) / 255.0;
    parts.assign(3, level);
    return true;
  }
  if (colour.front() == '@') {
    std::string_view rest = colour.substr(1);
    while (parts.size() < 4) {
      size_t cut = rest.find(';');
      double value;
      if (!ParseDecimal(rest.substr(0, cut), value)) break;  // a pattern name follows
      parts.push_back(std::clamp(value, 0.0, 255.0) / 255.0);
      if (cut == std::string_view::npos) break;
      rest.remove_prefix(cut + 1);
    }
    return parts.size() == 3 || parts.size() == 4;
  }
  std::string name(colour.substr(0, colour.find(';')));
  name = std::string(Trim(name));
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  for (const NamedColour& named : kNamedColours) {
    if (named.name == name) return ParseHex(named.hex, parts);
  }
  return false;
}

}  // namespace

void AppendColourLine(std::string& out, std::string_view colour, bool stroke) {
  colour = Trim(colour);
  if (colour.empty()) return;
  std::vector<double> parts;
  parts.reserve(4);
  if (!ParseColour(colour, parts)) parts.assign(3, 0.0);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += ' ';
    AppendNumber(out, parts[i]);
  }
  if (parts.size() == 4) {
    out += stroke ? " K\r" : " k\r";
  } else {
    out += stroke ? " RG\r" : " rg\r";
  }
}

}  // namespace vx::pdf
