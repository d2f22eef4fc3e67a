// `vxorel --batch` run as the operator runs it, on installations written by
// the demo library; the PDF files are judged by real readers (qpdf, poppler,
// pikepdf), never by our own writer.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "listing_world.h"
#include "platform/single_instance.h"
#include "program_run.h"

namespace vx::app::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// True when `expected` appears in `lines` as consecutive lines.
bool ContainsRun(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
  return std::search(lines.begin(), lines.end(), expected.begin(), expected.end()) != lines.end();
}

class BatchRun : public ::testing::Test, public ListingWorld {
 protected:
  BatchRun() {
    Company(1, "ALFA SRL");
    Company(2, "BETA SPA").SetText(fields::kCompanyPdfPassword, "APRIMI");
    builder.SetFiscalOwnerPassword("PADRONE");
    Employee("0010010001", "ROSSI", "MARIO", kBankX, 123450);
    Employee("0020010002", "NERI", "ANNA", kBankY, 200000);
  }

  void Write() {
    builder.Write(folder.Path());
    before = ArchivesNow();
  }
  void TearDown() override {
    if (!before.empty()) {
      EXPECT_EQ(ArchivesNow(), before) << "a run changed the archives";
    }
  }

  Outcome Vxorel(const std::string& arguments) { return test::Vxorel(folder.Path(), arguments); }
  fs::path PdfFolder(const std::string& company) const {
    return folder.Path() / "drive_c" / "PVXPAGHE" / "FILE-PDF" / company / "2025" / "11" / "BANC";
  }
  static std::vector<std::string> PageLines(const fs::path& pdf, int page, const std::string& password = "") {
    return Lines(Shell("/usr/bin/python3 " + Quote(std::string(VX_TESTS_DIR) + "/pdf_page_lines.py") + " " +
                       Quote(pdf.string()) + " " + std::to_string(page) + " " + Quote(password))
                     .out);
  }
  static std::string PdfInfo(const fs::path& pdf, const std::string& options = "") {
    return Shell("pdfinfo " + options + " " + Quote(pdf.string())).out;
  }
  static void ExpectQpdfClean(const fs::path& pdf, const std::string& password = "") {
    const Outcome check = Shell("qpdf --password=" + Quote(password) + " --check " + Quote(pdf.string()));
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_NE(check.out.find("No syntax or stream encoding errors found"), std::string::npos) << check.out;
    EXPECT_EQ(check.out.find("WARNING"), std::string::npos) << check.out;
  }

  vx::testing::FolderSnapshot before;
};

