// The register of transfer files: its tables and rows as the sqlite3 tool
// reads them, files settled on opening after a run stopped half way, the
// bank's statuses recorded once and in order, the salaries that may be paid
// again, and two programs taking turns.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <fstream>
#include <future>
#include <random>
#include <set>
#include <thread>

#include "platform/finished_file.h"
#include "register/database.h"
#include "register/sha256.h"
#include "register/transfer_register.h"
#include "support/shell.h"
#include "support/temp_folder.h"

namespace vx::reg {
namespace {

namespace fs = std::filesystem;
using vx::testing::Quote;
using vx::transfer::TransferKind;
using Answer = vx::transfer::TransactionStatus;

// 26 November 2025, 09:30:00 local time.
std::chrono::system_clock::time_point Moment() {
  std::tm t{};
  t.tm_year = 125, t.tm_mon = 10, t.tm_mday = 26, t.tm_hour = 9, t.tm_min = 30, t.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&t));
}

class RegisterTest : public ::testing::Test {
 protected:
  std::unique_ptr<TransferRegister> Open(BusyWait wait = {}) {
    return std::make_unique<TransferRegister>(folder_.Path(), std::move(wait), [] { return Moment(); });
  }
  fs::path Database() const { return folder_.Path() / kRegisterName; }
  std::string Sql(const std::string& sql) const {
    return vx::testing::Shell("sqlite3 -batch " + Quote(Database()) + " " + Quote(sql)).output;
  }

  // A file of the month of November 2025 paying the employees named, 1000.00 more each.
  static NewFile File(const std::string& message, std::vector<std::string> employees, int slot = 0,
                      TransferKind kind = TransferKind::Cbi) {
    NewFile f;
    f.company = "001";
    f.slot = slot;
    f.year = 2025, f.month = 11;
    f.kind = kind;
    f.message_id = message;
    f.payment_info_id = message + "-1";
    f.file_name = (kind == TransferKind::Cbi ? "CBI_001_B" : "SEPA_001_B") + std::to_string(slot) + "_2025-11.xml";
    f.sha256 = Sha256Hex(message);
    f.execution_date = *vx::transfer::ParseIsoDate("2025-11-27");
    for (std::size_t i = 0; i < employees.size(); ++i) {
      f.transactions.push_back({employees[i], "DIPENDENTE " + employees[i], "IT60X0542811101000000123456",
                                static_cast<int64_t>(100000 * (i + 1)), message + "-E" + employees[i],
                                std::to_string(i + 1)});
    }
    return f;
  }
  int64_t Written(TransferRegister& r, const NewFile& f) {
    const int64_t id = r.BeginFile(f);
    r.FileWritten(id);
    return id;
  }
  static vx::transfer::StatusReport Report(const std::string& id, const std::string& created,
                                           const std::string& original, std::vector<Answer> statuses) {
    return {id, created, original, "pain.001.001.09", "", std::move(statuses)};
  }
  static Answer Salary(const std::string& e2e, const std::string& status, std::vector<std::string> reasons = {}) {
    return {"", e2e, "", status, std::move(reasons)};
  }
  static Answer Whole(const std::string& status, std::vector<std::string> reasons = {}) {
    return {"", "", "", status, std::move(reasons)};
  }

  vx::testing::TempFolder folder_;
};

