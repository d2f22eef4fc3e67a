#include "transfer/epc_text.h"

#include <array>

namespace vx::transfer {

namespace {

bool Allowed(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '/': case '-': case '?': case ':': case '(': case ')': case '.': case ',': case '\'': case '+': case ' ':
      return true;
    default:
      return false;
  }
}

// What each cp1252 character from 0x80 up becomes; empty means ".".
constexpr std::array<const char*, 128> kHighHalf = {
    // 0x80: euro, -, quote, f, quotes, dots, daggers, circumflex, per mille, S caron, angle, OE, -, Z caron, -
    "EUR", "", ",", "f", "", "", "", "", "", "", "S", "", "OE", "", "Z", "",
    // 0x90: -, single quotes as apostrophes, double quotes, bullet, dashes, tilde, TM, s caron, angle, oe, -, z caron, Y diaeresis
    "", "'", "'", "", "", "", "-", "-", "", "", "s", "", "oe", "", "z", "Y",
    // 0xA0: no-break space, then signs
    " ", "", "", "", "", "", "", "", "", "", "", "", "", "-", "", "",
    "", "", "", "", "'", "", "", "", "", "", "", "", "", "", "", "",
    // 0xC0
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", "", "O", "U", "U", "U", "U", "Y", "TH", "ss",
    // 0xE0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y",
};

}  // namespace

std::string EpcText(std::string_view cp1252, std::size_t max_length) {
  std::string out;
  out.reserve(cp1252.size());
  auto append = [&out](std::string_view piece) {
    for (char c : piece) {
      // Blanks at the start and in runs add nothing.
      if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
      out.push_back(c);
    }
  };
  for (char ch : cp1252) {
    const auto c = static_cast<unsigned char>(ch);
    if (Allowed(c)) {
      append(std::string_view(&ch, 1));
    } else if (c == '&') {
      append("+");
    } else if (c >= 0x80 && *kHighHalf[c - 0x80] != '\0') {
      append(kHighHalf[c - 0x80]);
    } else if (c == '\t') {
      append(" ");
    } else {
      append(".");
    }
  }
  if (out.size() > max_length) out.resize(max_length);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace vx::transfer
