// The listing run end to end on small installations: which employees are
// listed, in which order, on which pages, and the transfer file written
// beside them. The printer is a recording one; the archives must come out
// of every run byte for byte as they went in.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <sstream>

#include "app/boni.h"
#include "demo/demo_population.h"
#include "listing_world.h"

namespace vx::app::test {
namespace {

class ListingRun : public ::testing::Test, public ListingWorld {
 protected:
  void TearDown() override {
    if (run) {
      EXPECT_EQ(ArchivesNow(), archives_before) << "a run changed the archives";
    }
  }
};

const std::string kHeader =
    "cod.ditta;sottoditta;cod.dip.;COGNOME;NOME;CIN;ABI;CAB;NETTO IN BUSTA;CONTO CORRENTE;IBAN;BIC;BANCA\r\n";

// ---------------------------------------------------------------------------
// The transfer file

TEST_F(ListingRun, TransferFileRowsByteForByte) {
  Company(1, "ALFA SRL");
  Employee("0010010001", "ROSSI", "MARIO", kBankX, 123450);
  // The 4 + 4 + 14 layout, no pay this month, a BIC of zeros.
  Employee("0010010002", "VERDI", "ANNA", kBankY, 0)
      .SetNumber(fields::kEmployeeIbanLayout, 1)
      .SetText(fields::kEmployeeAccount, "123")
      .SetText(fields::kEmployeeBic, "00000000000");
  // A 13-character account gives the 28-character IBAN; a negative net pay;
  // a six-digit CAB is kept whole in its column.
  Employee("0010010003", "BIANCHI", "LUCA", kBankZ, -1230)
      .SetNumber(fields::kEmployeeCab, 123456)
      .SetText(fields::kEmployeeAccount, "1234567890123")
      .SetText(fields::kEmployeeBic, "");
  StartUp();
  ASSERT_EQ(Press(Controls()), RunOutcome::Completed);
  EXPECT_EQ(Boni("BONI001B0.TXT"),
            kHeader +
                "001;001;0001;ROSSI                         ;MARIO                         ;X;03069;011600;"
                "     1234,50;000000123456    ;IT60X0306911600000000123456;BCITITMM   ;"
                "BANCA X                               \r\n"
                "001;001;0002;VERDI                         ;ANNA                          ;Y;05034;011701;"
                "        0,00;123             ;IT60Y5034170100000000000123;           ;"
                "BANCA Y                               \r\n"
                "001;001;0003;BIANCHI                       ;LUCA                          ;Z;02008;123456;"
                "      -12,30;1234567890123   ;IT60Z02008234561234567890123;           ;"
                "BANCA Z                               \r\n");
}

TEST_F(ListingRun, TransferFileCarriesTheChosenSlotAndTheRegionalDecimalSeparator) {
  builder.SetDecimalSeparator('.');
  Company(1, "ALFA SRL");
  Employee("0010010001", "ROSSI", "MARIO", kBankX, 100).SetNumber(fields::kEmployeeBankSlot, 2);
  StartUp();
  std::filesystem::create_directories(ArchivesFolder());
  { std::ofstream(ArchivesFolder() / "BONI001B0.TXT") << "earlier run"; }
  RunControls c = Controls();  // the simplified listing starts from slot 0
  c.Combo1 = kCombo1Items[2];
  Press(c);
  EXPECT_EQ(Boni("BONI001B0.TXT"), "earlier run");
  const std::string row = Boni("BONI001B2.TXT").substr(kHeader.size());
  EXPECT_EQ(row.substr(0, 13), "001;001;0001;");
  EXPECT_NE(row.find(";        1.00;"), std::string::npos) << row;
}

TEST_F(ListingRun, TransferFileThatCannotBeCreatedStopsTheRun) {
  Company(1, "ALFA SRL");
  Company(2, "BETA SPA");
  Employee("0010010001", "ROSSI", "MARIO", kBankX, 100);
  Employee("0020010002", "NERI", "ANNA", kBankX, 100);
  StartUp();
  // A folder where the file should go: it cannot be replaced.
  std::filesystem::create_directories(ArchivesFolder() / "BONI002B0.TXT");
  EXPECT_EQ(Press(Detailed()), RunOutcome::Stopped);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].title, "Stampa Pagamento in C/C");
  EXPECT_NE(boxes.shown[1].text.find("BONI002B0.TXT"), std::string::npos);
  EXPECT_EQ(boxes.shown[1].icon, platform::Icon::Critical);
  // The company before it is complete; nothing was begun for the other.
  EXPECT_EQ(Boni("BONI001B0.TXT").substr(kHeader.size(), 13), "001;001;0001;");
  EXPECT_EQ(Printer().documents.size(), 1u);
}