TEST_F(RegisterTest, TablesAndRowsAsTheSqliteToolReadsThem) {
  auto r = Open();
  NewFile f = File("STIP-1", {"0010010001", "0010010002"});
  f.transactions[1].name = "NICOL\xD2 D'ANGELO";
  const int64_t id = r->BeginFile(f);
  EXPECT_EQ(Sql("SELECT state FROM files"), "being written\n");
  r->FileWritten(id);

  EXPECT_EQ(Sql("PRAGMA journal_mode; PRAGMA user_version"), "delete\n1\n");
  EXPECT_EQ(Sql("SELECT company, slot, year, month, kind, message_id, payment_info_id, file_name, transactions, "
                "total_cents, execution_date, written_at, state, completes IS NULL FROM files"),
            "001|0|2025|11|CBI|STIP-1|STIP-1-1|CBI_001_B0_2025-11.xml|2|300000|2025-11-27|2025-11-26T09:30:00|"
            "written|1\n");
  EXPECT_EQ(Sql("SELECT sha256 FROM files"), Sha256Hex("STIP-1") + "\n");
  EXPECT_EQ(Sql("SELECT file, employee, name, iban, cents, end_to_end_id, instruction_id FROM transactions"),
            "1|0010010001|DIPENDENTE 0010010001|IT60X0542811101000000123456|100000|STIP-1-E0010010001|1\n"
            "1|0010010002|NICOL\xC3\x92 D'ANGELO|IT60X0542811101000000123456|200000|STIP-1-E0010010002|2\n");
  EXPECT_EQ(r->WrittenFiles("001", 0, 2025, 11, TransferKind::Cbi).at(0).transactions.at(1).name,
            "NICOL\xD2 D'ANGELO");
  EXPECT_FALSE(fs::exists(Database().string() + "-wal"));

  // A file is recorded whole or not at all: a salary twice over leaves no trace of it.
  NewFile twice = File("STIP-2", {"0010010001", "0010010001"}, 1);
  try {
    r->BeginFile(twice);
    ADD_FAILURE() << "recorded";
  } catch (const RegisterError& e) {
    EXPECT_EQ(e.path, Database().string());
    EXPECT_EQ(std::string(e.what()), Database().string() + ": UNIQUE constraint failed: "
                                                           "transactions.file, transactions.end_to_end_id");
  }
  EXPECT_EQ(Sql("SELECT count(*) FROM files; SELECT count(*) FROM transactions"), "1\n2\n");
  // Inside a larger transaction too, the failed file alone is taken back.
  r->Exclusively([&] {
    EXPECT_THROW(r->BeginFile(twice), RegisterError);
    Written(*r, File("STIP-4", {"0010010004"}, 1));
  });
  EXPECT_EQ(Sql("SELECT message_id FROM files; SELECT count(*) FROM transactions"), "STIP-1\nSTIP-4\n3\n");
  // Foreign keys are enforced on the program's connection.
  EXPECT_THROW(r->BeginFile([] {
    NewFile orphan = File("STIP-3", {"0010010003"});
    orphan.completes = 99;
    return orphan;
  }()),
               RegisterError);
  r.reset();

  // A register of a later layout, or another database, is not touched.
  Sql("PRAGMA user_version=2");
  EXPECT_THROW(Open(), RegisterError);
  fs::remove(Database());
  Sql("CREATE TABLE other (x)");
  EXPECT_THROW(Open(), RegisterError);
}

TEST_F(RegisterTest, OpeningSettlesTheFilesEarlierRunsLeftBeingWritten) {
  auto r = Open();
  const auto put = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(folder_.Path() / name, std::ios::binary) << bytes;
  };
  // In place with its bytes: the run stopped before saying it was written.
  NewFile in_place = File("IN-PLACE", {"0010010001"}, 0);
  r->BeginFile(in_place);
  put(in_place.file_name, "IN-PLACE");
  // Never put in place.
  r->BeginFile(File("MISSING", {"0010010001"}, 1));
  // Its name holds an earlier file's bytes.
  NewFile earlier = File("EARLIER", {"0010010001"}, 2);
  Written(*r, earlier);
  NewFile replaced = File("REPLACED", {"0010010001"}, 2);
  r->BeginFile(replaced);
  put(earlier.file_name, "EARLIER");
  // Said not written, yet in place with its bytes: stopped between the two.
  NewFile late = File("LATE", {"0010010001"}, 0, TransferKind::Sepa);
  r->FileNotWritten(r->BeginFile(late));
  put(late.file_name, "LATE");
  r.reset();

  r = Open();
  std::vector<std::string> settled;
  for (const Settled& s : r->SettledOnOpening()) {
    settled.push_back(s.file.message_id + (s.now == FileState::Written ? " written" : " not written"));
  }
  EXPECT_EQ(settled, (std::vector<std::string>{"IN-PLACE written", "LATE written", "MISSING not written",
                                               "REPLACED not written"}));
  EXPECT_EQ(Sql("SELECT message_id, state FROM files ORDER BY id"),
            "IN-PLACE|written\nMISSING|not written\nEARLIER|written\nREPLACED|not written\nLATE|written\n");
  r.reset();
  EXPECT_TRUE(Open()->SettledOnOpening().empty());
}

