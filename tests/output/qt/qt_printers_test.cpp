// The Qt printer back end, printing into a PDF file read back with poppler.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>
#include <sstream>

#include "output/listing_world.h"
#include "output/qt/qt_printers.h"
#include "platform/errors.h"
#include "support/temp_folder.h"

namespace vx::output {
namespace {

using vx::testing::Quote;
using vx::testing::Shell;

class QtBackEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "qt_printers_test";
    static char* argv[] = {name, nullptr};
    app_ = new QGuiApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete app_;
    app_ = nullptr;
  }
  static QGuiApplication* app_;
  vx::testing::TempFolder folder;
};
QGuiApplication* QtBackEnd::app_ = nullptr;

// The top of each word on the page, in points, as pdftotext -bbox gives it.
double WordTop(const std::string& bbox, const std::string& word) {
  auto at = bbox.find(">" + word + "<");
  if (at == std::string::npos) return -1;
  auto line = bbox.rfind("<word", at);
  auto y = bbox.find("yMin=\"", line);
  return std::atof(bbox.c_str() + y + 6);
}

TEST_F(QtBackEnd, TwipsPagesAndOrientationReachThePaper) {
  const auto file = folder.Path() / "printed.pdf";
  QtPrinter printer("unused");
  printer.SetOutputFile(file.string());
  printer.SetOrientation(2);
  printer.SetFontName("Courier New");
  printer.SetFontSize(12);
  printer.SetFontBold(true);
  printer.SetCurrentX(0);
  printer.SetCurrentY(0);
  printer.Print("ALTO");
  EXPECT_EQ(printer.CurrentX(), 0);
  EXPECT_GT(printer.CurrentY(), 200);  // one 12-point line is about 270 twips
  EXPECT_LT(printer.CurrentY(), 320);
  printer.SetCurrentY(1440);  // one inch lower
  printer.Print("BASSO");
  printer.Box(0, 0, 1440, 0);
  printer.NewPage();
  printer.Print("SECONDA");
  printer.EndDoc();

  const auto info = Shell("pdfinfo " + Quote(file)).output;
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(info.find("842 x 595 pts"), std::string::npos) << info;  // A4 landscape
  // Courier New as fontconfig resolves it: the metric-compatible Liberation Mono.
  const auto fonts = Shell("pdffonts " + Quote(file)).output;
  EXPECT_NE(fonts.find("LiberationMono-Bold"), std::string::npos) << fonts;
  const auto bbox = Shell("pdftotext -bbox " + Quote(file) + " -").output;
  const double alto = WordTop(bbox, "ALTO"), basso = WordTop(bbox, "BASSO");
  ASSERT_GT(alto, 0) << bbox;
  EXPECT_NEAR(basso - alto, 72, 1.5);
  EXPECT_NE(bbox.find(">SECONDA<"), std::string::npos);
}

TEST_F(QtBackEnd, WithoutPrintersTheFirstOutputIsAPrinterError) {
  QtPrinters printers;
  if (!printers.Names().empty()) GTEST_SKIP() << "this machine has printers installed";
  try {
    printers.Current().Print("X");
    FAIL() << "printed without a printer";
  } catch (const vx::platform::RuntimeError& error) {
    EXPECT_EQ(error.number, 482);
  }
}

}  // namespace
}  // namespace vx::output