TEST_F(ListingRun, CompanyWhosePdfFolderCannotBeMadeLeavesNoTransferFile) {
  Company(1, "ALFA SRL");
  Employee("0010010001", "ROSSI", "MARIO", kBankX, 100);
  StartUp();
  // A file where the PDF folder tree should start.
  { std::ofstream(folder.Path() / "drive_c" / "PVXPAGHE" / "FILE-PDF") << "in the way"; }
  RunControls c = Detailed();
  c.OptStampanteLaser = false;
  c.OptStampantePDF = true;
  EXPECT_THROW(Press(c), platform::ProgramEnd);
  EXPECT_FALSE(std::filesystem::exists(ArchivesFolder() / "BONI001B0.TXT"));
  ASSERT_GE(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].icon, platform::Icon::Critical);
}

TEST_F(ListingRun, TransferFileWhoseRowsCannotAllBeWrittenIsRemoved) {
  Company(1, "ALFA SRL");
  Employee("0010010001", "ROSSI", "MARIO", kBankX, 100);
  Employee("0010010002", "VERDI", "ANNA", kBankX, 100);
  StartUp();
  // Room for the header and one row only, as on a disk that fills up.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  rlimit small = before;
  small.rlim_cur = kHeader.size() + 250;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(Press(Detailed()), platform::ProgramEnd);
  setrlimit(RLIMIT_FSIZE, &before);
  EXPECT_FALSE(std::filesystem::exists(ArchivesFolder() / "BONI001B0.TXT"));
  ASSERT_GE(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].icon, platform::Icon::Critical);
}

// ---------------------------------------------------------------------------
// Who is listed, and in which order

TEST_F(ListingRun, OnlyTransferPaymentsOfThePaymentMonthOnTheChosenSlot) {
  Company(1, "ALFA SRL");
  Company(2, "BETA SPA");
  Employee("0010010001", "A", "LISTED", kBankX, 100);
  Employee("0010010002", "B", "PAID IN CASH", kBankX, 100).SetNumber(fields::kEmployeePaymentMethod, 1);
  Employee("0010010003", "C", "P054 IS 2", kBankX, 100).SetNumber(fields::kEmployeeCodeP054, 2);
  Employee("0010010004", "D", "OCTOBER", kBankX, 100).SetText(fields::kEmployeePaymentDate, "27102025");
  Employee("0010010005", "E", "NOVEMBER LAST YEAR", kBankX, 100).SetText(fields::kEmployeePaymentDate, "01112024");
  Employee("0010010006", "F", "SECOND BANK", kBankX, 100).SetNumber(fields::kEmployeeBankSlot, 1);
  // Extracted under company 001, but the record under his number now
  // belongs to company 002.
  Employee("0020010008", "H", "OTHER COMPANY", kBankX, 100);
  builder.SetExtraction({"0010010001", "0010010002", "0010010003", "0010010004", "0010010005", "0010010006",
                         "0010010008", "0020010009"});
  Employee("0020010009", "I", "BETA", kBankX, 100);
  StartUp();
  Press(Detailed());
  const std::string boni = Boni("BONI001B0.TXT");
  std::vector<std::string> codes;
  for (std::size_t at = boni.find("\r\n") + 2; at < boni.size(); at = boni.find("\r\n", at) + 2)
    codes.push_back(boni.substr(at, 3) + boni.substr(at + 4, 3) + boni.substr(at + 8, 4));
  EXPECT_EQ(codes, (std::vector<std::string>{"0010010001", "0010010005"}));
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{"001", 2}, {"002", 1}}));
  EXPECT_FALSE(run->run_report.ArchivesDamaged());
}

