// The company PDF files: folder tree, names, document set-up, protection and
// completion, checked on the files written with qpdf.

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/descriptors.h"
#include "output/listing_world.h"
#include "output/pdf_names.h"
#include "platform/errors.h"

namespace vx::output {
namespace {

namespace fields = vx::archive::fields;
using vx::testing::DecodedPdf;
using vx::testing::ListingWorld;
using vx::testing::Quote;
using vx::testing::Shell;

TEST(PdfNames, TheTreeIsRootedBesideTheArchivesFolder) {
  EXPECT_EQ(PdfRoot("D:\\DATI\\ARCHIVI", ""), "D:\\DATI");
  EXPECT_EQ(PdfRoot("  D:\\DATI\\ARCHIVI  ", ""), "D:\\DATI");
  EXPECT_EQ(PdfRoot("C:\\", ""), "C:");
  EXPECT_EQ(PdfRoot("C:", ""), "C:");
  // No backslash to cut at: the root stays what it was.
  EXPECT_EQ(PdfRoot("ARCHIVI", ""), "");
  EXPECT_EQ(PdfRoot("ARCHIVI", "E:\\OLD"), "E:\\OLD");
}

TEST(PdfNames, FileNamesAreMadeSafeAndAnEmptyCompanyNameDropsItsUnderscore) {
  EXPECT_EQ(PdfFileName("BANC_0_S_STIPENDI_", "001", "ALFA SRL"),
            "BANC_0_S_STIPENDI_001_ALFA SRL.pdf");
  EXPECT_EQ(PdfFileName("BANC_1_D_", "012", "ROSSI S.R.L.   "), "BANC_1_D_012_ROSSI S.R.L..pdf");
  EXPECT_EQ(PdfFileName("BANC_0_S_", "001", "     "), "BANC_0_S_001.pdf");
  EXPECT_EQ(PdfFileName("BANC_0_D_", "002", "A/B: C*D?E<F>G|H\"I\\J 'K'"),
            "BANC_0_D_002_A_B_ C_D_E_F_G_H_I_J 'K'.pdf");
  // Cut to 30 characters, then trimmed again.
  EXPECT_EQ(PdfFileName("B_", "003", "  " + std::string(29, 'N') + " TAIL"),
            "B_003_" + std::string(29, 'N') + ".pdf");

  std::string name = "REPORT.";
  CleanFileName(name);
  EXPECT_EQ(name, "REPORT");
  name = "A..";
  CleanFileName(name);
  EXPECT_EQ(name, "A.");
}

class CompanyPdf : public ::testing::Test {
 protected:
  void SetUp() override {
    world.builder.AddCompany(1, "ALFA / BETA: SRL");
  }
  void Open(int company) {
    world.Open();
    world.LoadCompany(company);
    world.output().state.StampaPDF = true;
    world.output().CARTELLAPDF("00" + std::to_string(company), "BANC", "202311");
  }
  std::filesystem::path Folder() { return world.Linux("C:\\PVXPAGHE\\FILE-PDF\\001\\2023\\11\\BANC"); }
  ListingWorld world;
};

TEST_F(CompanyPdf, DocumentIsNamedSetUpAndCompleted) {
  Open(1);
  auto& out = world.output();
  out.CREAPDF("BANC_0_D_STIPENDI_");
  EXPECT_EQ(out.state.NomeFilePDF, "BANC_0_D_STIPENDI_001_ALFA _ BETA_ SRL.pdf");
  EXPECT_EQ(out.state.PDFCreati, 1);
  out.CHIUDIPDF();
  EXPECT_FALSE(out.state.PDFAperto);
  EXPECT_EQ(out.state.CartellaPDF, "C:\\PVXPAGHE\\FILE-PDF\\001\\2023\\11\\BANC");

  const auto file = Folder() / "BANC_0_D_STIPENDI_001_ALFA _ BETA_ SRL.pdf";
  const std::string pdf = DecodedPdf(file);
  EXPECT_NE(pdf.find("/Title (PDFBANC_0_D_STIPENDI_)"), std::string::npos);
  EXPECT_NE(pdf.find("/Author (Tarvenic Dedudor)"), std::string::npos);
  EXPECT_NE(pdf.find("/Creator (STUDIO PAGHE BERTOLINI S.A.S.)"), std::string::npos);
  EXPECT_NE(pdf.find("/CenterWindow true\n    /FitWindow true"), std::string::npos);
  // Streams are LZW-encoded in the file itself.
  EXPECT_NE(vx::testing::ReadWholeFile(file).find("/LZWDecode"), std::string::npos);
}

// The fiscal record's owner password and the company's user password: both
// or no protection at all. (What the protected file allows is the writer's.)
TEST_F(CompanyPdf, ProtectedOnlyWhenBothPasswordsAreThere) {
  world.builder.Company(1).SetText(fields::kCompanyPdfPassword, "APRIMI");
  for (const char* owner : {"   ", "PADRONE"}) {
    world.builder.SetFiscalOwnerPassword(owner);
    Open(1);
    world.output().CREAPDF("BANC_0_D_");
    world.output().CHIUDIPDF();
    const auto file = Folder() / "BANC_0_D_001_ALFA _ BETA_ SRL.pdf";
    const auto shown = Shell("qpdf --password=PADRONE --show-encryption " + Quote(file)).output;
    if (owner[0] == ' ') {
      EXPECT_NE(shown.find("File is not encrypted"), std::string::npos) << shown;
      continue;
    }
    EXPECT_NE(shown.find("R = 2\nP = -44\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Supplied password is owner password"), std::string::npos) << shown;
    EXPECT_EQ(Shell("qpdf --password=APRIMI --check " + Quote(file)).status, 0);
  }
}

TEST_F(CompanyPdf, ClosingIsAlwaysSafeAndADiscardedDocumentLeavesNoFile) {
  Open(1);
  auto& out = world.output();
  out.CHIUDIPDF();  // nothing begun
  EXPECT_FALSE(out.state.PDFAperto);
  EXPECT_EQ(out.state.DocumentoPDF, nullptr);
  out.DocumentoPDF();  // a writer, but no document on it
  EXPECT_NO_THROW(out.CHIUDIPDF());
  EXPECT_EQ(out.state.DocumentoPDF, nullptr);

  // The document is written under a temporary name and never appears
  // under its own until it is complete.
  out.CREAPDF("BANC_0_S_");
  EXPECT_FALSE(std::filesystem::is_empty(Folder()));
  EXPECT_FALSE(std::filesystem::exists(Folder() / "BANC_0_S_001_ALFA _ BETA_ SRL.pdf"));
  out.DiscardPDF();
  EXPECT_TRUE(std::filesystem::is_empty(Folder()));
  EXPECT_FALSE(out.state.PDFAperto);
  EXPECT_EQ(out.state.DocumentoPDF, nullptr);
}

TEST_F(CompanyPdf, AFileThatCannotBeCreatedIsARunTimeError) {
  Open(1);
  auto& out = world.output();
  out.state.CartellaPDF = "C:\\PVXPAGHE\\MISSING\\FOLDER";
  try {
    out.CREAPDF("BANC_0_D_");
    FAIL() << "the document was begun in a missing folder";
  } catch (const vx::platform::RuntimeError& error) {
    EXPECT_NE(error.number, 0);
  }
  EXPECT_FALSE(out.state.PDFAperto);
}

}  // namespace
}  // namespace vx::output
