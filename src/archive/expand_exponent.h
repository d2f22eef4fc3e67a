#pragma once

#include <string>

namespace vx::archive {

// Rewrites a number written in exponent form ("1.5E+03", "1E-05") in plain
// notation with the same value, in place; zeros may remain at either end
// (1E-05 becomes 0.000010). A text without "E+" or "E-" is left unchanged.
void ESPANDIESPONENTE(std::string& text);

}  // namespace vx::archive
