#pragma once
// One connection to an SQLite database through its C API: statements that
// throw on failure with the database's path and SQLite's own message, write
// transactions that take the lock before they read, and a busy handler that
// waits for another program's transaction the way the archive semaphore's
// wait does.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace vx::reg {

// A failed database operation: the database file and SQLite's message.
struct RegisterError : std::runtime_error {
  RegisterError(std::string path_, std::string message_, int code_)
      : std::runtime_error(path_ + ": " + message_), path(std::move(path_)), message(std::move(message_)),
        code(code_) {}
  std::string path;     // as the host names it
  std::string message;  // SQLite's words, or ours
  int code;             // SQLite's result code; 0 when the failure is not SQLite's
};

// The wait for another program's transaction was given up: the time ran out
// or the operator cancelled. Nothing was changed.
struct RegisterBusy : RegisterError {
  RegisterBusy(std::string path_, bool cancelled_, std::chrono::milliseconds waited_)
      : RegisterError(std::move(path_), cancelled_ ? "wait cancelled" : "database locked", 5),
        cancelled(cancelled_), waited(waited_) {}
  bool cancelled;
  std::chrono::milliseconds waited;
};

// How a statement waits while another program holds the database. By
// default it waits as long as it takes, without a word.
struct BusyWait {
  std::chrono::milliseconds pause{50};          // between two attempts
  std::chrono::milliseconds notice_after{2000};  // before `waiting` is told
  std::optional<std::chrono::milliseconds> give_up_after;  // none: as long as it takes
  // Told once per wait, when it has lasted `notice_after`, with the database's path.
  std::function<void(const std::string& path)> waiting;
  // Told when a wait that was announced ends with the lock taken.
  std::function<void()> taken;
  // Asked at every pause: false gives the wait up at once.
  std::function<bool()> keep_waiting;
};

class Database {
 public:
  // Opens (creating when missing) the database, with the rollback journal
  // (journal_mode=DELETE: a write-ahead log needs shared memory, which files
  // on a network drive do not have), foreign keys enforced, full syncs and
  // a page cache of 256 KiB.
  Database(const std::filesystem::path& path, BusyWait wait);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void Execute(const char* sql);
  const std::string& Path() const { return path_; }
  sqlite3* Handle() { return db_; }
  bool InTransaction() const;
  // Rows the last statement inserted, changed or deleted.
  int Changes() const;
  int64_t LastInsertId() const;

  // Throws RegisterError (RegisterBusy for a lock not taken) unless `result`
  // is one of the two good ones given.
  void Check(int result, int good = 0, int also_good = 0);
  [[noreturn]] void Fail(int result, std::string message);

  // Called by SQLite while another connection holds the lock.
  int Busy(int count);

  // A prepared statement for `sql`, kept for the connection's life: a run
  // asks the same few questions for every company, and preparing one costs
  // more than running it. A statement still in use when the same text is
  // asked for again gets a fresh one of its own, given back finalised.
  sqlite3_stmt* Prepare(const std::string& sql);
  void GiveBack(sqlite3_stmt* statement);

 private:
  std::string path_;
  sqlite3* db_ = nullptr;
  BusyWait wait_;
  std::optional<std::chrono::steady_clock::time_point> wait_started_;  // while a wait lasts
  bool announced_ = false;
  bool cancelled_ = false;
  struct Prepared {
    sqlite3_stmt* statement = nullptr;
    bool in_use = false;
  };
  std::unordered_map<std::string, Prepared> prepared_;
};

class Statement {
 public:
  Statement(Database& db, const std::string& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, const std::string& value);
  Statement& Bind(int index, std::optional<int64_t> value);
  // True while there is a row to read; false once the statement is done.
  bool Step();
  // Runs a statement that returns no rows, then makes it ready to run again.
  void Run();
  void Reset();

  int64_t Int(int column) const;
  std::string Text(int column) const;
  bool Null(int column) const;

 private:
  Database& db_;
  sqlite3_stmt* statement_ = nullptr;
};

// A write transaction begun with the lock taken (BEGIN IMMEDIATE), so that
// two programs never both read and then both try to write. Inside another
// one it is a savepoint of it. Rolled back unless committed.
class WriteTransaction {
 public:
  explicit WriteTransaction(Database& db);
  ~WriteTransaction();
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;
  void Commit();

 private:
  Database& db_;
  bool owner_ = false;
  bool done_ = false;
};

}  // namespace vx::reg
