#pragma once
// The salary transfer file of each company, written when the company's
// listing and its BONI file have been completed: one CBI or SEPA request
// from the company's account for the chosen slot, one transaction per
// employee listed, in listing order, with the net pay the listing shows.
// Employees the bank cannot pay are left out and named in the run report.

#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/run_report.h"
#include "transfer/credit_transfer.h"
#include "transfer/debtor_settings.h"
#include "transfer/target_calendar.h"

namespace vx::archive {
class PayrollArchives;
}

namespace vx::app {

struct ListedEmployee;

using Clock = std::function<std::chrono::system_clock::time_point()>;

// What the operator chose for the run's transfer files.
struct TransferChoice {
  std::optional<vx::transfer::TransferKind> kind;     // none: no transfer file at all
  std::optional<vx::transfer::Date> execution_date;  // none: the next business day after today
};

// The local calendar date of a moment.
vx::transfer::Date LocalDate(std::chrono::system_clock::time_point moment);

// Why a requested execution date cannot go to the bank (cp1252 message), or nothing.
std::optional<std::string> ExecutionDateProblem(vx::transfer::Date date, vx::transfer::Date today);

// The folder of the transfer files, FILE-BONIFICI beside the archives
// folder (next to the PDF tree), and a file's name in it:
// "CBI_001_B0_2025-11.xml", after the payment month, never another month's.
inline constexpr const char* kTransferFolder = "FILE-BONIFICI";
std::string TransferFileName(vx::transfer::TransferKind kind, const std::string& company, int slot, int year,
                             int month);

class TransferFiles {
 public:
  // `remittance` is the cp1252 text each transaction carries ("STIPENDIO
  // NOVEMBRE 2025" and the operator's description).
  TransferFiles(vx::archive::PayrollArchives& archive, vx::transfer::TransferKind kind,
                vx::transfer::Date execution_date, std::chrono::system_clock::time_point now, int year, int month,
                std::string remittance, RunReport& report);

  // The file of one company whose listing ended normally; the company
  // record is in the DITX$ buffer.
  void Company(const std::string& company, int slot, const std::vector<ListedEmployee>& listed);

 private:
  const vx::transfer::DebtorSettings* Settings(const std::string& company, int slot);
  bool Debtor(const std::string& company, int slot, vx::transfer::Debtor& debtor);
  // The company's file: false when the company was to have one and has none.
  bool CompanyFile(const std::string& company, int slot, const std::vector<ListedEmployee>& listed);
  void Problem(Severity severity, const std::string& company, const std::string& field, const std::string& value,
               const std::string& message);

  vx::archive::PayrollArchives& archive_;
  vx::transfer::TransferKind kind_;
  vx::transfer::Date execution_date_;
  std::string stamp_;    // "20251127093000", the moment of the run
  std::string created_;  // "2025-11-27T09:30:00"
  int year_, month_;
  std::string remittance_;
  RunReport& report_;
  std::string root_;  // the folder that holds the archives folder
  std::optional<vx::transfer::DebtorSettings> settings_;
  bool settings_read_ = false;
  bool settings_unusable_ = false;          // there, but not a file to read
  std::set<std::string> named_in_faults_;  // companies the report of the file's faults named
};

}  // namespace vx::app