TEST_F(BatchRun, DetailedPdfRunWritesCheckedFilesAndSaysWhere) {
  Write();
  const Outcome run = Vxorel("--batch --output pdf --listing detailed --description stipendi");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("001 ALFA SRL 1234567890: 1 dipendente elencato\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("002 BETA SPA 1234567890: 1 dipendente elencato\n"), std::string::npos);
  EXPECT_NE(run.err.find("C:\\PVXPAGHE\\FILE-PDF\\DITTA\\ANNO\\MESE\\BANC"), std::string::npos);

  const fs::path alfa = PdfFolder("001") / "BANC_0_D_STIPENDI_001_ALFA SRL.pdf";
  ASSERT_TRUE(fs::exists(alfa));
  ExpectQpdfClean(alfa);
  const std::string info = PdfInfo(alfa);
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       596 x 842 pts (A4)"), std::string::npos) << info;
  EXPECT_NE(info.find("Encrypted:       no"), std::string::npos) << info;

  const auto page = PageLines(alfa, 1);
  // The title line at (1, 1) cm.
  EXPECT_TRUE(ContainsRun(page, {"BT", "/CourierNew,Bold 12 Tf 12 TL", "1 0 0 -1 28.346 28.346 Tm",
                                 "(ELENCO DIPENDENTI CON PAGAMENTO IN C/C                     PAG. 01) Tj",
                                 "ET"}));
  // The card's first row: frames 0.25 cm above the text line, the first
  // card 0.165 cm lower than on paper (frames at 3.915 cm, text at 4.265).
  EXPECT_TRUE(ContainsRun(page, {"0 w", "28.346 110.976 99.213 14.173 re", "S", "0 w",
                                 "127.559 110.976 382.677 14.173 re", "S", "0 0 0 rg", "BT",
                                 "/CourierNew,Bold 9 Tf 9 TL", "1 0 0 -1 31.181 120.898 Tm", "(Cod. Dipendente) Tj",
                                 "ET", "0 0 0 rg", "0 0 0 rg", "BT", "/CourierNew 9 Tf 9 TL",
                                 "1 0 0 -1 130.394 120.898 Tm", "(0010010001) Tj", "ET"}));
  EXPECT_TRUE(ContainsRun(page, {"1 0 0 -1 130.394 234.283 Tm",
                                 "(" + std::string(63, ' ') + "1234.50) Tj"}));
  // The totals under the card (frames at 8.615 cm, text at 8.965).
  EXPECT_TRUE(ContainsRun(page, {"0 w", "28.346 244.205 99.213 14.173 re", "S", "0 w",
                                 "127.559 244.205 382.677 14.173 re", "S", "0 0 0 rg", "BT",
                                 "/CourierNew,Bold 9 Tf 9 TL", "1 0 0 -1 31.181 254.126 Tm",
                                 "(TOT.DIP.STAMPATI) Tj", "ET"}));
  EXPECT_TRUE(ContainsRun(page, {"1 0 0 -1 130.394 268.299 Tm", "(" + std::string(63, ' ') + "1234.50) Tj"}));

  // The company with a PDF password: its file opens with it only.
  const fs::path beta = PdfFolder("002") / "BANC_0_D_STIPENDI_002_BETA SPA.pdf";
  EXPECT_EQ(Shell("pdfinfo " + Quote(beta.string())).status, 1) << "opened without a password";
  ExpectQpdfClean(beta, "APRIMI");
  EXPECT_TRUE(ContainsRun(PageLines(beta, 1, "APRIMI"), {"1 0 0 -1 130.394 120.898 Tm", "(0020010002) Tj"}));
}

// --protection aes256 protects the same files with the same passwords under
// AES-256; a password nobody could type stops the run at its company.
TEST_F(BatchRun, Aes256ProtectionOnRequestAndRefusedPasswordsStopTheRun) {
  Write();
  ASSERT_EQ(Vxorel("--batch --output pdf --protection aes256").status, 0);
  const fs::path alfa = PdfFolder("001") / "BANC_0_S_001_ALFA SRL.pdf";
  const fs::path beta = PdfFolder("002") / "BANC_0_S_002_BETA SPA.pdf";
  EXPECT_NE(PdfInfo(alfa).find("Encrypted:       no"), std::string::npos);
  EXPECT_EQ(Shell("pdfinfo " + Quote(beta.string())).status, 1) << "opened without a password";
  EXPECT_NE(PdfInfo(beta, "-upw APRIMI").find("Encrypted:       yes (print:yes copy:yes change:no "
                                               "addNotes:no algorithm:AES-256)"),
            std::string::npos);
  ExpectQpdfClean(beta, "PADRONE");
  EXPECT_FALSE(PageLines(beta, 1, "APRIMI").empty());

  fs::remove_all(folder.Path() / "drive_c" / "PVXPAGHE" / "FILE-PDF");
  for (const auto& entry : fs::directory_iterator(ArchivesFolder())) {
    if (entry.path().filename().string().rfind("BONI", 0) == 0) fs::remove(entry.path());
  }
  builder.Company(2).SetText(fields::kCompanyPdfPassword, "APRI\tMI");
  Write();
  const Outcome refused = Vxorel("--batch --output pdf --protection aes256");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("La password PDF della ditta 002 contiene un carattere di controllo (codice 9)"),
            std::string::npos)
      << refused.err;
  EXPECT_TRUE(fs::exists(alfa));
  EXPECT_FALSE(fs::exists(beta));
  EXPECT_NE(Vxorel("--batch --protection aes256").err.find("--protection has no effect on printed listings"),
            std::string::npos);
}

TEST_F(BatchRun, PrintToWritesOneFilePerPrinterDocument) {
  Write();
  const fs::path out = folder.Path() / "stampe";
  fs::create_directories(out);
  const Outcome run = Vxorel("--batch --print-to " + Quote(out.string()));
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(out)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"001_001.pdf", "002_002.pdf"}));
  for (const auto& name : names) {
    ExpectQpdfClean(out / name);
    EXPECT_NE(PdfInfo(out / name).find("Page size:       842 x 596 pts (A4)"), std::string::npos) << PdfInfo(out / name);
  }
  EXPECT_NE(Shell("pdftotext " + Quote((out / "001_001.pdf").string()) + " -").out.find("0010010001"),
            std::string::npos);
  EXPECT_EQ(Boni("BONI001B0.TXT").substr(0, 9), "cod.ditta");
}

