#pragma once
// How a company's new transfer file for a month stands against the files the
// register holds as written for that month, so that no salary is paid twice
// by mistake, and the texts that tell the operator what is already paid.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "register/transfer_register.h"
#include "transfer/credit_transfer.h"

namespace vx::app {

enum class Repeat {
  First,      // nothing written yet for the month: a file of its own
  Identical,  // the same salaries, execution date and kind as a registered file: that file again
  Paid,       // the month is paid by a file with other salaries (or of the other kind)
};

struct RepeatVerdict {
  Repeat repeat = Repeat::First;
  // The registered file the new one repeats, or the month's latest one.
  const vx::reg::RegisteredFile* file = nullptr;
};

// Compares the salaries of a new file (employee, IBAN, amount) with the
// month's main files, oldest first, as WrittenFiles gives them with their
// salaries. Files that complete another (the month's rejected salaries paid
// again) are not among them: see TransferFiles::Company.
RepeatVerdict CompareWithMonth(const std::vector<vx::reg::RegisteredFile>& month, vx::transfer::TransferKind kind,
                               const std::string& execution_date,
                               const std::vector<vx::reg::NewTransaction>& salaries);

// One employee whose salary differs between the registered file and the new
// one: what is already paid and what would be, either one missing.
struct SalaryDifference {
  std::string employee, name;
  std::optional<vx::reg::NewTransaction> paid, would_pay;
};
std::vector<SalaryDifference> Differences(const vx::reg::RegisteredFile& file,
                                          const std::vector<vx::reg::NewTransaction>& salaries);

// "1234.50 su IT60X0542811101000000123456" (cp1252).
std::string SalaryText(const vx::reg::NewTransaction& salary);

// "CBI_001_B0_2025-11.xml del 2025-11-27 09:30:00".
std::string FileAndDate(const vx::reg::RegisteredFile& file);

// Whether a rejection concerns the employee's account or person (wrong,
// closed or blocked account, holder deceased, wrong bank): paid again to
// the same coordinates it would be rejected again.
bool RejectedForTheAccount(const std::vector<std::string>& reasons);

// A name for a further file of the month beside `main_name`
// ("SEPA_001_B0_2025-11.xml"): "<stem>_<tag><n>.xml" with the first n from
// `first` on that no file of the month the register holds as written, or
// being written, was given.
std::string FurtherFileName(const std::string& main_name, const std::string& tag,
                            const std::vector<vx::reg::RegisteredFile>& month, int first);

}  // namespace vx::app
