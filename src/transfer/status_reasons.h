#pragma once
// The bank's status and reason codes in the operator's words (cp1252), the
// code itself beside them, so that a message can be looked up with the bank.

#include <string>
#include <string_view>

namespace vx::transfer {

// "conto chiuso (AC04)" for the ISO external status reason codes banks use
// for credit transfers; a code without words of its own stands alone.
std::string ReasonText(std::string_view code);

// "respinto (RJCT)", "accettato, addebitato (ACSC)", "in attesa (PDNG)"; a
// code without words of its own stands alone.
std::string StatusText(std::string_view status);

}  // namespace vx::transfer
