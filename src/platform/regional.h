#pragma once
// The user's regional settings the program honours: only the decimal
// separator, used on purpose in the text files a spreadsheet imports.

#include "platform/wine_prefix.h"

namespace vx::platform {

// `sDecimal` of [Control Panel\International] in the prefix's user.reg when
// it is set, else the decimal point of the C locale named by the environment
// (LC_ALL, then LC_NUMERIC, then LANG).
char DecimalSeparator(const WinePrefix& prefix);

}  // namespace vx::platform
