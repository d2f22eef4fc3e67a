// Whole documents as the program writes them, read back by real PDF readers:
// qpdf checks the structure, poppler reports pages, sizes, fonts and the
// texts at their places, pikepdf and lxml the metadata.

#include <gtest/gtest.h>

#include <regex>

#include "pdf/vbpdf.h"
#include "document_oracles.h"

namespace vx::pdf {
namespace {

using oracles::QpdfCheck;
using oracles::Quote;
using oracles::RunCommand;
using oracles::ScratchFolder;

// The program's set-up of a company file, then a listing-like page per call.
class ListingDocument {
 public:
  explicit ListingDocument(const std::string& path)
      : pdf_({.now = testing::FixedNow, .random_digit = [] { return 1; }}) {
    pdf_.SetDocProperty("PDFBANC_0_S_", "", "Tarvenic Dedudor", "ALFA SRL", "Tarvenic Dedudor",
                        "");
    pdf_.SetScale(3, 1.0f);
    pdf_.SetPaperSize(0, 0, 0);
    pdf_.SetMargins(0, 0, 0, 0, true);
    pdf_.SetPageView(0);
    pdf_.SetViewerPreferences(768);
    path_ = path;
  }
  vbPDF& pdf() { return pdf_; }
  void Begin() {
    pdf_.BeginDoc(path_);
    ASSERT_EQ(pdf_.ErrNumber(), 0) << pdf_.ErrDescription();
    pdf_.BeginPage();
  }
  void Page(const std::string& heading, int rows) {
    pdf_.SetFont("Courier New", 12, 1, 0);
    pdf_.DrawText(1, 1.5f, heading, 1);
    pdf_.SetFont("Courier New", 9, 0, 0);
    for (int row = 0; row < rows; ++row) {
      float y = 3 + 0.5f * static_cast<float>(row);
      pdf_.DrawText(1.2f, y, "0010010" + std::to_string(1000 + row).substr(1) + " ROSSI MARIO",
                    1);
      pdf_.DrawText(12, y, "1.234,56", 1);
      pdf_.SetLineWidth(0);
      pdf_.DrawRect(1, y - 0.4f, 19, 0.5f, 0, 0, 15);
    }
  }

 private:
  vbPDF pdf_;
  std::string path_;
};

TEST(Readers, ListingIsCleanForQpdfAndPoppler) {
  ScratchFolder folder;
  // Every compression mode is read back in compressed_document_test.
  std::string path = folder.File("listing.pdf");
  ListingDocument doc(path);
  doc.Begin();
  doc.Page("STAMPA PAGAMENTO SU C/C", 20);
  doc.pdf().BeginPage();
  doc.pdf().SetPaperSize(1);  // the second page is landscape
  doc.Page("PAGINA DUE - CITT\xC0 E CAF\xC8 \x80", 3);  // Windows ANSI letters
  doc.pdf().EndDoc();

  std::string check = QpdfCheck(path);
  EXPECT_TRUE(oracles::CleanForQpdf(check)) << check;

  std::string info = RunCommand("pdfinfo -f 1 -l 2 " + Quote(path) + " 2>&1").output;
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    1 size:  596 x 842 pts"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    2 size:  842 x 596 pts"), std::string::npos) << info;
  EXPECT_NE(info.find("PDF version:     1.3"), std::string::npos) << info;

  std::string fonts = RunCommand("pdffonts " + Quote(path) + " 2>&1").output;
  EXPECT_TRUE(std::regex_search(
      fonts, std::regex("CourierNew,Bold +Type 1 +WinAnsi +no +no +no +4 +0")))
      << fonts;
  EXPECT_TRUE(
      std::regex_search(fonts, std::regex("\nCourierNew +Type 1 +WinAnsi +no +no +no")))
      << fonts;

  // Text in reading order, columns where they were drawn: the amount
  // starts 10.8 cm right of the name, the heading on the first line.
  std::string text = RunCommand("pdftotext -layout " + Quote(path) + " - 2>&1").output;
  std::istringstream lines(text);
  std::string first, row;
  std::getline(lines, first);
  EXPECT_EQ(first.find_first_not_of(' '), first.find("STAMPA PAGAMENTO SU C/C")) << text;
  while (std::getline(lines, row) && row.find("0010010000") == std::string::npos) {
  }
  size_t name = row.find("0010010000 ROSSI MARIO"), amount = row.find("1.234,56");
  ASSERT_NE(name, std::string::npos) << text;
  ASSERT_NE(amount, std::string::npos) << text;
  EXPECT_GT(amount, name + 22);
  EXPECT_NE(text.find("0010010019 ROSSI MARIO"), std::string::npos);
  EXPECT_NE(text.find("PAGINA DUE - CITT\u00C0 E CAF\u00C8 \u20AC"), std::string::npos)
      << text;
}

TEST(Readers, AccentedPropertiesReachTheMetadataIntact) {
  ScratchFolder folder;
  std::string path = folder.File("accenti.pdf");
  ListingDocument doc(path);
  doc.pdf().SetDocProperty("PDFBANC_0_S_CITT\xC0 & CAF\xC8_", "", "", "SOCIET\xC0 <PROVA>", "", "");
  doc.Begin();
  doc.pdf().EndDoc();

  // A strict XML reader must accept the packet and see the letters as typed.
  std::string pike =
      RunCommand("/usr/bin/python3 -c 'import sys, pikepdf, lxml.etree as x; "
                 "r = x.fromstring(pikepdf.open(sys.argv[1]).Root.Metadata.read_bytes()); "
                 "dc = \"{http://purl.org/dc/elements/1.1/}\"; "
                 "print(r.findtext(\".//\" + dc + \"title\")); "
                 "print(r.findtext(\".//\" + dc + \"creator\"))' " +
                 Quote(path) + " 2>&1")
          .output;
  EXPECT_EQ(pike, "PDFBANC_0_S_CITT\u00C0 & CAF\u00C8_\nSOCIET\u00C0 <PROVA>\n");
}

TEST(Readers, ExistingFileIsReplacedWholly) {
  ScratchFolder folder;
  std::string path = folder.File("again.pdf");
  oracles::WriteFile(path, std::string(100000, 'x'));
  ListingDocument doc(path);
  doc.Begin();
  doc.pdf().EndDoc();
  EXPECT_EQ(oracles::ReadFile(path).size(), static_cast<size_t>(doc.pdf().FileSize()));
  EXPECT_EQ(QpdfCheck(path).find("WARNING"), std::string::npos);
}

TEST(Readers, MissingFolderIsRecordedAsPathNotFound) {
  ScratchFolder folder;
  ListingDocument doc(folder.File("no/such/folder/x.pdf"));
  doc.pdf().BeginDoc(folder.File("no/such/folder/x.pdf"));
  EXPECT_EQ(doc.pdf().ErrNumber(), 76);
  EXPECT_EQ(doc.pdf().ErrSource(), "vbPDF.BeginDoc");
  EXPECT_FALSE(doc.pdf().IsFileOpen());
}

}  // namespace
}  // namespace vx::pdf
