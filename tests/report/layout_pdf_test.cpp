// The header in a company's PDF file, read back with qpdf and pikepdf: its
// fonts, and the listing's paper on every page it begins. (Whole pages of both
// listings are read back in the batch run's tests; the layout itself is
// checked on the printer.)

#include <gtest/gtest.h>

#include "report/report_world.h"

namespace vx::report {
namespace {

using vx::testing::Quote;
using vx::testing::ReportWorld;
using vx::testing::Shell;

void Begin(ReportWorld& world, const std::string& base) {
  world.Open(true);
  world.output().CARTELLAPDF("001", "BANC", "202311");
  world.output().CREAPDF(base);
  world.listing.NumeroPagina = 1;
}

TEST(PdfLayout, DetailedHeaderIsBoldTwelveThenEleven) {
  ReportWorld world;
  Begin(world, "BANC_0_D_");
  world.report->TESTATAPDF(false);
  world.output().CHIUDIPDF();
  const std::string pdf = vx::testing::DecodedPdf(world.Linux(world.output().state.FilePDF));
  EXPECT_NE(pdf.find("/CourierNew,Bold 12 Tf 12 TL\n1 0 0 -1 28.346 28.346 Tm\n"
                     "(ELENCO DIPENDENTI CON PAGAMENTO IN C/C                     PAG. 01) Tj"),
            std::string::npos);
  EXPECT_NE(pdf.find("/CourierNew,Bold 11 Tf 11 TL\n1 0 0 -1 28.346 56.693 Tm\n"
                     "(Azienda   : 001 ALFA SRL ) Tj"),
            std::string::npos);
}

TEST(PdfLayout, SimplifiedPagesAreLandscapeWithHeadingFramesAtThreePointSevenFive) {
  ReportWorld world;
  Begin(world, "BANC_0_S_");
  world.report->TESTATAPDF(true);
  world.listing.RigaCorrente = 4.5;
  world.report->STAMPASEMPLIFICATAPDF();
  // A page break as the listing makes it: the new page is landscape too.
  world.output().DocumentoPDF().BeginPage();
  world.listing.NumeroPagina = 2;
  world.report->TESTATAPDF(true);
  world.output().CHIUDIPDF();
  const auto file = world.Linux(world.output().state.FilePDF);

  const std::string pdf = vx::testing::DecodedPdf(file);
  EXPECT_NE(pdf.find("28.346 106.299 56.693 14.173 re\nS"), std::string::npos);  // heading frame
  EXPECT_NE(pdf.find("1 0 0 -1 31.181 116.22 Tm\n(Cod. Dip.) Tj"), std::string::npos);
  EXPECT_NE(pdf.find("PAG. 02) Tj"), std::string::npos);
  const auto pages = Shell(
      "/usr/bin/python3 -c \"import pikepdf,sys; p=pikepdf.open(sys.argv[1]); "
      "print(';'.join(str([float(v) for v in pg.MediaBox]) for pg in p.pages))\" " + Quote(file));
  EXPECT_EQ(pages.output, "[0.0, 0.0, 842.0, 596.0];[0.0, 0.0, 842.0, 596.0]\n");
}

}  // namespace
}  // namespace vx::report
