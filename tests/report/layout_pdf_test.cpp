// The layout in a company's PDF file, read back with qpdf, pdftotext and
// pikepdf: frames 0.25 cm above the printer's, texts on their baselines.

#include <gtest/gtest.h>

#include "report/report_world.h"

namespace vx::report {
namespace {

using vx::testing::DecodedPdf;
using vx::testing::Quoted;
using vx::testing::ReportWorld;
using vx::testing::Shell;

class PdfLayout : public ::testing::Test {
 protected:
  void Begin(const std::string& base) {
    world.Open(true);
    world.output().CARTELLAPDF("001", "BANC", "202311");
    world.output().CREAPDF(base);
    world.listing.NumeroPagina = 1;
  }
  std::filesystem::path Finish() {
    world.output().state.PDFAperto = false;
    world.output().CHIUDIPDF();
    return world.Linux(world.output().state.FilePDF);
  }
  ReportWorld world;
};

TEST_F(PdfLayout, DetailedPageWithHeaderCardAndTotals) {
  Begin("BANC_0_D_STIPENDI_");
  world.settings.ChkGrassetto = [] { return false; };
  world.report->TESTATAPDF(false);
  world.listing.RigaCorrente = 4.165;
  world.listing.DipendentiStampati = 1;
  world.report->STAMPADETTAGLIATAPDF();
  world.report->TOTALIPDF(false);
  const auto file = Finish();

  ASSERT_EQ(Shell("qpdf --check " + Quoted(file)).status, 0);
  const std::string pdf = DecodedPdf(file);
  // Header: bold 12 then 11, from (1, 1) cm.
  EXPECT_NE(pdf.find("/CourierNew,Bold 12 Tf 12 TL\n1 0 0 -1 28.346 28.346 Tm\n"
                     "(ELENCO DIPENDENTI CON PAGAMENTO IN C/C                     PAG. 01) Tj"),
            std::string::npos);
  EXPECT_NE(pdf.find("/CourierNew,Bold 11 Tf 11 TL\n1 0 0 -1 28.346 56.693 Tm\n"
                     "(Azienda   : 001 ALFA SRL ) Tj"),
            std::string::npos);
  // Card: first row's frames at 4.165 - 0.25 = 3.915 cm, label at 4.265 cm.
  EXPECT_NE(pdf.find("28.346 110.976 99.213 14.173 re\nS"), std::string::npos);
  EXPECT_NE(pdf.find("127.559 110.976 382.677 14.173 re\nS"), std::string::npos);
  EXPECT_NE(pdf.find("/CourierNew,Bold 9 Tf 9 TL\n1 0 0 -1 31.181 120.898 Tm\n(Cod. Dipendente) Tj"),
            std::string::npos);
  EXPECT_NE(pdf.find("/CourierNew 9 Tf 9 TL\n1 0 0 -1 130.394 120.898 Tm\n(0010000001) Tj"),
            std::string::npos);
  // The separator under the card at 8.765 - 0.25 cm, 18 cm wide.
  EXPECT_NE(pdf.find("28.346 241.37 510.236 0.283 re\nS"), std::string::npos);
  // Totals start at 8.865 cm.
  EXPECT_NE(pdf.find("1 0 0 -1 31.181 254.126 Tm\n(TOT.DIP.STAMPATI) Tj"), std::string::npos);

  const auto text = Shell("pdftotext -layout " + Quoted(file) + " -").out;
  for (const char* expected : {"MESE : NOVEMBRE 2023 STIPENDI", "000012345678 BANCA DI PROVA",
                               "IT60X3599160000000000000123", "X 03599 01600", "TOT.NETTO BUSTA",
                               "1234.56", "001"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST_F(PdfLayout, SimplifiedPagesAreLandscapeWithHeadingFramesAtThreePointSevenFive) {
  Begin("BANC_0_S_");
  world.report->TESTATAPDF(true);
  world.listing.RigaCorrente = 4.5;
  world.report->STAMPASEMPLIFICATAPDF();
  // A page break as the listing makes it: the new page is landscape too.
  world.output().DocumentoPDF().BeginPage();
  world.listing.NumeroPagina = 2;
  world.report->TESTATAPDF(true);
  world.listing.RigaCorrente = 4.5;
  world.report->TOTALIPDF(true);
  const auto file = Finish();

  const std::string pdf = DecodedPdf(file);
  ASSERT_FALSE(pdf.empty());
  EXPECT_NE(pdf.find("28.346 106.299 56.693 14.173 re\nS"), std::string::npos);  // heading frame
  EXPECT_NE(pdf.find("1 0 0 -1 31.181 116.22 Tm\n(Cod. Dip.) Tj"), std::string::npos);
  EXPECT_NE(pdf.find("28.346 120.472 56.693 14.173 re\nS"), std::string::npos);  // line frame
  EXPECT_NE(pdf.find("1 0 0 -1 314.646 130.394 Tm\n(    1234.56) Tj"), std::string::npos);
  EXPECT_NE(pdf.find("(TOTALE DIPENDENTI STAMPATI) Tj"), std::string::npos);

  const auto pages = Shell(
      "/usr/bin/python3 -c \"import pikepdf,sys; p=pikepdf.open(sys.argv[1]); "
      "print(';'.join(str([float(v) for v in pg.MediaBox]) for pg in p.pages))\" " +
      Quoted(file));
  ASSERT_EQ(pages.status, 0) << pages.out;
  EXPECT_EQ(pages.out, "[0.0, 0.0, 842.0, 596.0];[0.0, 0.0, 842.0, 596.0]\n");
  EXPECT_NE(Shell("pdftotext " + Quoted(file) + " -").out.find("PAG. 02"), std::string::npos);
}

}  // namespace
}  // namespace vx::report
