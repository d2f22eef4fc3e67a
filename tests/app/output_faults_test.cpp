// Faults a run meets on its way out, driven on the real executable: a full
// disk, a run killed at a random moment, the payroll archives locked by
// another program, files of earlier runs in the way. Whatever happens, no
// file stands under its final name that is not complete (an earlier run's
// file stays as it was until the new one is whole), and the archives folder
// is left as it was, apart from the transfer files.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "listing_world.h"
#include "platform/finished_file.h"
#include "program_run.h"
#include "support/register_agreement.h"

namespace vx::app::test {
namespace {

namespace fs = std::filesystem;

// What an earlier run left, planted before a run that fails.
const std::string kEarlier = "file of an earlier run\r\n";

class OutputFaults : public ::testing::Test, public ListingWorld {
 protected:
  // Two companies with `employees` employees each.
  explicit OutputFaults(int employees = 1) {
    Company(1, "ALFA SRL");
    Company(2, "BETA SPA");
    // The employee number is the record number: one series for both.
    auto number = [](int i) { return std::to_string(10000 + i).substr(1); };
    for (int i = 1; i <= employees; ++i) {
      Payable(Employee("001001" + number(i), "ROSSI", "MARIO " + number(i), kBankX, 123450 + i), kBankX);
      Payable(Employee("002001" + number(employees + i), "NERI", "ANNA " + number(i), kBankY, 200000 + i), kBankY);
    }
    builder.SetDebtorSettings(
        "[DITTA 001 CONTO 0]\r\nIBAN = IT60X0542811101000000123456\r\n"
        "[DITTA 002 CONTO 0]\r\nIBAN = IT60X0542811101000000123456\r\n");
    builder.Write(folder.Path());
    before = ArchivesNow();
  }
  void TearDown() override { EXPECT_EQ(ArchivesNow(), before) << "a run changed the archives"; }

  Outcome Run(const std::string& arguments) { return Vxorel(folder.Path(), "--batch --output pdf " + arguments); }
  fs::path Pdf(const std::string& company, const std::string& name) const {
    return folder.Path() / "drive_c" / "PVXPAGHE" / "FILE-PDF" / company / "2025" / "11" / "BANC" /
           ("BANC_0_S_" + company + "_" + name + ".pdf");
  }
  static int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  // Runs once undisturbed: the transfer files a complete run writes.
  void RunUndisturbed() {
    const Outcome run = Run("");
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* name : {"BONI001B0.TXT", "BONI002B0.TXT"}) complete[name] = Boni(name);
  }
  // Every output as an earlier run's file.
  void PlantEarlierFiles() {
    for (const auto& path : {Pdf("001", "ALFA SRL"), Pdf("002", "BETA SPA"), ArchivesFolder() / "BONI001B0.TXT",
                             ArchivesFolder() / "BONI002B0.TXT"}) {
      fs::create_directories(path.parent_path());
      std::ofstream(path, std::ios::binary) << kEarlier;
    }
  }
  // Each output under its final name is the earlier run's, or complete.
  void ExpectNothingHalfWritten(const std::string& context) {
    for (const auto& [name, bytes] : complete) {
      const fs::path path = ArchivesFolder() / name;
      if (!fs::exists(path)) continue;
      const std::string now = Boni(name);
      EXPECT_TRUE(now == kEarlier || now == bytes) << context << ": " << name << " is\n" << now;
    }
    for (const auto& pdf : {Pdf("001", "ALFA SRL"), Pdf("002", "BETA SPA")}) {
      if (!fs::exists(pdf) || vx::testing::ReadWholeFile(pdf) == kEarlier) continue;
      const Outcome check = Shell("qpdf --check " + Quote(pdf.string()));
      EXPECT_EQ(check.status, 0) << context << ": " << pdf << "\n" << check.out;
    }
  }
  // Files under a temporary name: there must be none once a run has ended
  // by itself, however it ended.
  std::vector<std::string> Temporaries() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path() / "drive_c")) {
      if (entry.path().extension() == ".tmp") found.push_back(entry.path().filename().string());
    }
    return found;
  }

  vx::testing::FolderSnapshot before;
  std::map<std::string, std::string> complete;  // transfer files of a complete run
};

class OutputFaultsOnLongerRuns : public OutputFaults {
 protected:
  // The company list holds a company once per employee in the extraction:
  // eighty company listings of forty employees, each with files to write,
  // so that a random moment often falls while a file is being written.
  OutputFaultsOnLongerRuns() : OutputFaults(40) {}
};

