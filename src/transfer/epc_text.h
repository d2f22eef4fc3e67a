#pragma once
// Text as the SEPA schemes carry it: Latin letters, digits, space and
// / - ? : ( ) . , ' + only. Names and remittance texts of the payroll are
// cp1252 and often accented; banks reject or garble anything else.

#include <cstddef>
#include <string>
#include <string_view>

namespace vx::transfer {

// The cp1252 text in the bank's character set: accented letters lose their
// accent (À -> A, é -> e, ß -> ss, Æ -> AE), "&" becomes "+", any other
// character a "."; blanks at either end are dropped and runs of blanks
// become one. Cut to `max_length` characters.
std::string EpcText(std::string_view cp1252, std::size_t max_length);

}  // namespace vx::transfer
