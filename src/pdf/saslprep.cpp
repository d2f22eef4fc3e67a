#include "pdf/saslprep.h"

#include "platform/codepage.h"

namespace vx::pdf {

namespace {

// The compatibility forms of the cp1252 characters that have one; every
// other character of the code page is its own normal form, and none of them
// combines with a neighbour (each decomposition that adds an accent starts
// with a space, which nothing combines with).
const char* CompatibilityForm(unsigned char byte) {
  switch (byte) {
    case 0x85: return "...";
    case 0x98: return " \xCC\x83";        // small tilde: space, combining tilde
    case 0x99: return "TM";
    case 0xA0: return " ";                 // no-break space, mapped to a space
    case 0xA8: return " \xCC\x88";        // diaeresis
    case 0xAA: return "a";
    case 0xAD: return "";                  // soft hyphen, mapped to nothing
    case 0xAF: return " \xCC\x84";        // macron
    case 0xB2: return "2";
    case 0xB3: return "3";
    case 0xB4: return " \xCC\x81";        // acute accent
    case 0xB5: return "\xCE\xBC";         // micro sign: Greek small mu
    case 0xB8: return " \xCC\xA7";        // cedilla
    case 0xB9: return "1";
    case 0xBA: return "o";
    case 0xBC: return "1\xE2\x81\x84" "4";  // fraction slash between the digits
    case 0xBD: return "1\xE2\x81\x84" "2";
    case 0xBE: return "3\xE2\x81\x84" "4";
    default: return nullptr;
  }
}

}  // namespace

PreparedPassword SaslPrep(std::string_view cp1252) {
  PreparedPassword prepared;
  for (char c : cp1252) {
    const auto byte = static_cast<unsigned char>(c);
    const char32_t code_point = platform::Cp1252ToCodePoint(byte);
    // C0 controls, DEL, and the C1 controls the five undefined bytes stand for.
    if (code_point < 0x20 || (code_point >= 0x7F && code_point < 0xA0)) {
      prepared.utf8.clear();
      prepared.problem = PasswordProblem::ForbiddenCharacter;
      prepared.character = byte;
      return prepared;
    }
    if (const char* form = CompatibilityForm(byte)) {
      prepared.utf8 += form;
    } else {
      prepared.utf8 += platform::Cp1252ToUtf8(std::string_view(&c, 1));
    }
  }
  if (prepared.utf8.empty() && !cp1252.empty()) {
    prepared.problem = PasswordProblem::NothingLeft;
    return prepared;
  }
  // Readers cut at 127 bytes even inside a character; so must the key.
  if (prepared.utf8.size() > 127) prepared.utf8.resize(127);
  return prepared;
}

}  // namespace vx::pdf
