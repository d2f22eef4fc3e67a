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
  // Writes `length` bytes found at `from` over those at `to` (0-based byte offsets).
  void CopyBytes(const std::string& name, std::size_t length, std::size_t from, std::size_t to) {
    std::string data = vx::testing::ReadWholeFile(Archive(name));
    const std::string piece = data.substr(from, length);
    data.replace(to, length, piece);
    std::ofstream(Archive(name), std::ios::binary) << data;
  }
  // Files the run wrote into the archives folder.
  std::vector<std::string> BoniFiles() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(ArchivesFolder())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("BONI", 0) == 0) found.push_back(name);
    }
    std::sort(found.begin(), found.end());
    return found;
  }
};

bool Mentions(const std::string& entry, const std::string& what) { return entry.find(what) != std::string::npos; }

// ---------------------------------------------------------------------------
// The extraction

// A code twice means a slot or a record was written over another, whose
// codes are lost; a code that is not digits names no record. Either way no
// company can be listed from it, and nothing is written.
TEST_F(ArchiveFaults, DamagedExtractionListsNoCompany) {
  TwoCompanies();
  Write();
  const auto expect_refused = [this](const std::string& what) {
    try {
      StartUp();
      ADD_FAILURE() << "started up over a damaged extraction: " << what;
    } catch (const platform::ProgramEnd& end) {
      EXPECT_EQ(end.status, 5);
    }
    ASSERT_FALSE(boxes.shown.empty());
    const std::string& text = boxes.shown.back().text;
    EXPECT_TRUE(Mentions(text, "C:\\PVXPAGHE\\ARCHIVI\\SLESTRAZ.DAT") && Mentions(text, what)) << text;
    EXPECT_TRUE(BoniFiles().empty());
  };
  CopyBytes("SLESTRAZ.DAT", 10, 0, 20);  // slot 3 (employee 3) now holds employee 1
  expect_refused("il codice 0010010001 compare due volte (posizioni 1 e 3)");
  builder.Write(folder.Path());
  std::string extraction = vx::testing::ReadWholeFile(Archive("SLESTRAZ.DAT"));
  extraction[39] = '\xFF';  // the last digit of employee 4's number
  std::ofstream(Archive("SLESTRAZ.DAT"), std::ios::binary) << extraction;
  expect_refused("in posizione 4 non \xE8 un codice di dipendente");
}

// ---------------------------------------------------------------------------
// The company archive

// The record read for company 001 must be company 001's: another company's
// record in its place, or a code changed, would list and pay the wrong
// company, and a file named after a code that is not one.
TEST_F(ArchiveFaults, CompanyRecordNotWhereItsCodeSaysLeavesThatCompanyOut) {
  TwoCompanies();
  Company(3, "GAMMA SNC");
  Employee("0030010005", "GIALLI", "PIA", kBankY, 500);
  Company(4, "DELTA SRL");
  Employee("0040010006", "ROSA", "LIA", kBankY, 600);
  Write();
  constexpr std::size_t kCompany = 5000;
  std::string companies = vx::testing::ReadWholeFile(Archive("SLDITTE.DAT"));
  std::swap_ranges(companies.begin(), companies.begin() + kCompany, companies.begin() + kCompany);
  companies[2 * kCompany + 3] = '\x01';  // company 3's code, "0\x013"
  std::ofstream(Archive("SLDITTE.DAT"), std::ios::binary) << companies;
  StartUp();
  Press(Controls());
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{"004", 1}}));
  EXPECT_EQ(BoniFiles(), std::vector<std::string>{"BONI004B0.TXT"});
  const auto damage = Damage();
  ASSERT_EQ(damage.size(), 3u);
  EXPECT_TRUE(Mentions(damage[0], "001  C:\\PVXPAGHE\\ARCHIVI\\SLDITTE.DAT: il record 1 ") &&
              Mentions(damage[0], "codice '002'"))
      << damage[0];
  EXPECT_TRUE(Mentions(damage[1], "002  ") && Mentions(damage[1], "codice '001'")) << damage[1];
  EXPECT_TRUE(Mentions(damage[2], "003  ") && Mentions(damage[2], "non \xE8 elencata")) << damage[2];
  EXPECT_EQ(ArchivesNow(), archives_before);
}

// ---------------------------------------------------------------------------
// The employee archive