TEST_F(ListingRun, ByNameIgnoresLetterCaseAndSameNamesGoByCode) {
  Company(1, "ALFA SRL");
  Employee("0010010001", "Rossi", "Mario", kBankX, 100);
  Employee("0010010002", "BIANCHI", "ZENO", kBankX, 100);
  Employee("0010010003", "ROSSI", "MARIO", kBankX, 100);
  Employee("0010010004", "rossa", "anna", kBankX, 100);
  Employee("0010010005", "\xE0LVARO", "LUIGI", kBankX, 100);  // accented letters after z
  StartUp();
  RunControls c = Detailed();
  c.OptSortPerCodice = false;
  c.OptSortPerCognomeNome = true;
  Press(c);
  const auto texts = Texts(Printer().documents.at(0));
  std::vector<std::string> codes;
  for (const auto& t : texts)
    if (t.size() == 10 && t.rfind("001", 0) == 0) codes.push_back(t);
  EXPECT_EQ(codes, (std::vector<std::string>{"0010010002", "0010010004", "0010010001", "0010010003", "0010010005"}));
}

// ---------------------------------------------------------------------------
// Simplified listing

TEST_F(ListingRun, SimplifiedBreaksThePageOnlyAboveEighteenAndAHalf) {
  Company(1, "ALFA SRL");
  Company(2, "BETA SPA");
  // 29 lines end exactly at 18.5 + 0.5: the page holds them all.
  for (int i = 1; i <= 29; ++i) Employee("001001" + std::string(i < 10 ? "000" : "00") + std::to_string(i), "A", "B", kBankX, 100);
  for (int i = 30; i <= 59; ++i) Employee("00200100" + std::to_string(i), "A", "B", kBankX, 100);
  StartUp();
  Press(Controls());
  ASSERT_EQ(Printer().documents.size(), 2u);
  EXPECT_EQ(Count(Printer().documents[0], "NewPage"), 0);
  EXPECT_EQ(Count(Printer().documents[1], "NewPage"), 1);
  const auto texts = Texts(Printer().documents[1]);
  // The thirtieth line starts page 02 under a new header.
  const auto page2 = std::find_if(texts.begin(), texts.end(),
                                  [](const std::string& t) { return t.find(" PAG. 02") != std::string::npos; });
  ASSERT_NE(page2, texts.end());
  EXPECT_NE(std::find(page2, texts.end(), "0020010059"), texts.end());
  EXPECT_EQ(std::find(page2, texts.end(), "0020010058"), texts.end());
}

