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

vbPDF Writer() { return vbPDF({.now = testing::FixedNow, .random_digit = [] { return 1; }}); }

TEST(Readers, ListingIsCleanForQpdfAndPoppler) {
  ScratchFolder folder;
  // Every compression mode is read back in compressed_document_test.
  const std::string path = folder.File("listing.pdf");
  vbPDF pdf = Writer();
  oracles::WriteListing(pdf, path, 2, 20);

  const std::string check = QpdfCheck(path);
  EXPECT_TRUE(oracles::CleanForQpdf(check)) << check;

  const std::string info = RunCommand("pdfinfo -f 1 -l 2 " + Quote(path) + " 2>&1").output;
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    2 size:  596 x 842 pts"), std::string::npos) << info;
  EXPECT_NE(info.find("PDF version:     1.3"), std::string::npos) << info;

  const std::string fonts = RunCommand("pdffonts " + Quote(path) + " 2>&1").output;
  EXPECT_TRUE(std::regex_search(fonts, std::regex("CourierNew,Bold +Type 1 +WinAnsi +no +no +no +4 +0"))) << fonts;
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nCourierNew +Type 1 +WinAnsi +no +no +no"))) << fonts;

  // The texts as drawn, delimiters and Windows ANSI letters included.
  const std::string text = RunCommand("pdftotext -raw " + Quote(path) + " - 2>&1").output;
  EXPECT_EQ(text.rfind("STAMPA PAGAMENTO SU C/C PAGINA 1\n", 0), 0u) << text;
  EXPECT_NE(text.find("0010010001 ROSSI (MARIO) \\ 0,00 \u00E0\u00E8\u00A9"), std::string::npos) << text;
  EXPECT_NE(text.find("0010010135 ROSSI (MARIO) \\ 703,00"), std::string::npos) << text;
}

TEST(Readers, AccentedPropertiesReachTheMetadataIntact) {
  ScratchFolder folder;
  const std::string path = folder.File("accenti.pdf");
  vbPDF pdf = Writer();
  pdf.SetDocProperty("PDFBANC_0_S_CITT\xC0 & CAF\xC8_", "", "", "SOCIET\xC0 <PROVA>", "", "");
  oracles::WriteListing(pdf, path, 1, 1);

  // A strict XML reader must accept the packet and see the letters as typed.
  const std::string pike =
      RunCommand("/usr/bin/python3 -c 'import sys, pikepdf, lxml.etree as x; "
                 "r = x.fromstring(pikepdf.open(sys.argv[1]).Root.Metadata.read_bytes()); "
                 "dc = \"{http://purl.org/dc/elements/1.1/}\"; "
                 "print(r.findtext(\".//\" + dc + \"title\")); "
                 "print(r.findtext(\".//\" + dc + \"creator\"))' " +
                 Quote(path) + " 2>&1")
          .output;
  EXPECT_EQ(pike, "PDFBANC_0_S_CITT\u00C0 & CAF\u00C8_\nSOCIET\u00C0 <PROVA>\n");
}

TEST(Readers, ExistingFileIsReplacedWhollyAndAMissingFolderIsPathNotFound) {
  ScratchFolder folder;
  const std::string path = folder.File("again.pdf");
  oracles::WriteFile(path, std::string(100000, 'x'));
  vbPDF pdf = Writer();
  oracles::WriteListing(pdf, path, 1, 1);
  EXPECT_EQ(oracles::ReadFile(path).size(), static_cast<size_t>(pdf.FileSize()));
  EXPECT_EQ(QpdfCheck(path).find("WARNING"), std::string::npos);

  vbPDF missing = Writer();
  missing.BeginDoc(folder.File("no/such/folder/x.pdf"));
  EXPECT_EQ(missing.ErrNumber(), 76);
  EXPECT_EQ(missing.ErrSource(), "vbPDF.BeginDoc");
  EXPECT_FALSE(missing.IsFileOpen());
}

}  // namespace
}  // namespace vx::pdf