TEST_F(BatchRun, CheckAndASecondInstanceWriteNothingAndTheirStatusSaysWhy) {
  Write();
  const auto whole_prefix = vx::testing::SnapshotFolder(folder.Path());
  const Outcome check = Vxorel("--batch --check");
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.err.find("  ERRORE Coordinate - ditta 001 - dipendente 0010010001 ROSSI MARIO: IBAN "
                           "'IT60X0306911600000000123456': IBAN: cifre di controllo errate (atteso 65, trovato 60)\n"),
            std::string::npos)
      << check.err;
  EXPECT_NE(check.err.find("0020010002 NERI ANNA: CIN 'Y': CIN non coerente con ABI/CAB/conto (atteso S)\n"),
            std::string::npos);
  const Outcome strict = Vxorel("--batch --output pdf --strict");
  EXPECT_EQ(strict.status, 1);
  EXPECT_NE(strict.err.find("--strict: the listing did not start"), std::string::npos) << strict.err;
  EXPECT_EQ(Vxorel("--batch --check --output pdf").status, 2);
  {
    // A second instance says so and exits with 3.
    const auto first = platform::SingleInstance::TryAcquire(platform::WinePrefix(folder.Path()), "VXOREL");
    ASSERT_NE(first, nullptr);
    const Outcome second = Vxorel("--batch --output pdf");
    EXPECT_EQ(second.status, 3) << second.err;
    EXPECT_NE(second.err.find("VXOREL \xC3\xA8 gi\xC3\xA0 in esecuzione per questo utente su questa installazione"),
              std::string::npos)
        << second.err;
  }
  EXPECT_EQ(vx::testing::SnapshotFolder(folder.Path()), whole_prefix);

  builder.Employee("0010010001").SetText(fields::kEmployeeIbanCheckDigits, "65");
  builder.Employee("0020010002").SetText(fields::kEmployeeCin, "S").SetText(fields::kEmployeeIbanCheckDigits, "79");
  Write();
  const Outcome sound = Vxorel("--batch --check");
  EXPECT_EQ(sound.status, 0);
  EXPECT_EQ(sound.err, "Coordinate bancarie: 2 dipendenti controllati, nessun problema\n");
  EXPECT_EQ(Vxorel("--batch --output pdf --strict").status, 0);
  EXPECT_TRUE(fs::exists(ArchivesFolder() / "BONI001B0.TXT"));
  // Without the semaphore file the check searched unlocked, and says so.
  fs::remove(ArchivesFolder() / "SLSEMA.DAT");
  before = ArchivesNow();
  const Outcome unlocked = Vxorel("--batch --check");
  EXPECT_EQ(unlocked.status, 0);
  EXPECT_NE(unlocked.err.find("SLSEMA.DAT: file del semaforo mancante"), std::string::npos) << unlocked.err;
}

// Control characters in the archives (a NUL, a terminal escape) reach no
// file name and no terminal; a description cut short is said to be.
TEST_F(BatchRun, ControlCharactersReachNoFileNameAndNoTerminal) {
  builder.Company(1).SetText(fields::kCompanyName, std::string("AL\0FA\x1B[2J", 9));
  Write();
  const Outcome run = Vxorel("--batch --output pdf --description " + std::string(35, 'd'));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::exists(PdfFolder("001") / ("BANC_0_S_" + std::string(30, 'D') + "_001_AL_FA_[2J.pdf")))
      << run.err;
  EXPECT_EQ(run.err.find('\x1B'), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\0'), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("AL\\x00FA\\x1B[2J"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("--description is cut to its first 30 characters"), std::string::npos) << run.err;
}

TEST_F(BatchRun, PrinterListingWithoutAPrinterEndsNonZero) {
  Write();
  const Outcome run = Vxorel("--batch");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find("ERR.STAMPANTE - SI VUOLE RITENTARE ?"), std::string::npos) << run.err;
  // The company whose listing failed leaves no transfer file behind.
  EXPECT_FALSE(fs::exists(ArchivesFolder() / "BONI001B0.TXT"));
}

TEST_F(BatchRun, PrintersAndWindowWithoutTheirQtProgramSaySoWhilePdfRunsGoOn) {
#ifndef VX_WITH_QT_PROGRAM
  GTEST_SKIP() << "built without the window and the installed printers";
#endif
  Write();
  // The program alone, neither beside nor under its installed place.
  const fs::path alone = folder.Path() / "bin" / "vxorel";
  fs::create_directories(alone.parent_path());
  fs::copy_file(fs::path(VX_BINARY_DIR) / "vxorel", alone);
  auto run = [&](const std::string& arguments) {
    return Shell("WINEPREFIX=" + Quote(folder.Path()) + " " + Quote(alone.string()) + " " + arguments,
                 folder.Path() / "stderr.txt");
  };
  for (const std::string arguments : {"--batch", ""}) {
    const Outcome missing = run(arguments);
    EXPECT_EQ(missing.status, 1) << arguments;
    EXPECT_NE(missing.err.find("vxorel: the window and the installed printers need " +
                               (folder.Path() / "libexec" / "vxorel" / "vxorel-qt").string() + ", which cannot be started"),
              std::string::npos)
        << missing.err;
  }
  EXPECT_EQ(run("--batch --output pdf").status, 0);
  EXPECT_TRUE(fs::exists(ArchivesFolder() / "BONI001B0.TXT"));
}

}  // namespace
}  // namespace vx::app::test
