#pragma once
// Passwords as AES-256 protection takes them: the single-byte (cp1252)
// password turned into UTF-8 and prepared with SASLprep, so that a reader
// given the same characters, typed on any system, derives the same key.

#include <string>
#include <string_view>

namespace vx::pdf {

enum class PasswordProblem {
  None,
  ForbiddenCharacter,  // a control character, which no reader lets anyone type
  NothingLeft,         // only characters that preparation removes
};

struct PreparedPassword {
  std::string utf8;  // the prepared password, cut to the 127 bytes readers use
  PasswordProblem problem = PasswordProblem::None;
  unsigned char character = 0;  // the cp1252 byte refused, with ForbiddenCharacter
};

// Maps the soft hyphen to nothing and the no-break space to a space,
// applies compatibility normalisation (e.g. "\xB2" becomes "2", "\x99" becomes
// "TM") and refuses control characters. Every character cp1252 can hold is
// decided here, so the general tables of SASLprep that no such character
// belongs to (bidirectional text, private use, unassigned code points) never
// come into play.
PreparedPassword SaslPrep(std::string_view cp1252);

}  // namespace vx::pdf