TEST_F(RegisterTest, AProgramKilledAtAnyMomentLeavesRegisterAndFolderInAgreement) {
  std::mt19937 random(19);
  int written = 0, not_written = 0;
  // Twelve kills at least, more while none has yet landed on each side of
  // a file's recording (a busy machine may kill every writer early).
  for (int round = 0; round < 12 || (round < 80 && (written == 0 || not_written == 0)); ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Files recorded and put in place as a run does it, until killed.
      try {
        TransferRegister r(folder_.Path());
        for (int n = 0;; ++n) {
          NewFile f = File("K" + std::to_string(round) + "-" + std::to_string(n), {"A", "B", "C"});
          f.file_name = f.message_id + ".xml";
          const std::string bytes = "<Document>" + f.message_id + "</Document>";
          f.sha256 = Sha256Hex(bytes);
          const int64_t id = r.BeginFile(f);
          vx::platform::WriteFinishedFile(folder_.Path() / f.file_name, bytes);
          r.FileWritten(id);
        }
      } catch (...) {
      }
      _exit(1);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 150000));
    ::kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself in round " << round;

    auto r = Open();
    std::set<std::string> registered;
    for (const RegisteredFile& f : r->History()) {
      const auto there = FileSha256Hex(folder_.Path() / f.file_name);
      ASSERT_NE(f.state, FileState::BeingWritten) << f.file_name;
      EXPECT_EQ(f.state == FileState::Written, there == f.sha256) << f.file_name;
      if (f.state == FileState::Written) registered.insert(f.file_name), ++written;
      else ++not_written;
    }
    for (const auto& entry : fs::directory_iterator(folder_.Path())) {
      if (entry.path().extension() == ".xml") {
        EXPECT_TRUE(registered.count(entry.path().filename().string()))
            << entry.path() << " is in the folder and not in the register";
      }
    }
  }
  EXPECT_GT(written, 0);
  EXPECT_GT(not_written, 0);
}

