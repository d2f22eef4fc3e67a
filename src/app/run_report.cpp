#include "app/run_report.h"

#include <algorithm>
#include <ostream>

#include "platform/codepage.h"

namespace vx::app {

bool RunReport::HasErrors() const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [](const ReportEntry& e) { return e.severity == Severity::Error; });
}

bool RunReport::ArchivesDamaged() const {
  return std::any_of(entries_.begin(), entries_.end(), [](const ReportEntry& e) {
    return e.severity == Severity::Error && e.topic == kTopicArchivi;
  });
}

void WriteRunReport(const RunReport& report, std::ostream& out) {
  if (report.Empty()) return;
  using vx::platform::Cp1252ToUtf8;
  out << "Rapporto della stampa:\n";
  for (const auto& [company, employees] : report.CheckedCounts()) {
    out << "  ditta " << Cp1252ToUtf8(company) << ": " << employees
        << (employees == 1 ? " dipendente controllato\n" : " dipendenti controllati\n");
  }
  for (const ReportEntry& e : report.Entries()) {
    out << (e.severity == Severity::Error ? "  ERRORE " : "  AVVISO ") << Cp1252ToUtf8(e.topic);
    if (!e.company.empty()) out << " - ditta " << Cp1252ToUtf8(e.company);
    if (!e.employee.empty()) out << " - dipendente " << Cp1252ToUtf8(e.employee);
    if (!e.name.empty()) out << " " << Cp1252ToUtf8(e.name);
    out << ": ";
    if (!e.field.empty()) out << Cp1252ToUtf8(e.field);
    if (!e.value.empty()) out << " '" << Cp1252ToUtf8(e.value) << "'";
    if (!e.field.empty() || !e.value.empty()) out << ": ";
    out << Cp1252ToUtf8(e.message) << "\n";
  }
}

}  // namespace vx::app
