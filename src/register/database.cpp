#include "register/database.h"

#include <sqlite3.h>

#include <thread>

namespace vx::reg {

namespace {

int BusyHandler(void* database, int count) { return static_cast<Database*>(database)->Busy(count); }

}  // namespace

Database::Database(const std::filesystem::path& path, BusyWait wait) : path_(path.string()), wait_(std::move(wait)) {
  const int opened = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (opened != SQLITE_OK) {
    std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(opened);
    sqlite3_close(db_);
    db_ = nullptr;
    throw RegisterError(path_, message, opened);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_handler(db_, BusyHandler, this);
  try {
    // journal_mode answers with the mode in force: a database that cannot
    // leave WAL (another program holds it so) must not be used as it is.
    Statement journal(*this, "PRAGMA journal_mode=DELETE");
    if (!journal.Step() || journal.Text(0) != "delete")
      throw RegisterError(path_, "the rollback journal could not be set", 0);
    // A run reads a few files' rows at a time through the indexes: a small
    // page cache is enough, and keeps the process small.
    Execute("PRAGMA foreign_keys=ON; PRAGMA synchronous=FULL; PRAGMA cache_size=-256");
  } catch (...) {
    for (auto& [sql, prepared] : prepared_) sqlite3_finalize(prepared.statement);
    sqlite3_close(db_);
    throw;
  }
}

Database::~Database() {
  for (auto& [sql, prepared] : prepared_) sqlite3_finalize(prepared.statement);
  sqlite3_close(db_);
}

sqlite3_stmt* Database::Prepare(const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  const auto kept = prepared_.try_emplace(sql).first;
  if (kept->second.in_use) {
    Check(sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr));
    return statement;
  }
  if (kept->second.statement == nullptr) {
    const int result = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                          &statement, nullptr);
    if (result != SQLITE_OK) {
      prepared_.erase(kept);
      Check(result);
    }
    kept->second.statement = statement;
  }
  kept->second.in_use = true;
  return kept->second.statement;
}

void Database::GiveBack(sqlite3_stmt* statement) {
  for (auto& [sql, prepared] : prepared_) {
    if (prepared.statement == statement) {
      sqlite3_reset(statement);
      sqlite3_clear_bindings(statement);
      prepared.in_use = false;
      return;
    }
  }
  sqlite3_finalize(statement);
}

void Database::Execute(const char* sql) {
  char* error = nullptr;
  const int result = sqlite3_exec(db_, sql, nullptr, nullptr, &error);
  std::string message = error != nullptr ? error : "";
  sqlite3_free(error);
  if (result != SQLITE_OK) Fail(result, message.empty() ? sqlite3_errmsg(db_) : message);
  Check(result);
}

bool Database::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

int Database::Changes() const { return sqlite3_changes(db_); }

int64_t Database::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

void Database::Check(int result, int good, int also_good) {
  if (result == good || result == also_good) {
    wait_started_.reset();
    if (announced_) {
      announced_ = false;
      if (wait_.taken) wait_.taken();
    }
    return;
  }
  Fail(result, sqlite3_errmsg(db_));
}

void Database::Fail(int result, std::string message) {
  if ((result & 0xff) == SQLITE_BUSY) {
    // SQLite answers busy at once, without a wait, where waiting could not help.
    const auto waited = wait_started_ ? std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now() - *wait_started_)
                                      : std::chrono::milliseconds{0};
    const bool cancelled = cancelled_;
    announced_ = cancelled_ = false;
    wait_started_.reset();
    throw RegisterBusy(path_, cancelled, waited);
  }
  throw RegisterError(path_, std::move(message), result);
}

int Database::Busy(int count) {
  const auto now = std::chrono::steady_clock::now();
  if (count == 0 || !wait_started_) {
    wait_started_ = now;
    cancelled_ = false;
  }
  const auto waited = now - *wait_started_;
  if (wait_.keep_waiting && !wait_.keep_waiting()) {
    cancelled_ = true;
    return 0;
  }
  if (wait_.give_up_after && waited >= *wait_.give_up_after) return 0;
  if (!announced_ && waited >= wait_.notice_after) {
    announced_ = true;
    if (wait_.waiting) wait_.waiting(path_);
  }
  std::this_thread::sleep_for(wait_.pause);
  return 1;
}

Statement::Statement(Database& db, const std::string& sql) : db_(db), statement_(db.Prepare(sql)) {}

Statement::~Statement() { db_.GiveBack(statement_); }

Statement& Statement::Bind(int index, int64_t value) {
  db_.Check(sqlite3_bind_int64(statement_, index, value));
  return *this;
}

Statement& Statement::Bind(int index, const std::string& value) {
  db_.Check(sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT));
  return *this;
}

Statement& Statement::Bind(int index, std::optional<int64_t> value) {
  if (value) return Bind(index, *value);
  db_.Check(sqlite3_bind_null(statement_, index));
  return *this;
}

bool Statement::Step() {
  const int result = sqlite3_step(statement_);
  if (result != SQLITE_ROW && result != SQLITE_DONE) {
    // The statement is reset so that it can run again after the caller has
    // handled the failure (a busy wait given up, for one).
    std::string message = sqlite3_errmsg(db_.Handle());
    sqlite3_reset(statement_);
    db_.Fail(result, std::move(message));
  }
  db_.Check(result, SQLITE_ROW, SQLITE_DONE);
  return result == SQLITE_ROW;
}

void Statement::Run() {
  while (Step()) {
  }
  Reset();
}

void Statement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(statement_, column); }

std::string Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  return text == nullptr ? std::string{}
                         : std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

bool Statement::Null(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

WriteTransaction::WriteTransaction(Database& db) : db_(db), owner_(!db.InTransaction()) {
  db_.Execute(owner_ ? "BEGIN IMMEDIATE" : "SAVEPOINT inner");
}

WriteTransaction::~WriteTransaction() {
  if (done_ || !db_.InTransaction()) return;
  // An inner one that failed takes back only its own changes, and leaves the
  // outer transaction to go on or fail as its caller decides.
  sqlite3_exec(db_.Handle(), owner_ ? "ROLLBACK" : "ROLLBACK TO inner; RELEASE inner", nullptr, nullptr, nullptr);
}

void WriteTransaction::Commit() {
  db_.Execute(owner_ ? "COMMIT" : "RELEASE inner");
  done_ = true;
}

}  // namespace vx::reg