TEST_F(RegisterTest, StatusesAreRecordedOnceAndInTheOrderTheBankWroteThem) {
  auto r = Open();
  Written(*r, File("STIP-1", {"A", "B", "C"}));
  const auto apply = [&](const vx::transfer::StatusReport& report) {
    const ApplyResult result = r->ApplyStatusReport(report, "esito.xml");
    std::vector<std::string> outcomes;
    for (const AppliedStatus& a : result.applied) {
      static constexpr const char* kWords[] = {"recorded", "already", "over final", "older", "copy"};
      outcomes.push_back(a.transaction.employee + " " + a.status + " " + kWords[static_cast<int>(a.outcome)] +
                         (a.transaction.status ? " (was " + a.transaction.status->status + ")" : ""));
    }
    return outcomes;
  };
  const auto now = [&] {
    std::string line;
    const auto files = r->WrittenFiles("001", 0, 2025, 11, TransferKind::Cbi);
    for (const auto& t : files.at(0).transactions) {
      line += t.employee + "=" + (t.status ? t.status->status : "none") + " ";
    }
    return line;
  };
  using V = std::vector<std::string>;

  const auto first = Report("R1", "2025-11-28T10:00:00", "STIP-1",
                            {Salary("STIP-1-EA", "RJCT", {"AC04"}), Salary("STIP-1-EB", "ACSP")});
  EXPECT_EQ(apply(first), (V{"A RJCT recorded", "B ACSP recorded"}));
  const StatusCounts counted = r->ApplyStatusReport(first, "esito.xml").files.at(0).counts;
  EXPECT_EQ(counted.accepted + 10 * counted.rejected + 100 * counted.unanswered, 111);
  EXPECT_EQ(apply(first), (V{"A RJCT already (was RJCT)", "B ACSP already (was ACSP)"}));
  EXPECT_EQ(now(), "A=RJCT B=ACSP C=none ");
  EXPECT_EQ(r->WrittenFiles("001", 0, 2025, 11, TransferKind::Cbi)[0].transactions[0].status->reasons,
            V{"AC04"});

  EXPECT_EQ(apply(Report("R2", "2025-11-29T08:00:00.000+01:00", "STIP-1", {Whole("ACSC")})),
            (V{"A ACSC over final (was RJCT)", "B ACSC recorded (was ACSP)", "C ACSC recorded"}));
  EXPECT_EQ(apply(Report("R0", "2025-11-27T18:00:00", "STIP-1", {Whole("PDNG")})),
            (V{"A PDNG older (was ACSC)", "B PDNG older (was ACSC)", "C PDNG older (was ACSC)"}));
  EXPECT_EQ(apply(Report("R3", "2025-11-30T08:00:00", "STIP-1", {Whole("RJCT", {"DUPL"})})),
            (V{"A RJCT copy (was ACSC)", "B RJCT copy (was ACSC)", "C RJCT copy (was ACSC)"}));
  EXPECT_EQ(now(), "A=ACSC B=ACSC C=ACSC ");
  EXPECT_EQ(Sql("SELECT report_message_id, status, stands, report_created, read_at FROM statuses WHERE tx = 1 "
                "ORDER BY id"),
            "R1|RJCT|1|2025-11-28T10:00:00|2025-11-26T09:30:00\nR2|ACSC|1|2025-11-29T08:00:00|2025-11-26T09:30:00\n"
            "R0|PDNG|1|2025-11-27T18:00:00|2025-11-26T09:30:00\nR3|RJCT|0|2025-11-30T08:00:00|2025-11-26T09:30:00\n");

  // A report for a message the register does not know, or naming salaries
  // or payments the file does not hold, changes nothing.
  const std::string before = Sql("SELECT count(*) FROM statuses");
  ApplyResult unknown = r->ApplyStatusReport(Report("R4", "2025-12-01T08:00:00", "STIP-9", {Whole("RJCT")}), "x");
  EXPECT_TRUE(unknown.files.empty());
  EXPECT_FALSE(unknown.Matched());
  ApplyResult stranger = r->ApplyStatusReport(
      Report("R5", "2025-12-01T08:00:00", "STIP-1",
             {Salary("STIP-1-EA", "RJCT"), Salary("STIP-1-EZ", "RJCT"), {"OTHER-1", "", "", "RJCT", {}},
              {"", "STIP-1-EB", "9", "RJCT", {}}}),
      "x");
  EXPECT_EQ(stranger.files.size(), 1u);
  ASSERT_EQ(stranger.unmatched.size(), 3u);
  EXPECT_EQ(stranger.unmatched[0].end_to_end_id, "STIP-1-EZ");
  EXPECT_EQ(stranger.unmatched[1].payment_info_id, "OTHER-1");
  EXPECT_EQ(stranger.unmatched[2].instruction_id, "9");
  EXPECT_TRUE(stranger.applied.empty());
  EXPECT_EQ(Sql("SELECT count(*) FROM statuses"), before);
  // Matched by the instruction identifier when the bank gives only that.
  EXPECT_EQ(apply(Report("R6", "2025-12-02T08:00:00", "STIP-1", {{"STIP-1-1", "", "3", "ACCC", {}}})),
            V{"C ACCC recorded (was ACSC)"});
}

TEST_F(RegisterTest, TheMonthsHistoryAndTheSalariesRejectedAndNeverPaidSince) {
  auto r = Open();
  const int64_t first = Written(*r, File("STIP-1", {"A", "B", "C", "D"}));
  r->ApplyStatusReport(Report("R1", "2025-11-28T10:00:00", "STIP-1",
                              {Whole("ACSC"), Salary("STIP-1-EA", "RJCT", {"AC04", "CODICE 12"}),
                               Salary("STIP-1-EB", "RJCT", {"AC01"}), Salary("STIP-1-ED", "RJCT", {"MD07"})}),
                       "esito-1.xml");
  // B is paid again by a SEPA file not yet answered; D again, and rejected again.
  NewFile again = File("STIP-2", {"B", "D"}, 0, TransferKind::Sepa);
  again.completes = first;
  const int64_t second = Written(*r, again);
  r->ApplyStatusReport(Report("R2", "2025-12-01T10:00:00", "STIP-2", {Salary("STIP-2-ED", "RJCT", {"AM04"})}),
                       "esito-2.xml");
  // Neither a file that never reached the folder nor another slot's counts.
  r->FileNotWritten(r->BeginFile(File("STIP-3", {"A"})));
  Written(*r, File("STIP-4", {"A"}, 1));

  const std::vector<Unpaid> unpaid = r->RejectedNotPaidSince("001", 0, 2025, 11);
  ASSERT_EQ(unpaid.size(), 2u);
  EXPECT_EQ(unpaid[0].transaction.employee, "A");
  EXPECT_EQ(unpaid[0].file.id, first);
  EXPECT_EQ(unpaid[0].transaction.status->reasons, (std::vector<std::string>{"AC04", "CODICE 12"}));
  EXPECT_EQ(unpaid[1].transaction.employee, "D");
  EXPECT_EQ(unpaid[1].file.id, second);
  EXPECT_EQ(unpaid[1].file.completes, first);
  EXPECT_EQ(unpaid[1].transaction.status->report_file, "esito-2.xml");
  EXPECT_TRUE(r->RejectedNotPaidSince("001", 0, 2025, 10).empty());

  // The month's history: every file, written or not, each salary counted by its status.
  std::string history;
  for (const RegisteredFile& f : r->History(2025, 11)) {
    history += f.message_id + " " + std::to_string(f.count) + " " + std::to_string(f.total_cents) + " " +
               std::to_string(f.counts.accepted) + std::to_string(f.counts.pending) +
               std::to_string(f.counts.rejected) + std::to_string(f.counts.unanswered) + "\n";
  }
  EXPECT_EQ(history, "STIP-1 4 1000000 1030\nSTIP-2 2 300000 0011\nSTIP-3 1 100000 0001\nSTIP-4 1 100000 0001\n");
  EXPECT_EQ(r->History(2025).size(), 4u);
  EXPECT_TRUE(r->History(2025, 10).empty());
}

