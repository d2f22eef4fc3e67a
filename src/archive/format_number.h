#pragma once

#include <cstdint>
#include <string>

namespace vx::archive {

// An amount as text with a fixed number of decimals, rounded half away from
// zero, "." as separator, no thousands separator: 1234.5 gives "1234.50",
// -2.345 gives "-2.35". `decimals` 0 means 2 and is written back as 2. A
// result between -1 and 0 keeps the form the listing has always printed:
// -0.5 gives "-.50". Negative decimals are run-time error 5.
std::string FORMATTANUMERO(double value, int16_t& decimals);

}  // namespace vx::archive
