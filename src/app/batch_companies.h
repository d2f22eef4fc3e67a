#pragma once
// `vxorel --batch --companies`: the whole start-up, then the company list
// exactly as the window shows it, one line per company.

#include <iosfwd>

#include "platform/wine_prefix.h"

namespace vx::app {

// Writes the List1 lines (UTF-8) to `out`; messages go to `messages`.
// Returns the exit status: 0 after the list, non-zero when there is no
// extraction or the program had to end.
int RunBatchCompanies(const platform::WinePrefix& prefix, std::ostream& out, std::ostream& messages);

}  // namespace vx::app
