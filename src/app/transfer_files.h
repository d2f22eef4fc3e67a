#pragma once
// The salary transfer file of each company, written when the company's
// listing and its BONI file have been completed: one CBI or SEPA request
// from the company's account for the chosen slot, one transaction per
// employee listed, in listing order, with the net pay the listing shows.
// Employees the bank cannot pay are left out and named in the run report.
//
// Every file is recorded in the register of transfer files before it is put
// in place, and a month the register holds as paid is never paid again by
// mistake: the same salaries give the registered file again, other ones no
// file unless the operator confirms.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/run_report.h"
#include "register/transfer_register.h"
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
  // Only the salaries of the month the bank rejected and that are not paid
  // since, read afresh, in a file that completes the month's.
  bool only_rejected = false;
  // Asked when the month is already paid with other salaries, with the
  // question (cp1252); true writes the file all the same, with identifiers
  // of its own. None: the file is not written.
  std::function<bool(const std::string& question)> confirm_again;
  // How a run waits for the register while another program writes in it.
  vx::reg::BusyWait register_wait;
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
                std::string remittance, RunReport& report, const TransferChoice& choice = {});

  // Says the last file put in place written, if the register could not yet.
  ~TransferFiles();
  TransferFiles(const TransferFiles&) = delete;
  TransferFiles& operator=(const TransferFiles&) = delete;

  // The file of one company whose listing ended normally; the company
  // record is in the DITX$ buffer.
  void Company(const std::string& company, int slot, const std::vector<ListedEmployee>& listed);

  // Whether a file was not written because its month was already paid with
  // other salaries.
  bool RefusedRepeat() const { return refused_repeat_; }

 private:
  // The salaries paid again by a file of only the rejected ones, by employee.
  using Rejected = std::map<std::string, vx::reg::Unpaid>;
  // Adds one payment per employee the bank can pay to `doc`, with its
  // salary for the register; with `rejected`, only those employees.
  void Payments(const std::string& company, int slot, const std::vector<ListedEmployee>& listed,
                const Rejected* rejected, vx::transfer::TransferDocument& doc,
                std::vector<vx::reg::NewTransaction>& salaries);
  // The register, opened on first use; nothing (the error reported for the
  // company) when it cannot be.
  vx::reg::TransferRegister* Register(const std::string& company);
  // What the register holds for the company's month decides the file: it
  // gives the file's identifiers and name, or says why there is none.
  bool DecideRepeat(vx::reg::TransferRegister& reg, const std::string& company, int slot,
                    vx::transfer::TransferDocument& doc, std::vector<vx::reg::NewTransaction>& salaries,
                    vx::reg::NewFile& file, bool& identical);
  // The salaries of the month the bank rejected and that are not paid
  // since, from the employees listed now; false when there are none.
  bool ChooseRejected(vx::reg::TransferRegister& reg, const std::string& company, int slot,
                      const std::vector<ListedEmployee>& listed, vx::transfer::TransferDocument& doc,
                      std::vector<vx::reg::NewTransaction>& salaries, vx::reg::NewFile& file);
  void ReportDifferences(const std::string& company, const vx::reg::RegisteredFile& paid,
                         const std::vector<vx::reg::NewTransaction>& salaries);
  std::string Path(const std::string& name) const;

  const vx::transfer::DebtorSettings* Settings(const std::string& company, int slot);
  bool Debtor(const std::string& company, int slot, vx::transfer::Debtor& debtor);
  // The company's file: false when the company was to have one and has none.
  bool CompanyFile(const std::string& company, int slot, const std::vector<ListedEmployee>& listed);
  void Problem(Severity severity, const std::string& company, const std::string& field, const std::string& value,
               const std::string& message);

  vx::archive::PayrollArchives& archive_;
  vx::transfer::TransferKind kind_;
  vx::transfer::Date execution_date_;
  std::chrono::system_clock::time_point now_;
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
  TransferChoice choice_;
  std::unique_ptr<vx::reg::TransferRegister> register_;
  bool refused_repeat_ = false;
  // The company being written gets no file, rightly: the month is paid
  // (the operator declined to pay it again) or nothing is left to pay again.
  bool declined_ = false;
  // The file last put in place, said written in the register with the next
  // company's recording (one commit, one sync fewer per company) or when the
  // run ends; should the run stop in between, the register finds it in
  // place when next opened.
  int64_t placed_ = 0;
  // The folder is made and cleared of a killed run's temporaries once a run.
  bool folder_ready_ = false;
};

}  // namespace vx::app
