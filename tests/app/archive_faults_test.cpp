// Damaged and missing payroll archives, one fault per group: the run names
// the file and the employee, leaves no output of a company it cannot trust
// looking complete, still lists the companies it can, and never creates or
// changes anything in the archives folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "listing_world.h"

namespace vx::app::test {
namespace {

constexpr const char* kEmployees = "C:\\PVXPAGHE\\ARCHIVI\\SLDIPEN.DAT";
constexpr std::uintmax_t kEmployeeRecord = 15792;

class ArchiveFaults : public ::testing::Test, public ListingWorld {
 protected:
  // Company 1 with employees 1 and 2, company 2 with employees 3 and 4.
  void TwoCompanies() {
    Company(1, "ALFA SRL");
    Company(2, "BETA SPA");
    Employee("0010010001", "ROSSI", "MARIO", kBankX, 100);
    Employee("0010010002", "VERDI", "ANNA", kBankY, 200);
    Employee("0020010003", "BIANCHI", "LUCA", kBankZ, 300);
    Employee("0020010004", "NERI", "ELSA", kBankX, 400);
  }
  std::filesystem::path Archive(const std::string& name) const { return ArchivesFolder() / name; }
  // Points the index entry of `code` at another record number.
  void Repoint(const std::string& code, int record) {
    std::string index = vx::testing::ReadWholeFile(Archive("SLDIPEN.IDX"));
    const std::size_t at = index.find(code + "3");
    ASSERT_NE(at, std::string::npos);
    const std::string number = std::to_string(record);
    index.replace(at + 11, 6, std::string(6 - number.size(), '0') + number);
    std::ofstream(Archive("SLDIPEN.IDX"), std::ios::binary) << index;
  }
  // The report's error entries about the archives, as "company employee field: message".
  std::vector<std::string> Damage() const {
    std::vector<std::string> found;
    for (const ReportEntry& e : run->run_report.Entries()) {
      if (e.severity == Severity::Error && e.topic == kTopicArchivi)
        found.push_back(e.company + " " + e.employee + " " + e.field + ": " + e.message);
    }
    return found;
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(Archive(name)); }
};

bool Mentions(const std::string& entry, const std::string& what) { return entry.find(what) != std::string::npos; }

// ---------------------------------------------------------------------------
// An archive cut short

// Cut inside a record, the company whose records it held is lost; cut
// between records, the company keeps its listing without the lost
// employee, who is named.
TEST_F(ArchiveFaults, EmployeeArchiveCutShortLosesThatCompanyOrTheEmployeesPastTheCut) {
  TwoCompanies();
  Write();
  std::filesystem::resize_file(Archive("SLDIPEN.DAT"), 3 * kEmployeeRecord + 100);
  StartUp();
  Press(Controls());
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{"001", 2}}));
  EXPECT_TRUE(Exists("BONI001B0.TXT"));
  EXPECT_FALSE(Exists("BONI002B0.TXT"));
  auto damage = Damage();
  ASSERT_EQ(damage.size(), 2u);
  EXPECT_TRUE(Mentions(damage[0], std::string("002 0020010004 ") + kEmployees)) << damage[0];
  EXPECT_TRUE(Mentions(damage[1], kEmployees) && Mentions(damage[1], "troncato")) << damage[1];
  EXPECT_TRUE(run->run_report.ArchivesDamaged());
  EXPECT_EQ(ArchivesNow(), archives_before);

  std::filesystem::resize_file(Archive("SLDIPEN.DAT"), 3 * kEmployeeRecord);
  StartUp();
  Press(Controls());
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{"001", 2}, {"002", 1}}));
  damage = Damage();
  ASSERT_EQ(damage.size(), 1u);
  EXPECT_TRUE(Mentions(damage[0], "002 0020010004 estrazione, posizione 4, ") && Mentions(damage[0], kEmployees))
      << damage[0];
}

// ---------------------------------------------------------------------------
// An index entry pointing elsewhere

TEST_F(ArchiveFaults, IndexEntryPointingAtAnotherRecordOrPastTheEndLosesThatCompanyOnly) {
  TwoCompanies();
  Company(3, "GAMMA SNC");
  Employee("0030010005", "GIALLI", "PIA", kBankY, 500);
  Write();
  Repoint("0010010002", 3);    // the record of an employee of company 2
  Repoint("0020010004", 900);  // past the end of the archive
  StartUp();
  Press(Controls());
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{"003", 1}}));
  EXPECT_FALSE(Exists("BONI001B0.TXT"));
  EXPECT_FALSE(Exists("BONI002B0.TXT"));
  const auto damage = Damage();
  ASSERT_EQ(damage.size(), 2u);
  EXPECT_TRUE(Mentions(damage[0], "001 0010010002 ") && Mentions(damage[0], "'0020010003'")) << damage[0];
  EXPECT_TRUE(Mentions(damage[1], "002 0020010004 ") && Mentions(damage[1], "900, oltre la fine")) << damage[1];
  // The printed pages of a company that was already under way say that
  // its listing is incomplete.
  const auto& documents = Printer().documents;
  ASSERT_EQ(documents.size(), 3u);
  for (int d : {0, 1}) {
    const auto texts = Texts(documents[static_cast<std::size_t>(d)]);
    EXPECT_TRUE(Mentions(texts.back(), "ELENCO INCOMPLETO")) << d;
  }
  EXPECT_EQ(ArchivesNow(), archives_before);
}

// ---------------------------------------------------------------------------
// A missing archive

TEST_F(ArchiveFaults, MissingRequiredArchiveEndsTheStartUpNamingItAndCreatesNothing) {
  TwoCompanies();
  Write();
  std::filesystem::remove(Archive("SLDIPEN.DAT"));
  const auto before = vx::testing::SnapshotFolder(ArchivesFolder());
  EXPECT_THROW(StartUp(), platform::ProgramEnd);
  ASSERT_FALSE(boxes.shown.empty());
  EXPECT_EQ(boxes.shown[0].text.rfind(std::string("Errore 53 File not found\r\n") + kEmployees + "\r\n", 0), 0u)
      << boxes.shown[0].text;
  EXPECT_EQ(vx::testing::SnapshotFolder(ArchivesFolder()), before);
}

TEST_F(ArchiveFaults, MissingOptionalArchivesReadAsEmptyAreNotedAndNotCreated) {
  TwoCompanies();
  Write();
  for (const char* name : {"SLINSTAL.DAT", "SLFISCAL.DAT", "SLSTAMPA.TXT", "SLSEMA.DAT", "SLPARAM.DAT"})
    std::filesystem::remove(Archive(name));
  StartUp();
  RunControls pdf = Controls();
  pdf.OptStampanteLaser = false;
  pdf.OptStampantePDF = true;
  EXPECT_EQ(Press(pdf), RunOutcome::Completed);
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{"001", 2}, {"002", 2}}));
  std::vector<std::string> noted;
  for (const ReportEntry& e : run->run_report.Entries()) {
    if (e.topic != kTopicArchivi) continue;
    EXPECT_EQ(e.severity, Severity::Notice) << e.field;
    noted.push_back(e.field.substr(e.field.rfind('\\') + 1));
  }
  std::sort(noted.begin(), noted.end());
  EXPECT_EQ(noted, (std::vector<std::string>{"SLFISCAL.DAT", "SLINSTAL.DAT", "SLPARAM.DAT", "SLSEMA.DAT",
                                             "SLSTAMPA.TXT"}));
  EXPECT_FALSE(run->run_report.ArchivesDamaged());
  EXPECT_EQ(ArchivesNow(), archives_before);
}

}  // namespace
}  // namespace vx::app::test
