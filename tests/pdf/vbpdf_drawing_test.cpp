// What drawing operations put into a page's content stream: texts, fonts,
// rectangles, colours, the page prefix and the paper.

#include <gtest/gtest.h>

#include "pdf/number_format.h"
#include "writer_fixture.h"

namespace vx::pdf {
namespace {

using testing::MemoryFiles;
using testing::ObjectText;
using testing::PageContents;

// Every page begins with the coordinate flip and black fill and stroke.
constexpr std::string_view kPageStart = "1 0 0 -1 0 842 cm \r0 0 0 rg\r0 0 0 RG\r";

class Drawing : public ::testing::Test {
 protected:
  void SetUp() override {
    pdf.SetScale(3, 1.0f);
    pdf.BeginDoc("t.pdf");
    pdf.BeginPage();
  }
  // The first page's operators after the common start.
  std::string Drawn() {
    pdf.EndDoc();
    std::string content = PageContents(Pdf()).at(0);
    EXPECT_EQ(content.substr(0, kPageStart.size()), kPageStart);
    return content.substr(kPageStart.size());
  }
  const std::string& Pdf() { return files.files["t.pdf"]; }

  MemoryFiles files;
  vbPDF pdf{testing::FixedServices(files)};
};

TEST(NumberFormat, ThreeDecimalsHalfAwayFromZeroShortestFormWithPoint) {
  std::setlocale(LC_ALL, "it_IT.UTF-8");  // a comma locale must change nothing
  EXPECT_EQ(FormatNumber(596), "596");
  EXPECT_EQ(FormatNumber(28.3464567), "28.346");
  EXPECT_EQ(FormatNumber(0.5), "0.5");
  EXPECT_EQ(FormatNumber(0.0125), "0.013");
  EXPECT_EQ(FormatNumber(-0.0125), "-0.013");
  EXPECT_EQ(FormatNumber(-0.0001), "0");
  EXPECT_EQ(FormatNumber(128 / 255.0), "0.502");
  EXPECT_EQ(FormatNumber(12345.678), "12345.68");  // seven significant digits
  EXPECT_EQ(FormatNumber(1e12), "1000000000000");  // never an exponent
  std::setlocale(LC_ALL, "C");
}

TEST_F(Drawing, TextAtTwoThreeCentimetresInBoldCourier) {
  pdf.SetFont("Courier New", 12, 1, 0);
  pdf.DrawText(2, 3, "ABC", 1);
  EXPECT_EQ(Drawn(),
            "0 0 0 rg\rBT\r/CourierNew,Bold 12 Tf 12 TL\r1 0 0 -1 56.693 85.039 Tm\r"
            "(ABC) Tj\rET\r0 0 0 rg\r");
  EXPECT_NE(ObjectText(Pdf(), 4).find("/Name /CourierNew,Bold /BaseFont /CourierNew,Bold "
                                      "/FirstChar 0 /LastChar 255\n/Encoding << /Type "
                                      "/Encoding /BaseEncoding /WinAnsiEncoding>>\n >>\n"),
            std::string::npos);
}

TEST_F(Drawing, TextIsEscapedAndDrawnUntrimmedButBlankTextIsNot) {
  pdf.SetFont("Courier New", 10, 0, 0);
  pdf.DrawText(1, 1, "a(b)c\\d\r\n", 1);
  pdf.DrawText(1, 2, "  x", 1);
  pdf.DrawText(4, 5, "   ", 1);
  EXPECT_FLOAT_EQ(pdf.GetX(), 4);  // the blank text only moves the point
  EXPECT_FLOAT_EQ(pdf.GetY(), 5);
  std::string drawn = Drawn();
  EXPECT_NE(drawn.find("(a\\(b\\)c\\\\d\\r\\n) Tj\r"), std::string::npos);
  EXPECT_NE(drawn.find("(  x) Tj\r"), std::string::npos);
  EXPECT_EQ(drawn.find("(   )"), std::string::npos);
}

TEST_F(Drawing, AlignmentMovesTheStartByTheMeasuredLength) {
  pdf.SetScale(0);
  pdf.SetFont("Courier", 10, 0, 0);
  EXPECT_FLOAT_EQ(pdf.TextLength("AB"), 12);
  pdf.DrawText(100, 50, "AB", 2);   // ends at 100
  pdf.DrawText(100, 60, "AB", 4);   // centred on 100
  pdf.DrawText(100, 70, "AB", 10);  // 10 mod 8 = 2
  EXPECT_FLOAT_EQ(pdf.GetX(), 112);  // after the text, whatever the alignment
  std::string drawn = Drawn();
  EXPECT_NE(drawn.find("1 0 0 -1 88 50 Tm"), std::string::npos);
  EXPECT_NE(drawn.find("1 0 0 -1 94 60 Tm"), std::string::npos);
  EXPECT_NE(drawn.find("1 0 0 -1 88 70 Tm"), std::string::npos);
}

TEST_F(Drawing, UnderlinedTextIsRuledInTheTextColour) {
  pdf.SetScale(0);
  pdf.SetFont("Arial", 16, 4, 0);
  pdf.SetColorText("Red");
  pdf.DrawText(10, 20, "A", 0);
  EXPECT_EQ(Drawn(),
            "1 0 0 rg\rBT\r/Arial 16 Tf 16 TL\r1 0 0 -1 10 20 Tm\r(A) Tj\rET\r0 0 0 rg\r"
            "q\r1 0 0 RG\r1 w \r1 0 0 1 10 20 cm\r0 2 m 10.672 2 l S\r0 0 0 RG\rQ\r");
}

TEST_F(Drawing, FontsAreSharedByNameStyleAndEncoding) {
  pdf.SetFont("Courier New", 0, 0, 0);
  pdf.SetFont("COURIER", 9, 0, 0);         // same font: no new object
  pdf.SetFont("Courier New", 0, 1, 0);     // bold: a second one, size kept
  pdf.SetFont("helvetica", 8, 3, 0);       // Arial,BoldItalic
  pdf.SetFont("Symbol", 8, 1, 0);          // no bold symbol, no encoding line
  pdf.SetFont("Courier New", 8, 0, 1);     // Mac Roman
  pdf.SetFont("Fancy Script", 8, 1, 0);    // unknown: Arial metrics and base name
  pdf.SetFont("FancyScript", 8, 1, 0);     // found again by its own name
  pdf.DrawText(1, 1, "x", 0);
  std::string drawn = Drawn();
  EXPECT_NE(drawn.find("/FancyScript 8 Tf"), std::string::npos);
  EXPECT_EQ(ObjectText(Pdf(), 2),
            "<<\r/Font <<\r/CourierNew 4 0 R /CourierNew,Bold 5 0 R /Arial,BoldItalic 6 0 R "
            "/Symbol 7 0 R /MACCourierNew 8 0 R /FancyScript 9 0 R >>\r"
            "/ProcSet [/PDF /Text ]\r\r>>\n");
  EXPECT_NE(ObjectText(Pdf(), 5).find("/BaseFont /CourierNew,Bold "), std::string::npos);
  EXPECT_EQ(ObjectText(Pdf(), 7).find("/Encoding"), std::string::npos);
  EXPECT_NE(ObjectText(Pdf(), 8).find("/BaseFont /CourierNew /FirstChar 0 /LastChar 255\n"
                                      "/Encoding << /Type /Encoding /BaseEncoding "
                                      "/MacRomanEncoding>>"),
            std::string::npos);
  EXPECT_NE(ObjectText(Pdf(), 9).find("/Name /FancyScript /BaseFont /Arial,Bold "),
            std::string::npos);
}

TEST_F(Drawing, SizeZeroKeepsThePreviousSizeAndStartsAtTen) {
  pdf.SetScale(0);
  EXPECT_EQ(pdf.TextLength("A"), 0);  // no font yet
  pdf.SetFont("Courier", 0, 0, 0);
  EXPECT_FLOAT_EQ(pdf.TextLength("A"), 6);
  EXPECT_FLOAT_EQ(pdf.TextHeight(), 11.33f);
  pdf.SetFont("Courier", 20, 0, 0);
  pdf.SetFont("Courier", 0, 1, 0);
  EXPECT_FLOAT_EQ(pdf.TextLength("A"), 12);
}

TEST_F(Drawing, WidthsFollowTheStandardMetricsInWindowsAnsiOrder) {
  pdf.SetScale(0);
  pdf.SetFont("Arial", 1000, 0, 0);
  EXPECT_FLOAT_EQ(pdf.TextLength("A"), 667);
  EXPECT_FLOAT_EQ(pdf.TextLength("'"), 191);       // quotesingle, not quoteright
  EXPECT_FLOAT_EQ(pdf.TextLength("\x80"), 556);    // Euro
  EXPECT_FLOAT_EQ(pdf.TextLength("\xE0"), 556);    // agrave
  pdf.SetFont("Times New Roman", 1000, 1, 0);
  EXPECT_FLOAT_EQ(pdf.TextLength("W"), 1000);
  pdf.SetFont("Symbol", 1000, 0, 0);
  EXPECT_FLOAT_EQ(pdf.TextLength("\""), 713);      // universal, by the font's own code
  pdf.SetScale(3);
  pdf.SetFont("Courier New", 10, 0, 0);
  EXPECT_FLOAT_EQ(pdf.TextLength("AB"), 12 / 28.346457f);
}

TEST_F(Drawing, RectangleLineWidthAndPaintOperators) {
  pdf.SetLineWidth(0.05f);
  pdf.SetLineWidth(-1);  // ignored
  pdf.DrawRect(1, 1, 2, 0.5f, 0, 0, 15);
  pdf.DrawRect(0, 0, 1, 1, 2);
  pdf.DrawRect(0, 0, 1, 1, 1);
  pdf.DrawRect(0, 0, 1, 1, 3);
  pdf.DrawRect(0, 0, 1, 1, 5);
  pdf.DrawRect(0, 0, 1, 1, 6);
  pdf.DrawRect(0, 0, 1, 1, 4);
  pdf.DrawRect(0, 0, 1, 1, 128);
  EXPECT_FLOAT_EQ(pdf.GetX(), 0);
  const std::string square = "0 0 28.346 28.346 re\r";
  EXPECT_EQ(Drawn(), "1.417 w\r28.346 28.346 56.693 14.173 re\rS\r" + square + "h S\r" +
                         square + square + "h\r" + square + "f*\r" + square + "b*\r" +
                         square + "B*\r" + square + "W S\r");
}

TEST_F(Drawing, RoundedRectangleUsesQuarterArcsOnChosenCorners) {
  pdf.SetScale(0);
  pdf.DrawRect(0, 0, 100, 50, 0, 10, 2);  // top right only
  EXPECT_EQ(Drawn(),
            "0 0 m\r90 0 l\r95.5 0 100 4.5 100 10 c\r100 50 l\r0 50 l\r0 0 l\rh\rS\r");
}

TEST_F(Drawing, ColourForms) {
  for (const char* black : {"Black", "black ", "#000000", "@0;0;0", "%100", "NoSuchColour"}) {
    pdf.SetColorFill(black);
  }
  pdf.SetColorLine("#808080");
  pdf.SetColorLine("%50");
  pdf.SetColorLine("Navy");
  pdf.SetColorFill("@255;0;0");
  pdf.SetColorFill("@0;0;0;255");
  pdf.SetColorFill("");  // nothing written
  pdf.SetColorFill("Lime;SomePattern");
  EXPECT_EQ(Drawn(),
            "0 0 0 rg\r0 0 0 rg\r0 0 0 rg\r0 0 0 rg\r0 0 0 rg\r0 0 0 rg\r"
            "0.502 0.502 0.502 RG\r0.502 0.502 0.502 RG\r0 0 0.502 RG\r"
            "1 0 0 rg\r0 0 0 1 k\r0 1 0 rg\r");
}

TEST_F(Drawing, PrefixClipsToTheMarginBoxOfTheProgramsPaper) {
  // Size and margins are read when a page ends, so they apply to the open page.
  pdf.SetMargins(0, 0, 0, 0, true);
  pdf.SetPaperSize(1);
  pdf.BeginPage();
  pdf.SetPaperSize(0);
  pdf.SetMargins(1, 0, 2, 0, true);
  pdf.EndDoc();
  std::vector<std::string> pages = PageContents(Pdf());
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0], "1 0 0 -1 0 596 cm \r0 0 842 596 re W n\r0 0 0 rg\r0 0 0 RG\r");
  EXPECT_EQ(pages[1].substr(0, 55),
            "1 0 0 -1 28.346 785.307 cm \r0 0 567.654 785.307 re W n\r");
}

