#pragma once
// What a check of one bank identifier found: nothing wrong, or the one rule
// that failed and, where the rule has one, the value it expected. Messages
// for the operator are built from a verdict, never by checking again.

#include <string>

namespace vx::bank {

enum class Failure {
  None,
  Empty,              // nothing to check: blank text
  InvalidCharacters,  // a character outside A-Z and 0-9 (lower case, a blank, punctuation)
  InvalidLength,      // not the length the identifier (or its country) has
  InvalidFormat,      // letters and digits not where the identifier wants them
  InvalidComponent,   // a part that names nothing known, such as a country outside SEPA
  InvalidChecksum,    // check digits or check character disagree with the rest
};

struct Verdict {
  Failure failure = Failure::None;
  // InvalidLength: the length wanted ("27"); InvalidChecksum: the check
  // digits or character wanted ("60", "X"); otherwise empty.
  std::string expected;

  bool Valid() const { return failure == Failure::None; }
};

}  // namespace vx::bank
