#include "app/run_report.h"

#include <algorithm>
#include <ostream>

#include "platform/codepage.h"

namespace vx::app {

void RunReport::Add(ReportEntry entry) {
  std::string key = std::to_string(static_cast<int>(entry.severity));
  for (const std::string* part : {&entry.topic, &entry.company, &entry.employee, &entry.name, &entry.field,
                                  &entry.value, &entry.message}) {
    key += '\0';
    key += *part;
  }
  if (said_.insert(std::move(key)).second) entries_.push_back(std::move(entry));
}

void RunReport::Checked(const std::string& company, int employees) {
  const auto same = [&](const auto& c) { return c.first == company; };
  if (std::find_if(checked_.begin(), checked_.end(), same) == checked_.end()) checked_.emplace_back(company, employees);
}

bool RunReport::HasErrors() const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [](const ReportEntry& e) { return e.severity == Severity::Error; });
}

bool RunReport::HasErrors(const std::string& except_topic) const {
  return std::any_of(entries_.begin(), entries_.end(), [&](const ReportEntry& e) {
    return e.severity == Severity::Error && e.topic != except_topic;
  });
}

bool RunReport::ArchivesDamaged() const {
  return std::any_of(entries_.begin(), entries_.end(), [](const ReportEntry& e) {
    return e.severity == Severity::Error && e.topic == kTopicArchivi;
  });
}

void WriteRunReport(const RunReport& report, std::ostream& out, const char* title) {
  if (report.Empty()) return;
  // Every piece may hold text from the archives: none reaches the terminal raw.
  using vx::platform::Cp1252ToTerminal;
  out << title << ":\n";
  for (const auto& [company, employees] : report.CheckedCounts()) {
    out << "  ditta " << Cp1252ToTerminal(company) << ": " << employees
        << (employees == 1 ? " dipendente controllato\n" : " dipendenti controllati\n");
  }
  for (const ReportEntry& e : report.Entries()) {
    out << (e.severity == Severity::Error ? "  ERRORE " : "  AVVISO ") << Cp1252ToTerminal(e.topic);
    if (!e.company.empty()) out << " - ditta " << Cp1252ToTerminal(e.company);
    if (!e.employee.empty()) out << " - dipendente " << Cp1252ToTerminal(e.employee);
    if (!e.name.empty()) out << " " << Cp1252ToTerminal(e.name);
    out << ": ";
    if (!e.field.empty()) out << Cp1252ToTerminal(e.field);
    if (!e.value.empty()) out << " '" << Cp1252ToTerminal(e.value) << "'";
    if (!e.field.empty() || !e.value.empty()) out << ": ";
    out << Cp1252ToTerminal(e.message) << "\n";
  }
}

}  // namespace vx::app