// Statements are prepared once and kept; one asked for while the kept one is
// still being read gets its own, and the kept one comes back clean.
TEST_F(RegisterTest, TheSameQuestionAskedInsideItselfReadsEachItsOwnRows) {
  vx::reg::Database db(folder_.Path() / "questions.sqlite", {});
  db.Execute("CREATE TABLE t (n INTEGER); INSERT INTO t VALUES (1), (2)");
  const std::string sql = "SELECT n FROM t WHERE n >= ? ORDER BY n";
  std::vector<int64_t> pairs;
  {
    Statement outer(db, sql);
    outer.Bind(1, int64_t{1});
    while (outer.Step()) {
      Statement inner(db, sql);
      inner.Bind(1, outer.Int(0));
      while (inner.Step()) pairs.push_back(outer.Int(0) * 10 + inner.Int(0));
    }
  }
  EXPECT_EQ(pairs, (std::vector<int64_t>{11, 12, 22}));
  Statement again(db, sql);
  again.Bind(1, int64_t{2});
  ASSERT_TRUE(again.Step());
  EXPECT_EQ(again.Int(0), 2);
  EXPECT_FALSE(again.Step());
}

TEST_F(RegisterTest, ASecondProgramWaitsItsTurnIsToldOnceAndCanGiveUp) {
  auto holder = Open();
  std::vector<std::string> told;
  int taken = 0;
  auto waiter = Open({std::chrono::milliseconds(5), std::chrono::milliseconds(200), std::nullopt,
                      [&](const std::string& path) { told.push_back(path); }, [&] { ++taken; }, {}});
  auto impatient = Open({std::chrono::milliseconds(5), std::chrono::milliseconds(200),
                         std::chrono::milliseconds(100), {}, {}, {}});
  std::atomic<bool> cancel{false};
  auto cancelled = Open({std::chrono::milliseconds(5), std::chrono::milliseconds(200), std::nullopt, {}, {},
                         [&] { return !cancel.load(); }});

  std::promise<void> locked;
  std::thread hold([&] {
    holder->Exclusively([&] {
      locked.set_value();
      std::this_thread::sleep_for(std::chrono::milliseconds(600));
    });
  });
  locked.get_future().wait();
  try {
    impatient->BeginFile(File("STIP-2", {"B"}));
    ADD_FAILURE() << "recorded while another program held the register";
  } catch (const RegisterBusy& e) {
    EXPECT_EQ(e.path, Database().string());
    EXPECT_FALSE(e.cancelled);
    EXPECT_GE(e.waited, std::chrono::milliseconds(100));
  }
  cancel = true;
  EXPECT_THROW(cancelled->BeginFile(File("STIP-3", {"C"})), RegisterBusy);
  const auto start = std::chrono::steady_clock::now();
  waiter->BeginFile(File("STIP-1", {"A"}));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  hold.join();
  EXPECT_EQ(told, std::vector<std::string>{Database().string()});
  EXPECT_EQ(taken, 1);
  EXPECT_EQ(Sql("SELECT message_id FROM files"), "STIP-1\n");
}

}  // namespace
}  // namespace vx::reg
