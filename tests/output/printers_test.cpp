// Choosing the standard printer, and the printer that writes PDF files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "output/listing_world.h"
#include "output/pdf_file_printers.h"

namespace vx::output {
namespace {

using vx::testing::DecodedPdf;
using vx::testing::ListingWorld;

struct StandardPrinterCase {
  std::optional<std::string> stored;  // line 2 of the settings archive
  std::vector<std::string> installed;
  std::size_t chosen;
};

TEST(StandardPrinter, OnlyAnExactNameIsChosenAndTheFirstOfTwinsWins) {
  const StandardPrinterCase cases[] = {
      {"LASER-UFFICIO", {"PDF", "LASER-UFFICIO", "LASER-UFFICIO"}, 1},
      {"laser-ufficio", {"PDF", "LASER-UFFICIO"}, 0},  // letter case counts
      {"LASER-UFFICIO ", {"PDF", "LASER-UFFICIO"}, 0},  // so do trailing blanks
      {std::nullopt, {"PDF", ""}, 0},                   // one line only: nothing read
      {"ALTRA", {"PDF", "LASER-UFFICIO"}, 0},
  };
  for (const auto& c : cases) {
    ListingWorld world;
    world.builder.SetStandardPrinter(c.stored);
    RecordingPrinters printers(c.installed);
    world.Open(&printers);
    world.output().LEGGISTAMPANTESTD();
    EXPECT_EQ(printers.CurrentIndex(), c.chosen) << c.stored.value_or("<none>");
    EXPECT_EQ(world.output().state.StampanteStd, c.stored.value_or(""));
    EXPECT_TRUE(world.boxes.shown.empty());
    const auto& ring = world.archives().state.UltimeProcedure;
    EXPECT_NE(std::find(ring.begin(), ring.end(), "LEGGISTAMPANTESTD"), ring.end());
  }
}

class PrintToFiles : public ::testing::Test {
 protected:
  vx::testing::TempFolder world_root;
  std::filesystem::path folder = world_root.Path() / "listings";
  PdfFilePrinters printers{folder, vx::testing::FixedClockPdf()};
  Printer& p = printers.Current();
};

TEST_F(PrintToFiles, EveryDocumentBecomesANumberedFilePerCompany) {
  printers.File().SetCompany("001");
  p.SetOrientation(2);
  p.SetFontName("Courier New");
  p.SetFontSize(12);
  p.SetFontBold(true);
  p.SetCurrentY(226);
  p.SetCurrentX(396);
  p.Print("ELENCO DIPENDENTI");
  p.Box(396, 1927, 1530, 2210);
  p.NewPage();
  p.Print("PAGINA DUE");
  p.EndDoc();

  printers.File().SetCompany("002");
  p.SetOrientation(1);
  p.EndDoc();  // nothing drawn: no file
  p.SetCurrentY(0);
  p.Print("SECONDA DITTA");
  p.EndDoc();

  ASSERT_EQ(printers.File().Written().size(), 2u);
  EXPECT_EQ(printers.File().Written()[0], folder / "001_001.pdf");
  EXPECT_EQ(printers.File().Written()[1], folder / "002_002.pdf");

  // Twips become points at 20 to the point; the text's top is at CurrentY,
  // so its baseline is lower by Courier's ascent (0.833 of 12 points).
  const std::string pdf = DecodedPdf(folder / "001_001.pdf");
  EXPECT_NE(pdf.find("/MediaBox [\n    0\n    0\n    842\n    596\n  ]"), std::string::npos);
  EXPECT_NE(pdf.find("/CourierNew,Bold 12 Tf 12 TL\n1 0 0 -1 19.8 21.296 Tm\n(ELENCO DIPENDENTI) Tj"),
            std::string::npos);
  EXPECT_NE(pdf.find("19.8 96.35 56.7 14.15 re\nS"), std::string::npos);
  EXPECT_NE(pdf.find("(PAGINA DUE) Tj"), std::string::npos);
  EXPECT_NE(DecodedPdf(folder / "002_002.pdf").find("(SECONDA DITTA) Tj"), std::string::npos);
}

}  // namespace
}  // namespace vx::output