TEST_F(ListingRun, SimplifiedCandidateCountCarriesOverAndSkippedCompaniesLeaveNoPdf) {
  Company(1, "ALFA SRL");
  Company(2, "BETA SPA");
  Company(3, "GAMMA SNC");
  Employee("0010010001", "ONLY", "SECOND SLOT", kBankX, 100).SetNumber(fields::kEmployeeBankSlot, 1);
  Employee("0020010002", "ROSSI", "MARIO", kBankX, 100);
  Employee("0030010003", "NOT", "THIS MONTH", kBankX, 100).SetText(fields::kEmployeePaymentDate, "01012025");
  StartUp();
  RunControls c = Controls();
  Press(c);
  // 001 comes before any candidate: no listing, only the file's header.
  // 003 has no qualifying employee but the count is not back at 0: listed.
  ASSERT_EQ(Printer().documents.size(), 2u);
  EXPECT_EQ(Boni("BONI001B0.TXT"), kHeader);
  EXPECT_EQ(Boni("BONI003B0.TXT"), kHeader);
  const auto gamma = Texts(Printer().documents[1]);
  EXPECT_NE(std::find(gamma.begin(), gamma.end(), "TOTALE GENERALE NETTO IN BUSTA"), gamma.end());
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{"001", 0}, {"002", 1}, {"003", 0}}));

  c.OptStampanteLaser = false;
  c.OptStampantePDF = true;
  Press(c);
  const auto banc = folder.Path() / "drive_c" / "PVXPAGHE" / "FILE-PDF";
  EXPECT_FALSE(std::filesystem::exists(banc / "001" / "2025" / "11" / "BANC" / "BANC_0_S_001_ALFA SRL.pdf"));
  EXPECT_TRUE(std::filesystem::exists(banc / "002" / "2025" / "11" / "BANC" / "BANC_0_S_002_BETA SPA.pdf"));
  // Files were made: the run says where.
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[2].title, "Pagamenti in conto/corrente");
  EXPECT_EQ(boxes.shown[2].text,
            "I file PDF relativi alle ditte selezionate sono stati creati in : \r\r"
            "C:\\PVXPAGHE\\FILE-PDF\\DITTA\\ANNO\\MESE\\BANC\r\r");
  // Nobody on the third slot: every company is skipped, no file is left
  // and the run does not claim any.
  c.Combo1 = kCombo1Items[2];
  Press(c);
  EXPECT_FALSE(std::filesystem::exists(banc / "002" / "2025" / "11" / "BANC" / "BANC_2_S_002_BETA SPA.pdf"));
  EXPECT_EQ(boxes.shown.size(), 4u);
}

// ---------------------------------------------------------------------------
// Detailed listing

TEST_F(ListingRun, GroupedBanksComeInTheOrderOfTheirFirstEmployeeAndSeparateOnesOnTheirOwnPages) {
  Company(1, "ALFA SRL");
  Employee("0010010001", "A", "A", kBankX, 100);
  Employee("0010010002", "B", "B", kBankY, 200);
  Employee("0010010003", "C", "C", kBankX, 300);
  Employee("0010010004", "D", "D", kBankZ, 400);
  StartUp();
  RunControls c = Detailed();
  c.ChkTotali = true;
  Press(c);
  const std::string boni = Boni("BONI001B0.TXT");
  const auto a = boni.find(";0001;"), b = boni.find(";0002;"), cc = boni.find(";0003;");
  EXPECT_LT(a, cc);
  EXPECT_LT(cc, b);
  const auto& doc = Printer().documents.at(0);
  // On paper the first card's frames start at 4 cm: (4 - 0.6) cm in twips.
  const auto first_box = std::find_if(doc.begin(), doc.end(), [](const auto& c) { return c.op == "Box"; });
  ASSERT_NE(first_box, doc.end());
  EXPECT_EQ(first_box->args, (std::vector<double>{396, 1927, 396 + 1984, 1927 + 283}));
  const auto texts = Texts(doc);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "TOT.DIP.BANCA"), 3);
  // Bank X's totals: two employees, 4.00.
  const auto first_total = std::find(texts.begin(), texts.end(), "TOT.DIP.BANCA");
  EXPECT_EQ(*(first_total + 1), std::string(67, ' ') + "002");
  EXPECT_EQ(*(first_total + 3), std::string(66, ' ') + "4.00");

  // A page after every bank but the last, each numbered from 01.
  c.chkSepara = true;
  c.chkSepara_Click();
  Press(c);
  const auto& separate = Printer().documents.at(1);
  EXPECT_EQ(Count(separate, "NewPage"), 2);
  EXPECT_EQ(separate.front().op, "Orientation");
  EXPECT_EQ(separate.front().args, std::vector<double>{1});
  const auto pages = Texts(separate);
  EXPECT_EQ(std::count_if(pages.begin(), pages.end(),
                          [](const std::string& t) { return t.find(" PAG. 01") != std::string::npos; }),
            3);
}

