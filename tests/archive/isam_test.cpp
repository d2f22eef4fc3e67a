#include <gtest/gtest.h>

#include "index_blocks.h"
#include "scratch_installation.h"

using vx::platform::ProgramEnd;
using vx::testing::IndexBlock;

namespace {

// Three-character keys: blocks of (3 + 7) x 128 characters.
class IndexSearch : public ::testing::Test {
 protected:
  IndexSearch() { world.Catalogue({{7, {"INDICE.DAT", 1280}}}); }
  void Index(const std::vector<std::string>& blocks) {
    std::string bytes;
    for (const auto& block : blocks) bytes += block;
    world.Write("C:\\PVXPAGHE\\ARCHIVI\\INDICE.DAT", bytes);
    archives.FAIOPEN(7);
  }
  // Root -> two level-2 blocks -> four leaves.
  void ThreeLevels() {
    Index({IndexBlock(3, '1', {{"100", 2}, {"500", 3}}), IndexBlock(3, '2', {{"100", 4}, {"300", 5}}),
           IndexBlock(3, '2', {{"500", 6}, {"700", 7}}), IndexBlock(3, '3', {{"100", 1001}, {"200", 1002}}),
           IndexBlock(3, '3', {{"300", 1003}, {"400", 1004}}), IndexBlock(3, '3', {{"500", 1005}, {"600", 1006}}),
           IndexBlock(3, '3', {{"700", 1007}, {"800", 1008}})});
  }
  double Search(const std::string& key) { return archives.ISAM(7, key, 2, 0); }
  std::string Trace() const {
    return vx::archive::TraceListing(archives.state.UltimeProcedure, archives.state.IndiceTraccia);
  }
  vx::testing::ScratchInstallation world;
  vx::archive::PayrollArchives& archives = world.archives;
};

}  // namespace

TEST_F(IndexSearch, FindsEveryKeyReadingOneBlockPerLevelAndTheLeafOnlyAnExactMatch) {
  ThreeLevels();
  EXPECT_EQ(Search("100"), 1001);
  EXPECT_EQ(Search("400"), 1004);
  EXPECT_EQ(Search("800"), 1008);
  EXPECT_EQ(Search("600"), 1006);
  EXPECT_TRUE(Trace().ends_with("LEGGIREC (7-1)\r\nLEGGIREC (7-3)\r\nLEGGIREC (7-6)\r\n"));
  for (const char* absent : {"050", "450", "999"}) EXPECT_EQ(Search(absent), -1) << absent;
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST_F(IndexSearch, EmptyIndexAnswersWithoutReadingOtherBlocks) {
  Index({IndexBlock(3, '1', {})});
  EXPECT_EQ(Search("100"), -1);
  EXPECT_TRUE(Trace().ends_with("DAMMIFILE$ (7)\r\nLEGGIREC (7-1)\r\n"));
}

TEST_F(IndexSearch, ValidationMessagesAnswerMinusOne) {
  auto message_of = [&](const std::string& key, double code, double record) {
    world.boxes.shown.clear();
    EXPECT_EQ(archives.ISAM(7, key, code, record), -1);
    return world.boxes.shown.size() == 1 ? world.boxes.shown[0].text : "(not one box)";
  };
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\INDICE.DAT", "");
  archives.FAIOPEN(7);
  EXPECT_EQ(message_of("100", 2, 0), "ERRORE ISAM - FILE VUOTO 7");
  ThreeLevels();
  EXPECT_EQ(message_of("", 2, 0), "ERRORE ISAM - LUNK=0");
  EXPECT_EQ(message_of("10", 2, 0), "ERRORE ISAM - LUNK NO OK");
  EXPECT_EQ(message_of("   ", 2, 0), "ERRORE ISAM - K=BLANK");
  EXPECT_EQ(message_of("100", 1, 0), "ERR.ISAM - N.REC.=0");
  EXPECT_EQ(message_of("100", 5, 0), "ERRORE CODICE ISAM 5");
}

TEST_F(IndexSearch, UpdatingCodesAreRefusedAndLeaveTheIndexAlone) {
  ThreeLevels();
  const std::string before = world.Read("C:\\PVXPAGHE\\ARCHIVI\\INDICE.DAT");
  EXPECT_THROW(archives.ISAM(7, "900", 1, 9), ProgramEnd);
  EXPECT_EQ(world.Read("C:\\PVXPAGHE\\ARCHIVI\\INDICE.DAT"), before);
}

TEST_F(IndexSearch, BrokenBlockPointersAreReportedNotSearched) {
  Index({IndexBlock(3, '1', {{"100", 2}}), IndexBlock(3, '2', {{"100", 9}})});
  EXPECT_THROW(Search("100"), ProgramEnd);
  const std::string report = world.boxes.shown.at(0).text;
  EXPECT_EQ(report.rfind("Errore 62 Input past end of file\r\n", 0), 0u);
  EXPECT_NE(report.find("LEGGIREC (7-1)\r\nLEGGIREC (7-2)\r\nLEGGIREC (7-9)\r\nFile: "), std::string::npos) << report;
  world.boxes.shown.clear();
  Index({IndexBlock(3, '1', {{"100", 2}})});  // block 2 is not there
  EXPECT_THROW(Search("100"), ProgramEnd);
  EXPECT_EQ(world.boxes.shown.at(0).text.rfind("Errore 62 Input past end of file\r\n", 0), 0u);
  EXPECT_NE(world.boxes.shown.at(0).text.find("LEGGIREC (7-1)\r\nLEGGIREC (7-2)\r\nFile: "), std::string::npos);
  world.boxes.shown.clear();
  Index({IndexBlock(3, '1', {{"100", 0}})});
  EXPECT_THROW(Search("100"), ProgramEnd);
  EXPECT_EQ(world.boxes.shown.at(0).text.rfind("Errore 63 ", 0), 0u);
}
