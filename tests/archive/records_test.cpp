#include <gtest/gtest.h>

#include "platform/errors.h"
#include "scratch_installation.h"

using vx::platform::ProgramEnd;
using vx::testing::ScratchInstallation;

namespace {

constexpr const char* kArchive = "C:\\PVXPAGHE\\ARCHIVI\\DATI.DAT";

class Records : public ::testing::Test {
 protected:
  Records() { world.Catalogue({{5, {"DATI.DAT", 4}}}); }
  ScratchInstallation world;
  vx::archive::ArchiveState& state = world.archives.state;
  vx::archive::PayrollArchives& archives = world.archives;
};

}  // namespace

TEST_F(Records, ReadingTellsWhenItWentPastTheEnd) {
  world.Write(kArchive, "AAAABBBBCCCC");
  archives.FAIOPEN(5);
  EXPECT_EQ(archives.LEGGIREC(5, 2), 0);
  EXPECT_EQ(state.BufferRec[5], "BBBB");
  EXPECT_EQ(state.UltimoRec[5], 2);
  EXPECT_EQ(archives.LEGGIREC(5, 3), 0);
  EXPECT_EQ(archives.LEGGIREC(5, 4), 1);
  EXPECT_EQ(state.UltimeProcedure[state.IndiceTraccia], "LEGGIREC (5-4)");
}

TEST_F(Records, FirstRecordOfAnEmptyArchiveIsPastTheEnd) {
  archives.FAIOPEN(5);
  EXPECT_EQ(archives.LEGGIREC(5, 1), 1);
}

TEST_F(Records, ArchivesAreByteIdenticalAfterReading) {
  const std::string bytes = "AAAABBBBCC\xFC\x00";
  world.Write(kArchive, std::string(bytes.data(), 12));
  archives.FAIOPEN(5);
  for (int r = 1; r <= 4; ++r) archives.LEGGIREC(5, r);
  archives.CHIUDI(0);
  EXPECT_EQ(world.Read(kArchive), std::string(bytes.data(), 12));
}

TEST_F(Records, ABufferOfTheWrongLengthIsError59) {
  archives.FAIOPEN(5);
  state.BufferRec[5] = "TOO LONG";
  EXPECT_THROW(archives.LEGGIREC(5, 1), ProgramEnd);
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  EXPECT_EQ(world.boxes.shown[0].title, "Velmora VXOREL");
  EXPECT_EQ(world.boxes.shown[0].text.rfind("Errore 59 Bad record length\r\n", 0), 0u);
  EXPECT_NE(world.boxes.shown[0].text.find("LEGGIREC (5-1)\r\n"), std::string::npos);
}

TEST_F(Records, RecordNumberBelowOneIsReported) {
  archives.FAIOPEN(5);
  EXPECT_THROW(archives.LEGGIREC(5, 0), ProgramEnd);
  EXPECT_EQ(world.boxes.shown[0].text.rfind("Errore 63 ", 0), 0u);
}

TEST_F(Records, ArchivesOpenedByTheProgramCannotBeWritten) {
  world.Write(kArchive, "AAAA");
  archives.FAIOPEN(5);
  EXPECT_THROW(archives.SCRIVIREC(5, 1, "ZZZZ"), ProgramEnd);
  EXPECT_EQ(world.Read(kArchive), "AAAA");
}

TEST_F(Records, WritingAScratchArchiveExtendsItAndKeepsOtherRecords) {
  archives.SetArchiveAccess(vx::platform::Access::ReadWriteShared);
  world.Write(kArchive, "AAAA");
  archives.FAIOPEN(5);
  archives.SCRIVIREC(5, 3, "CCCC");
  EXPECT_EQ(world.Read(kArchive), std::string("AAAA") + std::string(4, '\0') + "CCCC");
  // An empty text writes the buffer as the caller edited it.
  state.BufferRec[5] = "BBBB";
  archives.SCRIVIREC(5, 2, "");
  EXPECT_EQ(world.Read(kArchive), "AAAABBBBCCCC");
  EXPECT_EQ(state.UltimeProcedure[state.IndiceTraccia], "SCRIVIREC (5-2)");
}

TEST_F(Records, WritingATextOfTheWrongLengthWritesNothing) {
  archives.SetArchiveAccess(vx::platform::Access::ReadWriteShared);
  world.Write(kArchive, "AAAA");
  archives.FAIOPEN(5);
  EXPECT_THROW(archives.SCRIVIREC(5, 1, "ZZZ"), ProgramEnd);
  EXPECT_EQ(world.boxes.shown[0].text.rfind("Errore 59 ", 0), 0u);
  EXPECT_EQ(world.Read(kArchive), "AAAA");
}
