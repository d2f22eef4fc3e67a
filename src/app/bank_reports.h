#pragma once
// The bank's answers read back: status report files applied to the
// register of transfer files, and what they say put in a report for the
// operator: per company and file how many salaries were accepted, rejected
// or are pending, and every rejected employee with the bank's reason. Batch
// mode and the window's "Esiti banca..." button read them the same way.

#include <filesystem>
#include <iosfwd>
#include <vector>

#include "app/command_line.h"
#include "app/run_report.h"
#include "platform/wine_prefix.h"
#include "register/database.h"

namespace vx::app {

// The topic of the report's entries, and its title.
inline constexpr const char* kTopicEsiti = "Esiti banca";
inline constexpr const char* kTitoloEsiti = "Esiti della banca";

struct BankReportsRead {
  int read = 0;     // files applied to the register, or found applied already
  int refused = 0;  // files not applied: the register is as it was for them
};

// Reads each status report file (host paths, in order) and applies it to
// the register in the transfer files' folder `folder`, a file whole or not
// at all: one that is not a status report, answers a transfer file the
// register does not know, or gives statuses for salaries that file does not
// hold changes nothing and is refused with the reason. Without a register
// every file is refused and none is created. Throws reg::RegisterBusy when
// the wait for the register was given up (the files before were applied).
BankReportsRead ReadBankReports(const std::vector<std::filesystem::path>& files, const std::filesystem::path& folder,
                                RunReport& report, reg::BusyWait wait = {});

// `vxorel --batch --bank-report FILE...`: the report goes to `messages`.
// Returns 0 when every file was read, 1 when one was refused or the
// installation or its register could not be read, kExitArchivesLocked when
// the register stayed locked longer than --lock-timeout.
int RunBatchBankReports(const CommandLine& command_line, const platform::WinePrefix& prefix,
                        std::ostream& messages);

}  // namespace vx::app
