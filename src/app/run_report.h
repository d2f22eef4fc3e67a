#pragma once
// What the operator must know at the end of a run, beside the run's own
// message boxes: bank coordinates that cannot be right, employees left out
// of a transfer file, damaged or missing archives, files replaced. One run
// fills one report; the window shows it in a dialog after the run's own
// messages, batch mode writes it on stderr. Texts are cp1252 bytes, like
// every other text of the run.

#include <iosfwd>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace vx::app {

enum class Severity {
  Error,   // the money would go wrong, or a file could not be trusted
  Notice,  // worth a look, not wrong in itself (a shared account, a zero net pay)
};

// The topic of entries about the payroll archives: missing ones (notices)
// and damaged ones (errors, after which some listing is missing or
// incomplete, so the run ends with a non-zero status).
inline constexpr const char* kTopicArchivi = "Archivi";

struct ReportEntry {
  Severity severity = Severity::Error;
  std::string topic;     // what it is about, shown as the table's first column ("Coordinate", "Archivi", ...)
  std::string company;   // company code, empty when the entry is not about one company
  std::string employee;  // employee code, empty when it is not about one employee
  std::string name;      // the employee's surname and name
  std::string field;     // the field or file concerned ("IBAN", "CIN", a path)
  std::string value;     // the value found, as the archives hold it
  std::string message;   // what is wrong, in the operator's language
};

class RunReport {
 public:
  // Adds a finding; one the report already holds is not said again (a
  // company listed twice in a run finds the same things twice).
  void Add(ReportEntry entry);
  // Some output the run was asked for (a company's transfer file) was not
  // written, as an entry says; the run's exit status says so too.
  void OutputNotWritten() { not_written_ = true; }
  // How many employees of `company` the run checked; said once per company.
  void Checked(const std::string& company, int employees);

  const std::vector<ReportEntry>& Entries() const { return entries_; }
  const std::vector<std::pair<std::string, int>>& CheckedCounts() const { return checked_; }
  bool Empty() const { return entries_.empty(); }
  bool HasErrors() const;
  // The same, leaving out the entries of one topic.
  bool HasErrors(const std::string& except_topic) const;
  // Whether the run found damaged archives (an error entry about them).
  bool ArchivesDamaged() const;
  // Whether some output the run was asked for was not written.
  bool OutputsNotWritten() const { return not_written_; }
  void Clear() {
    entries_.clear();
    checked_.clear();
    said_.clear();
    not_written_ = false;
  }

 private:
  std::vector<ReportEntry> entries_;
  std::unordered_set<std::string> said_;  // every entry's fields, joined
  std::vector<std::pair<std::string, int>> checked_;
  bool not_written_ = false;
};

// Writes the report for a terminal under its title, one line per entry, in
// UTF-8; writes nothing when there is nothing to say.
void WriteRunReport(const RunReport& report, std::ostream& out, const char* title = "Rapporto della stampa");

}  // namespace vx::app