// A company whose employee the archive lost, cut short or written over, is
// not listed at all: a listing, BONI file or transfer file without him
// would leave him unpaid unseen. Said once, however often the company comes
// in the company list.
TEST_F(ArchiveFaults, EmployeeArchiveThatLostAnEmployeeLosesHisCompany) {
  TwoCompanies();
  builder.SetExtraction({"0020010003", "0010010001", "0010010002", "0020010004"});
  Write();
  std::filesystem::resize_file(Archive("SLDIPEN.DAT"), 3 * kEmployeeRecord + 100);
  StartUp();
  Press(Controls());
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{"001", 2}}));
  EXPECT_TRUE(Exists("BONI001B0.TXT"));
  EXPECT_FALSE(Exists("BONI002B0.TXT"));
  auto damage = Damage();
  ASSERT_EQ(damage.size(), 2u);
  EXPECT_TRUE(Mentions(damage[0], std::string("002 0020010004 ") + kEmployees) &&
              Mentions(damage[0], "oltre la fine dell'archivio troncato"))
      << damage[0];
  EXPECT_TRUE(Mentions(damage[1], kEmployees) && Mentions(damage[1], "troncato")) << damage[1];
  EXPECT_TRUE(run->run_report.ArchivesDamaged());
  EXPECT_EQ(ArchivesNow(), archives_before);

  for (const bool cut : {true, false}) {
    std::filesystem::remove(Archive("BONI001B0.TXT"));
    if (cut) std::filesystem::resize_file(Archive("SLDIPEN.DAT"), 3 * kEmployeeRecord);
    else {
      builder.Write(folder.Path());
      CopyBytes("SLDIPEN.DAT", kEmployeeRecord, 3 * kEmployeeRecord, 2 * kEmployeeRecord);
    }
    StartUp();
    Press(Controls());
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{"001", 2}})) << cut;
    EXPECT_FALSE(Exists("BONI002B0.TXT"));
    damage = Damage();
    ASSERT_EQ(damage.size(), 1u) << cut;
    EXPECT_TRUE(Mentions(damage[0], cut ? "002 0020010004 " : "002 0020010003 ") &&
                Mentions(damage[0], cut ? "non ha il record 0004, oltre la fine" : "porta il codice '0020010004'"))
        << damage[0];
  }
}

// ---------------------------------------------------------------------------
// An index entry pointing elsewhere

TEST_F(ArchiveFaults, IndexEntryPointingElsewhereOrMissingLosesThatCompanyOnly) {
  TwoCompanies();
  Company(3, "GAMMA SNC");
  Employee("0030010005", "GIALLI", "PIA", kBankY, 500);
  Company(4, "DELTA SRL");
  Employee("0040010006", "ROSA", "LIA", kBankY, 600);
  builder.OmitFromIndex("0040010006");
  Write();
  Repoint("0010010002", 3);    // the record of an employee of company 2
  Repoint("0020010004", 900);  // past the end of the archive
  StartUp();
  Press(Controls());
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{"003", 1}}));
  EXPECT_FALSE(Exists("BONI001B0.TXT"));
  EXPECT_FALSE(Exists("BONI002B0.TXT"));
  EXPECT_FALSE(Exists("BONI004B0.TXT"));
  const auto damage = Damage();
  ASSERT_EQ(damage.size(), 3u);
  EXPECT_TRUE(Mentions(damage[0], "001 0010010002 ") && Mentions(damage[0], "'0020010003'")) << damage[0];
  EXPECT_TRUE(Mentions(damage[1], "002 0020010004 ") && Mentions(damage[1], "900, oltre la fine")) << damage[1];
  EXPECT_TRUE(Mentions(damage[2], "004 0040010006 ") && Mentions(damage[2], "l'indice non trova")) << damage[2];
  // The printed pages of a company that was already under way say that
  // its listing is incomplete.
  const auto& documents = Printer().documents;
  ASSERT_EQ(documents.size(), 4u);
  for (int d : {0, 1, 3}) {
    const auto texts = Texts(documents[static_cast<std::size_t>(d)]);
    EXPECT_TRUE(Mentions(texts.back(), "ELENCO INCOMPLETO")) << d;
  }
  EXPECT_EQ(ArchivesNow(), archives_before);
}

// ---------------------------------------------------------------------------
// A missing archive

// The payroll date archive is opened last, after those that may be missing:
// the trace shows each open with its resolution, the file and the work
// come after it.
TEST_F(ArchiveFaults, MissingRequiredArchiveEndsTheStartUpNamingItAndCreatesNothing) {
  TwoCompanies();
  Write();
  std::filesystem::remove(Archive("SLDATAPA.DAT"));
  const auto before = vx::testing::SnapshotFolder(ArchivesFolder());
  EXPECT_THROW(StartUp(), platform::ProgramEnd);
  ASSERT_FALSE(boxes.shown.empty());
  EXPECT_EQ(boxes.shown[0].text,
            "Errore 53 File not found\r\nFAIOPEN\r\nDAMMIFILE$ (29)\r\nFAIOPEN\r\nDAMMIFILE$ (98)\r\nFAIOPEN\r\n"
            "DAMMIFILE$ (401)\r\nFAIOPEN\r\nDAMMIFILE$ (403)\r\nFAIOPEN\r\nDAMMIFILE$ (6)\r\n"
            "File: C:\\PVXPAGHE\\ARCHIVI\\SLDATAPA.DAT\r\nOperazione: apertura dell'archivio 6\r\n");
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
