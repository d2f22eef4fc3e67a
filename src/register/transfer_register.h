#pragma once
// The register of transfer files: one SQLite database per installation, in
// the transfer files' folder, that records every file the program writes
// (before it is put in place), every salary in it, and every status the
// bank has sent back for each salary, with its history. A run killed at any
// moment leaves the register and the folder in agreement: see BeginFile.
//
// Two programs at once are serialised by SQLite's own locking; a statement
// that finds the database held waits as its BusyWait says.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "register/database.h"
#include "transfer/credit_transfer.h"
#include "transfer/status_report.h"
#include "transfer/target_calendar.h"

namespace vx::reg {

// The database's name in the transfer files' folder.
inline constexpr const char* kRegisterName = "REGISTRO-BONIFICI.sqlite";

// The layout of the tables, kept in PRAGMA user_version.
inline constexpr int kSchemaVersion = 1;

using Clock = std::function<std::chrono::system_clock::time_point()>;

enum class FileState {
  BeingWritten,  // recorded, not yet in place under its final name
  Written,       // in place under its final name with the recorded bytes
  NotWritten,    // never got its final name (write failed, or the run was stopped)
};

// One salary of a file. Texts are cp1252.
struct NewTransaction {
  std::string employee;  // the employee code, "0010020005"
  std::string name;      // as the file carries it
  std::string iban;
  int64_t cents = 0;
  std::string end_to_end_id;
  std::string instruction_id;
};

struct NewFile {
  std::string company;  // "001"
  int slot = 0;         // the employee's bank slot the file pays, 0..2
  int year = 0, month = 0;  // the payment month
  vx::transfer::TransferKind kind = vx::transfer::TransferKind::Cbi;
  std::string message_id;
  std::string payment_info_id;
  std::string file_name;  // the final name in the folder, "CBI_001_B0_2025-11.xml"
  std::string sha256;     // of the file's bytes (Sha256Hex)
  vx::transfer::Date execution_date;
  std::optional<int64_t> completes;  // the file whose rejected salaries this one pays again
  std::vector<NewTransaction> transactions;
};

// The bank's latest word on a salary. A status from a report created before
// the one already recorded, and a rejection as a duplicate (which concerns a
// copy of the file, never the payment the bank already holds), stay in the
// history without becoming the salary's status.
struct BankStatus {
  std::string status;  // ACSC, RJCT, PDNG, ...
  std::vector<std::string> reasons;
  std::string report_message_id;
  std::string report_file;     // the status report's file, as the caller named it
  std::string report_created;  // the report's creation time, "2025-11-28T10:15:00"
  std::string read_at;         // when the program read it, local time
};

struct RegisteredTransaction : NewTransaction {
  int64_t id = 0;
  int64_t file_id = 0;
  std::optional<BankStatus> status;  // none: no answer from the bank yet
};

// How the salaries of a file stand.
struct StatusCounts {
  int accepted = 0, pending = 0, rejected = 0;
  int unanswered = 0;  // no status from the bank yet
};

struct RegisteredFile {
  int64_t id = 0;
  std::string company;
  int slot = 0, year = 0, month = 0;
  vx::transfer::TransferKind kind = vx::transfer::TransferKind::Cbi;
  std::string message_id, payment_info_id, file_name, sha256;
  std::string execution_date;  // "2025-11-27"
  std::string written_at;      // local time of the recording, "2025-11-26T09:30:00"
  FileState state = FileState::BeingWritten;
  int count = 0;  // transactions
  int64_t total_cents = 0;
  std::optional<int64_t> completes;
  StatusCounts counts;
  std::vector<RegisteredTransaction> transactions;  // filled by WrittenFiles only
};

// A file left "being written" by an earlier run, settled when the register
// was opened.
struct Settled {
  RegisteredFile file;
  FileState now = FileState::NotWritten;
};

// What became of one salary's status from a report.
enum class Outcome {
  Recorded,         // now the salary's status
  AlreadyRecorded,  // this report was read before: nothing added
  // Now the salary's status, over a final one of another class (rejected
  // after settled, or accepted after rejected): the operator must be told.
  // Settled then credited (ACSC, ACCC) is the payment's ordinary course.
  OverrodeFinal,
  Older,            // the report is older than the status recorded: kept in the history only
  CopyRejected,     // a rejection as a duplicate: kept in the history only
};

struct AppliedStatus {
  RegisteredTransaction transaction;  // its status before this report
  std::string status;
  std::vector<std::string> reasons;
  Outcome outcome = Outcome::Recorded;
};

struct ApplyResult {
  // The written files the report answers, with their salaries counted by
  // status once it is applied; empty when the register knows no file of its
  // original message identifier (then nothing was changed).
  std::vector<RegisteredFile> files;
  std::vector<AppliedStatus> applied;
  // Statuses the report gives for payments or salaries the files do not
  // hold. When there are any, the report is not the answer to these files
  // as registered, and nothing was changed.
  std::vector<vx::transfer::TransactionStatus> unmatched;