TEST_F(OutputFaults, FullDiskLeavesTheEarlierFilesOrCompleteOnes) {
  RunUndisturbed();
  const std::uintmax_t boni = complete["BONI001B0.TXT"].size();
  const std::uintmax_t pdf = fs::file_size(Pdf("001", "ALFA SRL"));
  ASSERT_LT(boni + 512, pdf) << "the limits below expect a PDF larger than its transfer file";
  // Room for nothing, for the transfer file only, for almost all of the PDF.
  for (const std::uintmax_t blocks : {std::uintmax_t{0}, (boni + 511) / 512, pdf / 512}) {
    PlantEarlierFiles();
    const std::string limit = "trap '' XFSZ; ulimit -f " + std::to_string(blocks) + ";";
    const Outcome run = Vxorel(folder.Path(), "--batch --output pdf", limit);
    const std::string context = std::to_string(blocks) + " blocks";
    EXPECT_NE(run.status, 0) << context;
    // The stop names the file as the operator knows it, not as it is
    // written (with no room at all, there is none for the messages either).
    if (blocks > 0) {
      EXPECT_NE(run.err.find("\nFile: C:\\PVXPAGHE\\"), std::string::npos) << context << run.err;
      EXPECT_EQ(run.err.find(folder.Path().string()), std::string::npos) << context << run.err;
    }
    ExpectNothingHalfWritten(context);
    EXPECT_EQ(Boni("BONI001B0.TXT"), kEarlier) << context;
    EXPECT_EQ(vx::testing::ReadWholeFile(Pdf("001", "ALFA SRL")), kEarlier) << context;
    EXPECT_EQ(Temporaries(), std::vector<std::string>{}) << context;
  }
}

TEST_F(OutputFaultsOnLongerRuns, RunKilledAtARandomMomentLeavesTheEarlierFilesOrCompleteOnes) {
  const auto start = std::chrono::steady_clock::now();
  RunUndisturbed();
  const auto whole_run = std::chrono::steady_clock::now() - start;
  PlantEarlierFiles();
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> moment(0, std::chrono::duration_cast<std::chrono::microseconds>(whole_run).count());
  // Every other run prints, to files: those too are whole or absent. Each
  // writes SEPA transfer files: every other one into an empty folder, so
  // that it records new files; the others after the run killed before,
  // whose register it settles first.
  const fs::path printed = folder.Path() / "printed";
  const fs::path transfers = folder.Path() / "drive_c" / "PVXPAGHE" / "FILE-BONIFICI";
  for (int attempt = 0; attempt < 8; ++attempt) {
    const auto wait = std::chrono::microseconds(moment(random));
    if (attempt % 4 < 2) fs::remove_all(transfers);
    const std::string output = (attempt % 2 == 0 ? "--output pdf" : "--print-to " + Quote(printed.string())) +
                               " --transfer sepa";
    const std::string command = "exec env WINEPREFIX=" + Quote(folder.Path().string()) +
                                " QT_QPA_PLATFORM=offscreen " VXOREL_EXECUTABLE " --batch " + output + " 2>/dev/null";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    std::this_thread::sleep_for(wait);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string context = "seed " + std::to_string(seed) + ", killed after " + std::to_string(wait.count()) + " us";
    ExpectNothingHalfWritten(context);
    EXPECT_EQ(vx::testing::RegisterDisagreements(transfers), "") << context;
    if (!fs::exists(printed)) continue;
    for (const auto& entry : fs::directory_iterator(printed)) {
      if (entry.path().extension() != ".pdf") continue;
      const Outcome check = Shell("qpdf --check " + Quote(entry.path().string()));
      EXPECT_EQ(check.status, 0) << context << ": " << entry.path() << "\n" << check.out;
    }
  }

  // The next runs remove the temporaries the killed ones left, once they
  // have rested, in every folder they write in; one that another run still
  // holds stays.
  fs::create_directories(printed);
  for (const fs::path& left : {ArchivesFolder() / "BONI002B0.TXT.aaaaaa.tmp",
                               Pdf("001", "ALFA SRL").replace_extension(".pdf.aaaaaa.tmp"), printed / "001_001.pdf.aaaaaa.tmp"}) {
    std::ofstream(left) << "left";
  }
  const fs::path busy = ArchivesFolder() / "BONI001B0.TXT.bbbbbb.tmp";
  std::ofstream(busy) << "busy";
  const int held = ::open(busy.c_str(), O_RDWR);
  ASSERT_TRUE(platform::HoldWhileWritten(held));
  const auto rested = fs::file_time_type::clock::now() - std::chrono::minutes(5);
  for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
    if (entry.path().extension() == ".tmp") fs::last_write_time(entry.path(), rested);
  }
  EXPECT_EQ(Run("--transfer sepa").status, 0);
  EXPECT_EQ(Vxorel(folder.Path(), "--batch --print-to " + Quote(printed.string())).status, 0);
  std::vector<std::string> left;
  for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
    if (entry.path().extension() == ".tmp") left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"BONI001B0.TXT.bbbbbb.tmp"}) << "seed " << seed;
  ::close(held);
  // Every file the runs left being written is settled.
  EXPECT_EQ(Run("--transfer sepa").status, 0);
  EXPECT_EQ(Shell("sqlite3 -batch " + Quote((transfers / "REGISTRO-BONIFICI.sqlite").string()) +
                  " \"SELECT count(*) FROM files WHERE state = 'being written'\"").out,
            "0\n");
  EXPECT_EQ(vx::testing::RegisterDisagreements(transfers), "");
}

