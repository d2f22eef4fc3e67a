#pragma once
// `vxorel --batch --history`: the register of transfer files as text, per
// company, bank slot and payment month, every file with its salaries, total,
// state and the bank's answers so far.

#include <iosfwd>
#include <vector>

#include "app/command_line.h"
#include "platform/wine_prefix.h"
#include "register/transfer_register.h"

namespace vx::app {

// Writes the files (as TransferRegister::History gives them) in UTF-8.
void WriteHistory(const std::vector<reg::RegisteredFile>& files, std::ostream& out);

// Prints the register of the installation to `out`, for --month and --year
// when given; messages go to `messages`. Returns 0 when the register was
// printed (even with no file for the period), 1 when the installation has
// no register or it cannot be read, kExitArchivesLocked when it stayed
// locked longer than --lock-timeout.
int RunBatchHistory(const CommandLine& command_line, const platform::WinePrefix& prefix, std::ostream& out,
                    std::ostream& messages);

}  // namespace vx::app
