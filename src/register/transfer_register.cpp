#include "register/transfer_register.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <unordered_map>

#include "platform/codepage.h"
#include "register/sha256.h"

namespace vx::reg {

namespace {

using vx::transfer::TransferKind;

// Texts are kept in UTF-8, as SQLite and its tools take them; the program's
// own are cp1252.
std::string Utf8(const std::string& cp1252) { return vx::platform::Cp1252ToUtf8(cp1252); }
std::string Cp1252(const std::string& utf8) { return vx::platform::Utf8ToCp1252(utf8); }

constexpr const char* kSchema = R"sql(
CREATE TABLE files (
  id INTEGER PRIMARY KEY,
  company TEXT NOT NULL,
  slot INTEGER NOT NULL CHECK (slot BETWEEN 0 AND 2),
  year INTEGER NOT NULL,
  month INTEGER NOT NULL CHECK (month BETWEEN 1 AND 12),
  kind TEXT NOT NULL CHECK (kind IN ('CBI', 'SEPA')),
  message_id TEXT NOT NULL,
  payment_info_id TEXT NOT NULL,
  file_name TEXT NOT NULL,
  sha256 TEXT NOT NULL,
  transactions INTEGER NOT NULL,
  total_cents INTEGER NOT NULL,
  execution_date TEXT NOT NULL,
  written_at TEXT NOT NULL,
  state TEXT NOT NULL CHECK (state IN ('being written', 'written', 'not written')),
  completes INTEGER REFERENCES files (id)
);
CREATE INDEX files_by_month ON files (company, slot, year, month);
CREATE INDEX files_by_message ON files (message_id);
CREATE TABLE transactions (
  id INTEGER PRIMARY KEY,
  file INTEGER NOT NULL REFERENCES files (id),
  employee TEXT NOT NULL,
  name TEXT NOT NULL,
  iban TEXT NOT NULL,
  cents INTEGER NOT NULL,
  end_to_end_id TEXT NOT NULL,
  instruction_id TEXT NOT NULL,
  UNIQUE (file, end_to_end_id)
);
CREATE INDEX transactions_by_file ON transactions (file);
-- Every status the bank sent for a salary. `stands` is 0 for a rejection as
-- a duplicate, which is kept for the history but never becomes the status.
CREATE TABLE statuses (
  id INTEGER PRIMARY KEY,
  tx INTEGER NOT NULL REFERENCES transactions (id),
  status TEXT NOT NULL,
  reasons TEXT NOT NULL,  -- the reason codes, one a line
  report_message_id TEXT NOT NULL,
  report_file TEXT NOT NULL,
  report_created TEXT NOT NULL,
  read_at TEXT NOT NULL,
  stands INTEGER NOT NULL CHECK (stands IN (0, 1)),
  UNIQUE (tx, report_message_id)
);
CREATE INDEX statuses_latest ON statuses (tx, stands, report_created, id);
)sql";

const char* StateName(FileState state) {
  switch (state) {
    case FileState::BeingWritten: return "being written";
    case FileState::Written: return "written";
    case FileState::NotWritten: return "not written";
  }
  return "";
}

FileState StateOf(const std::string& name) {
  if (name == "written") return FileState::Written;
  if (name == "not written") return FileState::NotWritten;
  return FileState::BeingWritten;
}

// Reason codes one a line: a bank's own code (Prtry) may hold blanks.
std::string Joined(const std::vector<std::string>& codes) {
  std::string text;
  for (const auto& code : codes) text += (text.empty() ? "" : "\n") + Utf8(code);
  return text;
}

std::vector<std::string> Split(const std::string& utf8) {
  const std::string text = Cp1252(utf8);
  std::vector<std::string> codes;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    if (end > start) codes.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return codes;
}

// A rejection because the bank already has the payment: it answers an
// uploaded copy of a file, and must never make the salary look unpaid.
bool RejectedAsCopy(const vx::transfer::TransactionStatus& s) {
  if (s.status != "RJCT") return false;
  for (const auto& code : s.reasons) {
    if (code == "DUPL" || code == "DU01" || code == "AM05") return true;
  }
  return false;
}

constexpr const char* kTransactions = R"sql(
SELECT t.id, t.file, t.employee, t.name, t.iban, t.cents, t.end_to_end_id, t.instruction_id,
       s.status, s.reasons, s.report_message_id, s.report_file, s.report_created, s.read_at
FROM transactions t
LEFT JOIN statuses s ON s.id = (SELECT id FROM statuses WHERE tx = t.id AND stands = 1
                                ORDER BY report_created DESC, id DESC LIMIT 1)
WHERE t.file = ? ORDER BY t.id
)sql";