TEST_F(OutputFaults, LockedArchivesAreWaitedForVisiblyOrGivenUpAfterTheTimeout) {
  platform::Files other(platform::WinePrefix(folder.Path()));
  other.OpenBinary(1, "C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT", platform::Access::ExclusiveLock);

  // Held for good: the run gives up on the first company and says why.
  const Outcome forever = Run("--lock-timeout 1");
  EXPECT_EQ(forever.status, 4) << forever.err;
  EXPECT_EQ(Count(forever.err, "Gli archivi paghe sono bloccati da un altro programma "
                               "(C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT): la stampa attende"),
            0)
      << "said before two seconds of waiting: " << forever.err;
  EXPECT_NE(forever.err.find("rimasti bloccati da un altro programma per 1 secondi "
                             "(C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT)"),
            std::string::npos)
      << forever.err;
  EXPECT_NE(forever.err.find("nessun file della ditta 001"), std::string::npos) << forever.err;
  EXPECT_FALSE(fs::exists(Pdf("001", "ALFA SRL")));
  EXPECT_FALSE(fs::exists(ArchivesFolder() / "BONI001B0.TXT"));
  EXPECT_EQ(Temporaries(), std::vector<std::string>{});

  // Held for three seconds: the run says once that it waits, then lists.
  std::thread holder([&] {
    std::this_thread::sleep_for(std::chrono::seconds(3));
    other.Close(1);
  });
  const Outcome waited = Run("");
  holder.join();
  EXPECT_EQ(waited.status, 0) << waited.err;
  EXPECT_EQ(Count(waited.err, "bloccati da un altro programma (C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT)"), 1)
      << waited.err;
  EXPECT_TRUE(fs::exists(Pdf("001", "ALFA SRL")));
  EXPECT_TRUE(fs::exists(Pdf("002", "BETA SPA")));
  EXPECT_EQ(Boni("BONI001B0.TXT").substr(0, 9), "cod.ditta");
}

TEST_F(OutputFaults, StopsNameTheFileAndWhatWasBeingDone) {
  // A file where the PDF tree should begin.
  std::ofstream(folder.Path() / "drive_c" / "PVXPAGHE" / "FILE-PDF") << "x";
  const Outcome pdf = Run("");
  EXPECT_NE(pdf.status, 0);
  EXPECT_NE(pdf.err.find("Errore 75 Path/File access error\n"), std::string::npos) << pdf.err;
  EXPECT_NE(pdf.err.find("\nFile: C:\\PVXPAGHE\\FILE-PDF\nOperazione: creazione della cartella dei file PDF\n"),
            std::string::npos)
      << pdf.err;
  // A file where the printed documents should go.
  const fs::path plain = folder.Path() / "stampe";
  std::ofstream(plain) << "x";
  const Outcome printed = Vxorel(folder.Path(), "--batch --print-to " + Quote(plain.string()));
  EXPECT_NE(printed.status, 0);
  EXPECT_NE(printed.err.find("ERR.STAMPANTE - SI VUOLE RITENTARE ?\nFile: " + plain.string() +
                             "\nOperazione: creazione della cartella dei documenti stampati\n"),
            std::string::npos)
      << printed.err;
}

TEST_F(OutputFaults, ReplacedPdfFilesAreReportedAndOneInAnotherLetterCaseGivesWay) {
  RunUndisturbed();
  const Outcome again = Run("");
  EXPECT_EQ(again.status, 0) << again.err;
  // A file of another program under the same name in other letters.
  const fs::path lower = Pdf("001", "ALFA SRL").parent_path() / "banc_0_s_001_alfa srl.pdf";
  fs::rename(Pdf("001", "ALFA SRL"), lower);
  const Outcome other_month = Run("--month 10");
  EXPECT_EQ(other_month.status, 0) << other_month.err;
  EXPECT_FALSE(fs::exists(lower));
  EXPECT_TRUE(fs::exists(Pdf("001", "ALFA SRL")));
  EXPECT_NE(other_month.err.find("AVVISO File PDF - ditta 001: C:\\PVXPAGHE\\FILE-PDF\\001\\2025\\11\\BANC\\"
                                 "BANC_0_S_001_ALFA SRL.pdf: sostituisce il file banc_0_s_001_alfa srl.pdf di una "
                                 "stampa precedente"),
            std::string::npos)
      << other_month.err;
  EXPECT_NE(other_month.err.find("AVVISO File PDF - ditta 002: C:\\PVXPAGHE\\FILE-PDF\\002\\2025\\11\\BANC\\"
                                 "BANC_0_S_002_BETA SPA.pdf: sostituisce il file omonimo di una stampa precedente"),
            std::string::npos)
      << other_month.err;
  EXPECT_EQ(Count(again.err, "AVVISO File PDF"), 2) << again.err;
}

}  // namespace
}  // namespace vx::app::test
