// The drawing primitives: where texts and frames land on the printer, which
// texts are left off, and what becomes of a printer that fails.

#include <gtest/gtest.h>

#include "output/listing_world.h"
#include "output/no_printers.h"
#include "platform/errors.h"

namespace vx::output {
namespace {

using vx::testing::ListingWorld;

class PrinterPrimitives : public ::testing::Test {
 protected:
  void SetUp() override { world.Open(); }
  ListingWorld world;
  std::vector<PrinterCall> Drawn() { return world.printer().Drawings(); }
};

// Where texts land, in twips, is shown by the listing's own layout tests.
TEST_F(PrinterPrimitives, BoxesAreCornersInTwipsAndFlatBoxesAreLines) {
  world.output().STAMPABOX(4, 1, 0.5, 2);
  world.output().STAMPABOX(5, 1, 0, 18);
  world.output().STAMPABOX(5, 1, 0.01, 18);
  // Deltas and thickness belong to the PDF only.
  world.output().STAMPABOX(4, 1, 0.5, 2, 1, 3, 3, 3, 3);
  auto d = Drawn();
  ASSERT_EQ(d.size(), 4u);
  EXPECT_EQ(d[0].args, (std::vector<double>{396, 1927, 1530, 2210}));
  EXPECT_EQ(d[1].args, (std::vector<double>{396, 2494, 10602, 2494}));
  EXPECT_EQ(d[2].args, (std::vector<double>{396, 2494, 10602, 2499}));
  EXPECT_EQ(d[3].args, d[0].args);
}

TEST_F(PrinterPrimitives, ZerosAndBlanksAreLeftOffButTheTextIsAlwaysConsumed) {
  for (std::string text : {"0", "0.00", "   0.00", "-.00", "000", "", "     "}) {
    std::string buffer = text;
    world.output().STAMPATESTO(2, 2, buffer);
    EXPECT_EQ(buffer, "") << "[" << text << "]";
  }
  EXPECT_TRUE(Drawn().empty());

  std::string zero = "  0.00";
  world.output().STAMPATESTO(2, 2, zero, true);
  std::string leading = "   ROSSI";
  world.output().STAMPATESTO(2, 2, leading);
  std::string code = "007";
  world.output().STAMPATESTO(2, 2, code);
  auto d = Drawn();
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].text, "  0.00");  // drawn untrimmed when zeros are wanted
  EXPECT_EQ(d[1].text, "   ROSSI");
  EXPECT_EQ(d[2].text, "007");
}

// A printer that fails a given number of times, then works.
class FlakyPrinters : public RecordingPrinters {
 public:
  explicit FlakyPrinters(int failures) : failures_(failures) {}
  Printer& Current() override {
    if (failures_ > 0) {
      --failures_;
      return missing_;
    }
    return RecordingPrinters::Current();
  }

 private:
  int failures_;
  MissingPrinter missing_;
};

TEST(PrinterErrors, TheOperatorRetriesSkipsOrEndsTheProgram) {
  {
    FlakyPrinters printers(1);
    ListingWorld world;
    world.Open(&printers);
    world.boxes.Queue(vx::platform::Answer::Yes);  // try again
    std::string text = "ABC";
    world.output().STAMPATESTO(1, 1, text);
    ASSERT_EQ(world.boxes.shown.size(), 1u);
    EXPECT_EQ(world.boxes.shown[0].text, "ERR.STAMPANTE - SI VUOLE RITENTARE ?");
    auto drawn = printers.CurrentRecorder().Drawings();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].y, 226);
  }
  {
    NoPrinters printers;
    ListingWorld world;
    world.Open(&printers);
    // No retry, do not close: each failed step is given up and the run goes on.
    for (int i = 0; i < 3; ++i) {
      world.boxes.Queue(vx::platform::Answer::No);
      world.boxes.Queue(vx::platform::Answer::No);
    }
    std::string text = "ABC";
    world.output().STAMPATESTO(1, 1, text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(world.boxes.shown.size(), 6u);  // CurrentY, CurrentX, Print
    EXPECT_EQ(world.boxes.shown[1].text,
              "CHIUDERE IL PROGRAMMA ? (se si risp.NO il progr.perde la riga e prosegue)");
  }
  {
    NoPrinters printers;
    ListingWorld world;
    world.Open(&printers);
    // Nobody to answer: no retry, and the program ends.
    EXPECT_THROW(world.output().STAMPABOX(1, 1, 1, 1), vx::platform::ProgramEnd);
  }
}

}  // namespace
}  // namespace vx::output