  // The report answers registered files and every status in it found its
  // salary (each salary's outcome then says what was recorded).
  bool Matched() const { return !files.empty() && unmatched.empty(); }
};

// A salary the bank rejected and that has not been paid since.
struct Unpaid {
  RegisteredTransaction transaction;  // the latest rejected one, with its status
  RegisteredFile file;                // the file it came from (no transactions)
};

class TransferRegister {
 public:
  // Opens the register in `folder` (a host path; the folder must exist),
  // creating it when missing, and settles the files earlier runs left
  // "being written": one in place under its final name with the recorded
  // SHA-256 is written, any other is not written; a file recorded "not
  // written" that is in place with its recorded bytes is written after all
  // (its run stopped between putting it in place and saying so).
  TransferRegister(const std::filesystem::path& folder, BusyWait wait = {}, Clock clock = {});

  const std::string& Path() const { return db_.Path(); }
  const std::vector<Settled>& SettledOnOpening() const { return settled_; }

  // Runs `work` as one write transaction holding the database's lock: the
  // register's calls inside it join it. For the look at what the register
  // holds and the recording that depends on it, so that two programs never
  // both decide from the same state.
  void Exclusively(const std::function<void()>& work);

  // Records a file and its salaries, "being written", in one transaction;
  // returns its id. The file's bytes are to be complete under a temporary
  // name before this, and put in place right after, then FileWritten; if
  // putting it in place fails, FileNotWritten.
  int64_t BeginFile(const NewFile& file);
  void FileWritten(int64_t id);
  void FileNotWritten(int64_t id);

  // The written files of a company, slot, payment month and kind, oldest
  // first, with their salaries and each one's status.
  std::vector<RegisteredFile> WrittenFiles(const std::string& company, int slot, int year, int month,
                                           vx::transfer::TransferKind kind);

  // Every file recorded for a company, slot and payment month, written or
  // not, oldest first, with the count of salaries per status.
  std::vector<RegisteredFile> MonthFiles(const std::string& company, int slot, int year, int month);

  // Every file recorded for a payment month (or a whole year, or all),
  // written or not, by company, slot, month and age, with the count of
  // salaries per status.
  std::vector<RegisteredFile> History(std::optional<int> year = std::nullopt, std::optional<int> month = std::nullopt);

  // Applies a status report to the salaries of the written files with its
  // original message identifier, in one transaction. A salary takes the
  // narrowest status the report gives for it (its own, its payment's, the
  // whole message's). Reading the same report again adds nothing.
  ApplyResult ApplyStatusReport(const vx::transfer::StatusReport& report, const std::string& report_file);

  // The employees whose salary of that company, slot and payment month the
  // bank rejected and who have no salary for it since accepted, pending or
  // still unanswered, in any written file of any kind: only those may be
  // paid again. By employee code.
  std::vector<Unpaid> RejectedNotPaidSince(const std::string& company, int slot, int year, int month);

 private:
  void CreateOrCheckSchema();
  void Settle(const std::filesystem::path& folder);
  std::string Now() const;
  void SetState(int64_t id, FileState state);
  std::vector<RegisteredFile> Files(const std::string& where, const std::function<void(Statement&)>& bind,
                                    bool with_transactions);

  Database db_;
  Clock clock_;
  std::vector<Settled> settled_;
};

}  // namespace vx::reg