TEST_F(Drawing, PaperSizesAndRotation) {
  pdf.SetPaperSize(-8);
  pdf.SetPaperSize(18);  // unknown: A0 stays
  pdf.SetPageView(3);    // this page only
  pdf.BeginPage();
  pdf.SetPaperSize(-9);
  pdf.SetPaperSize(17);
  pdf.BeginPage();
  pdf.SetScale(3);
  pdf.SetPaperSize(255, 10, 20);
  pdf.SetPageView(2);
  pdf.BeginPage();  // rotated by the default set between pages
  pdf.EndDoc();
  const std::string& file = Pdf();
  EXPECT_NE(file.find("/Contents 5 0 R\r/Rotate 90\r/MediaBox [0 0 2384 3371]\r"
                      "/CropBox [0 0 2384 3371]\r/BleedBox [0 0 2384 3371]\r/Resources 2 0 R>>"),
            std::string::npos);
  EXPECT_NE(file.find("/Contents 7 0 R\r/MediaBox [0 0 756 522]"), std::string::npos);
  EXPECT_NE(file.find("/Contents 9 0 R\r/Rotate 180\r/MediaBox [0 0 283.465 566.929]"),
            std::string::npos);
}

TEST_F(Drawing, PositionsAreKeptInPointsAndReadBackInUnits) {
  pdf.SetXY(1, 1);
  EXPECT_FLOAT_EQ(pdf.GetX(), 1);
  pdf.SetScale(0);
  EXPECT_FLOAT_EQ(pdf.GetX(), 28.346457f);
  EXPECT_FLOAT_EQ(pdf.GetY(), 28.346457f);
  pdf.DrawRect(-2.5f, 3, 1, 1);
  EXPECT_NE(Drawn().find("-2.5 3 1 1 re\r"), std::string::npos);
}

}  // namespace
}  // namespace vx::pdf
