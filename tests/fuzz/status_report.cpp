// Fuzz target over the reader of the bank's status reports, which come from
// outside the installation. Whatever the bytes, reading ends with the
// reports or a refusal in words; every status it yields is one a salary can
// have, and every salary's status names the salary.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "transfer/status_reasons.h"
#include "transfer/status_report.h"

namespace t = vx::transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  std::vector<t::StatusReport> reports;
  try {
    reports = t::ReadStatusReports(std::string_view(reinterpret_cast<const char*>(bytes), size));
  } catch (const t::StatusReportError& e) {
    if (std::string_view(e.what()).empty()) std::abort();
    return 0;
  }
  if (reports.empty()) std::abort();
  for (const auto& report : reports) {
    if (report.message_id.empty() || report.original_message_id.empty()) std::abort();
    for (const auto& s : report.statuses) {
      if (s.status.empty() || s.status == "PART") std::abort();
      if (s.OneTransaction() == (s.end_to_end_id.empty() && s.instruction_id.empty())) std::abort();
      t::ClassOf(s.status);
      if (t::StatusText(s.status).find(s.status) == std::string::npos) std::abort();
      for (const auto& code : s.reasons) {
        if (code.empty() || t::ReasonText(code).find(code) == std::string::npos) std::abort();
      }
    }
  }
  return 0;
}
