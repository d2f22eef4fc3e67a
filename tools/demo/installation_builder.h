#pragma once
// Builds a payroll installation inside a Wine prefix: registry key, path
// files, task file, catalogue, and every archive the program opens. Tests
// describe the data they need case by case; the demo generator fills it with
// a realistic population.

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "isam_index_writer.h"
#include "record_text.h"

namespace vx::demo {

class InstallationBuilder {
 public:
  InstallationBuilder();

  // Company `code` (1..999, its record number), with T001 and the name set.
  // Returns the record so that a caller sets further fields by descriptor.
  RecordText& AddCompany(int code, std::string_view name);
  RecordText& Company(int code);

  // Employee with a 10-character code "CCCSSSNNNN"; the last four digits are
  // the record number and must be unique across the installation (1..9999).
  // Sets P001; the record is returned for the other fields.
  RecordText& AddEmployee(std::string_view code);
  RecordText& Employee(std::string_view code);
  // Codes of the employees, in the order they were added.
  const std::vector<std::string>& EmployeeCodes() const { return employee_order_; }

  // Record 1 of the payroll date archive begins with the date DDMMYYYY, so
  // positions 3-4 are the month and 5-8 the year.
  void SetPayrollDate(std::string_view ddmmyyyy);

  // The extraction as a list of codes, packed 20 per record, unused slots of
  // the last record left blank. Without a call the extraction holds every
  // employee in the order they were added.
  void SetExtraction(const std::vector<std::string>& codes);
  // The extraction record by record, each slot written as given (a slot may
  // be "9999999999" or blank); at most 20 slots per record.
  void SetExtractionRecords(const std::vector<std::vector<std::string>>& records);
  // An extraction archive with no record at all.
  void SetNoExtraction();

  // Employees left out of the index, as if it had not been rebuilt.
  void OmitFromIndex(std::string_view code) { index_omitted_.insert(std::string(code)); }
  // Entries per block when bulk loading the index (1..127); small values give
  // many level-2 blocks and leaves from few employees.
  void SetIndexFill(size_t fill) { index_fill_ = fill; }

  void SetInstallationHolder(std::string_view name, std::string_view vat_number);
  void SetTerminalCode(std::string_view code) { terminal_code_ = code; }
  void SetFiscalOwnerPassword(std::string_view password);
  // Line 2 of the printer settings archive; nullopt writes a single line.
  void SetStandardPrinter(std::optional<std::string> name) { printer_ = std::move(name); }
  // Without the registry key the program finds the installation through the
  // path files.
  void SetWriteRegistryKey(bool write) { write_registry_key_ = write; }
  // sDecimal of the regional settings in user.reg; nullopt leaves it out.
  void SetDecimalSeparator(std::optional<char> separator) { decimal_separator_ = separator; }
  // The debtor settings of the transfer files, written beside the archives
  // folder; nullopt writes none.
  void SetDebtorSettings(std::optional<std::string> text) { debtor_settings_ = std::move(text); }

  // Writes the whole prefix into `prefix` (created when missing). Existing
  // files of the installation are replaced; nothing else is touched.
  void Write(const std::filesystem::path& prefix) const;

 private:
  std::string CompaniesArchive() const;
  std::string EmployeesArchive() const;
  std::string ExtractionArchive() const;
  std::string IndexArchive() const;

  std::map<int, RecordText> companies_;
  std::map<int, RecordText> employees_;  // by employee number
  std::vector<std::string> employee_order_;
  std::string payroll_date_ = "27112025";
  std::optional<std::vector<std::vector<std::string>>> extraction_;
  std::set<std::string> index_omitted_;
  size_t index_fill_ = kDefaultIndexFill;
  std::string holder_name_ = "STUDIO PAGHE BERTOLINI S.A.S.";
  std::string holder_vat_ = "01234567897";
  std::string terminal_code_ = "01";
  RecordText fiscal_;
  std::optional<std::string> printer_ = "LASER-UFFICIO-PAGHE";
  bool write_registry_key_ = true;
  std::optional<char> decimal_separator_ = ',';
  std::optional<std::string> debtor_settings_;
};

}  // namespace vx::demo