TEST_F(ListingRun, DetailedCompanyWithNothingQualifyingStillGetsItsPage) {
  Company(1, "ALFA SRL");
  Employee("0010010001", "NOT", "THIS MONTH", kBankX, 100).SetText(fields::kEmployeePaymentDate, "01012025");
  StartUp();
  Press(Detailed());
  auto texts = Texts(Printer().documents.at(0));
  EXPECT_NE(texts.front().find("ELENCO DIPENDENTI CON PAGAMENTO IN C/C"), std::string::npos);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "TOT.DIP.STAMPATI"), texts.end());

  RunControls grouped = Detailed();
  grouped.ChkTotali = true;
  Press(grouped);
  texts = Texts(Printer().documents.at(1));
  EXPECT_NE(texts.front().find("ELENCO DIPENDENTI CON PAGAMENTO IN C/C"), std::string::npos);
  EXPECT_EQ(std::find(texts.begin(), texts.end(), "TOT.DIP.BANCA"), texts.end());
  EXPECT_EQ(Boni("BONI001B0.TXT"), kHeader);
}

TEST_F(ListingRun, GroupedListingListsEveryBankBeyondAThousand) {
  Company(1, "ALFA SRL");
  for (int i = 1; i <= 1001; ++i) {
    char code[11];
    std::snprintf(code, sizeof code, "001001%04d", i);
    Bank bank = kBankX;
    bank.cab = std::to_string(10000 + i);
    Employee(code, "A", "B", bank, 100);
  }
  StartUp();
  RunControls c = Detailed();
  c.ChkTotali = true;
  Press(c);
  const auto texts = Texts(Printer().documents.at(0));
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "TOT.DIP.BANCA"), 1001);
  EXPECT_EQ(listed.at(0).second, 1001);
}

}  // namespace
}  // namespace vx::app::test

namespace vx::app::test {
namespace {

// ---------------------------------------------------------------------------
// Bank coordinate checks

std::string Drawn(const output::RecordingPrinter& printer) {
  std::string all;
  for (const auto& c : printer.Drawings()) {
    all += c.op + "|" + c.text + "|" + std::to_string(c.x) + "," + std::to_string(c.y) + "\n";
  }
  return all;
}

TEST_F(ListingRun, CoordinateChecksFindExactlyThePlantedFaultsAndChangeNothingListed) {
  const auto planted = demo::PopulateDemo(builder, {.companies = 4, .employees = 150, .seed = 3, .faulty = 6});
  ASSERT_EQ(planted.size(), 6u);
  StartUp();

  // The check alone writes nothing anywhere in the prefix.
  const auto whole_prefix = vx::testing::SnapshotFolder(folder.Path());
  ASSERT_EQ(run->CheckCoordinates(Detailed()), RunOutcome::Completed);
  EXPECT_EQ(vx::testing::SnapshotFolder(folder.Path()), whole_prefix);
  std::set<std::string> wrong;
  for (const ReportEntry& e : run->run_report.Entries()) {
    if (e.severity == Severity::Error) wrong.insert(e.employee);
  }
  EXPECT_EQ(wrong, std::set<std::string>(planted.begin(), planted.end()));
  std::ostringstream checked;
  WriteRunReport(run->run_report, checked);

  // The listing checks the same employees, company by company, as its
  // transfer files hold, and finds the same.
  ASSERT_EQ(Press(Detailed()), RunOutcome::Completed);
  EXPECT_EQ(run->run_report.CheckedCounts(), listed);
  std::ostringstream reported;
  WriteRunReport(run->run_report, reported);
  EXPECT_EQ(reported.str(), checked.str());

  // Without the checks every byte listed and written is the same.
  const std::string drawn = Drawn(Printer());
  const auto boni = vx::testing::SnapshotFolder(ArchivesFolder());
  run->check_coordinates = false;
  ASSERT_EQ(Press(Detailed()), RunOutcome::Completed);
  EXPECT_TRUE(run->run_report.Empty());
  EXPECT_EQ(Drawn(Printer()), drawn + drawn);
  EXPECT_EQ(vx::testing::SnapshotFolder(ArchivesFolder()), boni);
}

}  // namespace
}  // namespace vx::app::test