RegisteredTransaction ReadTransaction(const Statement& q) {
  RegisteredTransaction t;
  t.id = q.Int(0);
  t.file_id = q.Int(1);
  t.employee = Cp1252(q.Text(2));
  t.name = Cp1252(q.Text(3));
  t.iban = q.Text(4);
  t.cents = q.Int(5);
  t.end_to_end_id = q.Text(6);
  t.instruction_id = q.Text(7);
  if (!q.Null(8)) {
    t.status = BankStatus{q.Text(8), Split(q.Text(9)), q.Text(10), Cp1252(q.Text(11)), q.Text(12), q.Text(13)};
  }
  return t;
}

}  // namespace

TransferRegister::TransferRegister(const std::filesystem::path& folder, BusyWait wait, Clock clock)
    : db_(folder / kRegisterName, std::move(wait)), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return std::chrono::system_clock::now(); };
  WriteTransaction transaction(db_);
  CreateOrCheckSchema();
  Settle(folder);
  transaction.Commit();
}

void TransferRegister::CreateOrCheckSchema() {
  Statement version(db_, "PRAGMA user_version");
  version.Step();
  const int64_t found = version.Int(0);
  if (found == kSchemaVersion) return;
  if (found != 0) {
    throw RegisterError(Path(), "register of schema version " + std::to_string(found) + ", this program knows " +
                                    std::to_string(kSchemaVersion) + " (written by another version of the program)",
                        0);
  }
  Statement tables(db_, "SELECT count(*) FROM sqlite_master");
  tables.Step();
  if (tables.Int(0) != 0) throw RegisterError(Path(), "not a register of transfer files", 0);
  db_.Execute(kSchema);
  db_.Execute(("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str());
}

void TransferRegister::Settle(const std::filesystem::path& folder) {
  std::map<std::string, std::optional<std::string>> digests;  // file name -> SHA-256 of what is there
  auto digest = [&](const std::string& name) -> const std::optional<std::string>& {
    auto it = digests.find(name);
    if (it == digests.end()) it = digests.emplace(name, FileSha256Hex(folder / name)).first;
    return it->second;
  };
  for (RegisteredFile& file : Files("state <> 'written'", {}, false)) {
    const auto& there = digest(file.file_name);
    const bool in_place = there && *there == file.sha256;
    FileState now = file.state;
    if (file.state == FileState::BeingWritten) {
      now = in_place ? FileState::Written : FileState::NotWritten;
    } else if (in_place) {
      // Not written by its run's account, yet there with its bytes, and no
      // other record claims them.
      Statement other(db_, "SELECT count(*) FROM files WHERE state = 'written' AND file_name = ? AND sha256 = ?");
      other.Bind(1, Utf8(file.file_name)).Bind(2, file.sha256).Step();
      if (other.Int(0) == 0) now = FileState::Written;
    }
    if (now != file.state) {
      SetState(file.id, now);
      settled_.push_back({std::move(file), now});
    }
  }
}

std::string TransferRegister::Now() const {
  const std::time_t t = std::chrono::system_clock::to_time_t(clock_());
  std::tm local{};
  localtime_r(&t, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &local);
  return buffer;
}

void TransferRegister::Exclusively(const std::function<void()>& work) {
  WriteTransaction transaction(db_);
  work();
  transaction.Commit();
}

int64_t TransferRegister::BeginFile(const NewFile& file) {
  int64_t total = 0;
  for (const auto& t : file.transactions) total += t.cents;
  WriteTransaction transaction(db_);
  Statement insert(db_, R"sql(
INSERT INTO files (company, slot, year, month, kind, message_id, payment_info_id, file_name, sha256, transactions,
                   total_cents, execution_date, written_at, state, completes)
VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'being written', ?))sql");
  insert.Bind(1, Utf8(file.company)).Bind(2, int64_t{file.slot}).Bind(3, int64_t{file.year});
  insert.Bind(4, int64_t{file.month}).Bind(5, std::string(file.kind == TransferKind::Cbi ? "CBI" : "SEPA"));
  insert.Bind(6, file.message_id).Bind(7, file.payment_info_id).Bind(8, Utf8(file.file_name)).Bind(9, file.sha256);
  insert.Bind(10, static_cast<int64_t>(file.transactions.size())).Bind(11, total);
  insert.Bind(12, vx::transfer::IsoDate(file.execution_date)).Bind(13, Now()).Bind(14, file.completes);
  insert.Run();
  const int64_t id = db_.LastInsertId();
  Statement row(db_, R"sql(
INSERT INTO transactions (file, employee, name, iban, cents, end_to_end_id, instruction_id)
VALUES (?, ?, ?, ?, ?, ?, ?))sql");
  for (const auto& t : file.transactions) {
    row.Bind(1, id).Bind(2, Utf8(t.employee)).Bind(3, Utf8(t.name)).Bind(4, t.iban).Bind(5, t.cents);
    row.Bind(6, t.end_to_end_id).Bind(7, t.instruction_id);
    row.Run();
  }
  transaction.Commit();
  return id;
}

void TransferRegister::SetState(int64_t id, FileState state) {
  Statement update(db_, "UPDATE files SET state = ? WHERE id = ?");
  update.Bind(1, std::string(StateName(state))).Bind(2, id).Run();
  if (db_.Changes() != 1) throw RegisterError(Path(), "no transfer file of id " + std::to_string(id), 0);
}

void TransferRegister::FileWritten(int64_t id) { SetState(id, FileState::Written); }

void TransferRegister::FileNotWritten(int64_t id) { SetState(id, FileState::NotWritten); }

std::vector<RegisteredFile> TransferRegister::Files(const std::string& where,
                                                    const std::function<void(Statement&)>& bind,
                                                    bool with_transactions) {
  const std::string sql =
      "SELECT id, company, slot, year, month, kind, message_id, payment_info_id, file_name, sha256, transactions, "
      "total_cents, execution_date, written_at, state, completes FROM files WHERE " +
      where + " ORDER BY company, slot, year, month, id";
  Statement q(db_, sql);
  if (bind) bind(q);
  std::vector<RegisteredFile> files;
  while (q.Step()) {
    RegisteredFile f;
    f.id = q.Int(0);
    f.company = Cp1252(q.Text(1));
    f.slot = static_cast<int>(q.Int(2));
    f.year = static_cast<int>(q.Int(3));
    f.month = static_cast<int>(q.Int(4));
    f.kind = q.Text(5) == "CBI" ? TransferKind::Cbi : TransferKind::Sepa;
    f.message_id = q.Text(6);
    f.payment_info_id = q.Text(7);
    f.file_name = Cp1252(q.Text(8));
    f.sha256 = q.Text(9);
    f.count = static_cast<int>(q.Int(10));
    f.total_cents = q.Int(11);
    f.execution_date = q.Text(12);
    f.written_at = q.Text(13);
    f.state = StateOf(q.Text(14));
    if (!q.Null(15)) f.completes = q.Int(15);
    files.push_back(std::move(f));
  }
  Statement transactions(db_, kTransactions);
  for (RegisteredFile& f : files) {
    transactions.Bind(1, f.id);
    while (transactions.Step()) {
      RegisteredTransaction t = ReadTransaction(transactions);
      if (!t.status) ++f.counts.unanswered;
      else switch (vx::transfer::ClassOf(t.status->status)) {
        case vx::transfer::StatusClass::Accepted: ++f.counts.accepted; break;
        case vx::transfer::StatusClass::Pending: ++f.counts.pending; break;
        case vx::transfer::StatusClass::Rejected: ++f.counts.rejected; break;
      }
      if (with_transactions) f.transactions.push_back(std::move(t));
    }
    transactions.Reset();
  }
  return files;
}

std::vector<RegisteredFile> TransferRegister::WrittenFiles(const std::string& company, int slot, int year, int month,
                                                           TransferKind kind) {
  return Files(
      "state = 'written' AND company = ? AND slot = ? AND year = ? AND month = ? AND kind = ?",
      [&](Statement& q) {
        q.Bind(1, Utf8(company)).Bind(2, int64_t{slot}).Bind(3, int64_t{year}).Bind(4, int64_t{month});
        q.Bind(5, std::string(kind == TransferKind::Cbi ? "CBI" : "SEPA"));
      },
      true);
}

std::vector<RegisteredFile> TransferRegister::MonthFiles(const std::string& company, int slot, int year, int month) {
  return Files(
      "company = ? AND slot = ? AND year = ? AND month = ?",
      [&](Statement& q) {
        q.Bind(1, Utf8(company)).Bind(2, int64_t{slot}).Bind(3, int64_t{year}).Bind(4, int64_t{month});
      },
      false);
}

std::vector<RegisteredFile> TransferRegister::History(std::optional<int> year, std::optional<int> month) {
  return Files(
      "(?1 IS NULL OR year = ?1) AND (?2 IS NULL OR month = ?2)",
      [&](Statement& q) {
        q.Bind(1, year ? std::optional<int64_t>(*year) : std::nullopt);
        q.Bind(2, month ? std::optional<int64_t>(*month) : std::nullopt);
      },
      false);
}

ApplyResult TransferRegister::ApplyStatusReport(const vx::transfer::StatusReport& report,
                                                const std::string& report_file) {
  WriteTransaction transaction(db_);
  ApplyResult result;
  result.files = Files(
      "state = 'written' AND message_id = ?", [&](Statement& q) { q.Bind(1, report.original_message_id); }, true);
  if (result.files.empty()) return result;

  // The narrowest status the report gives for each salary; the report lists
  // them from the widest to the narrowest, so a later one overrides.
  struct Salary {
    RegisteredFile* file;
    RegisteredTransaction* transaction;
    const vx::transfer::TransactionStatus* status = nullptr;
  };
  std::vector<Salary> salaries;
  std::unordered_map<std::string, std::vector<std::size_t>> by_end_to_end, by_instruction;
  for (RegisteredFile& f : result.files) {
    for (RegisteredTransaction& t : f.transactions) {
      by_end_to_end[t.end_to_end_id].push_back(salaries.size());
      by_instruction[t.instruction_id].push_back(salaries.size());
      salaries.push_back({&f, &t});
    }
  }
  auto in_payment = [](const RegisteredFile& f, const vx::transfer::TransactionStatus& s) {
    return s.payment_info_id.empty() || s.payment_info_id == f.payment_info_id;
  };
  for (const auto& s : report.statuses) {
    bool matched = false;
    if (!s.OneTransaction()) {
      for (Salary& salary : salaries) {
        if (in_payment(*salary.file, s)) salary.status = &s, matched = true;
      }
    } else {
      const auto& candidates = !s.end_to_end_id.empty() ? by_end_to_end[s.end_to_end_id] : by_instruction[s.instruction_id];
      for (std::size_t i : candidates) {
        Salary& salary = salaries[i];
        if (!in_payment(*salary.file, s)) continue;
        if (!s.instruction_id.empty() && salary.transaction->instruction_id != s.instruction_id) continue;
        salary.status = &s;
        matched = true;
      }
    }
    if (!matched) result.unmatched.push_back(s);
  }
  if (!result.unmatched.empty()) return result;

  const std::string read_at = Now();
  // Creation times compare as text to the second, as banks write them in
  // local time: "2025-11-28T10:15:00", with or without fractions and zone.
  // A report without one is taken as created when it is read.
  const std::string created = report.created.empty() ? read_at : report.created.substr(0, 19);
  Statement insert(db_, R"sql(
INSERT INTO statuses (tx, status, reasons, report_message_id, report_file, report_created, read_at, stands)
VALUES (?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (tx, report_message_id) DO NOTHING)sql");
  for (const Salary& salary : salaries) {
    if (salary.status == nullptr) continue;
    const auto& s = *salary.status;
    const auto& before = salary.transaction->status;
    Outcome outcome = Outcome::Recorded;
    const bool copy = RejectedAsCopy(s);
    if (copy) outcome = Outcome::CopyRejected;
    else if (before && created < before->report_created) outcome = Outcome::Older;
    else if (before && vx::transfer::IsFinal(before->status) &&
             vx::transfer::ClassOf(before->status) != vx::transfer::ClassOf(s.status))
      outcome = Outcome::OverrodeFinal;
    insert.Bind(1, salary.transaction->id).Bind(2, s.status).Bind(3, Joined(s.reasons));
    insert.Bind(4, report.message_id).Bind(5, Utf8(report_file)).Bind(6, created).Bind(7, read_at);
    insert.Bind(8, int64_t{copy ? 0 : 1});
    insert.Run();
    if (db_.Changes() == 0) outcome = Outcome::AlreadyRecorded;
    result.applied.push_back({*salary.transaction, s.status, s.reasons, outcome});
  }
  result.files = Files(
      "state = 'written' AND message_id = ?", [&](Statement& q) { q.Bind(1, report.original_message_id); }, false);
  transaction.Commit();
  return result;
}

std::vector<Unpaid> TransferRegister::RejectedNotPaidSince(const std::string& company, int slot, int year,
                                                           int month) {
  // Files still "being written" count: their salaries may reach the bank.
  std::vector<RegisteredFile> files = Files(
      "state IN ('written', 'being written') AND company = ? AND slot = ? AND year = ? AND month = ?",
      [&](Statement& q) {
        q.Bind(1, Utf8(company)).Bind(2, int64_t{slot}).Bind(3, int64_t{year}).Bind(4, int64_t{month});
      },
      true);
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
  struct Employee {
    const RegisteredTransaction* rejected = nullptr;
    const RegisteredFile* file = nullptr;
    bool paid_or_on_its_way = false;
  };
  std::map<std::string, Employee> employees;
  for (const RegisteredFile& f : files) {
    for (const RegisteredTransaction& t : f.transactions) {
      Employee& e = employees[t.employee];
      if (t.status && vx::transfer::ClassOf(t.status->status) == vx::transfer::StatusClass::Rejected) {
        e.rejected = &t;
        e.file = &f;
      } else {
        e.paid_or_on_its_way = true;
      }
    }
  }
  std::vector<Unpaid> unpaid;
  for (const auto& [code, e] : employees) {
    if (e.rejected == nullptr || e.paid_or_on_its_way) continue;
    Unpaid u{*e.rejected, *e.file};
    u.file.transactions.clear();
    unpaid.push_back(std::move(u));
  }
  return unpaid;
}

}  // namespace vx::reg
