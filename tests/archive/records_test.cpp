#include <gtest/gtest.h>

#include "scratch_installation.h"

using vx::platform::ProgramEnd;

namespace {

constexpr const char* kArchive = "C:\\PVXPAGHE\\ARCHIVI\\DATI.DAT";

class Records : public ::testing::Test {
 protected:
  Records() { world.Catalogue({{5, {"DATI.DAT", 4}}}); }
  std::string Report() const { return world.boxes.shown.empty() ? "" : world.boxes.shown[0].text; }
  vx::testing::ScratchInstallation world;
  vx::archive::ArchiveState& state = world.archives.state;
  vx::archive::PayrollArchives& archives = world.archives;
};

}  // namespace

TEST_F(Records, ReadingTellsWhenItWentPastTheEndAndChangesNoByte) {
  const std::string bytes("AAAABBBBCC\xFC\0", 12);
  world.Write(kArchive, bytes);
  archives.FAIOPEN(5);
  EXPECT_EQ(archives.LEGGIREC(5, 2), 0);
  EXPECT_EQ(state.BufferRec[5], "BBBB");
  EXPECT_EQ(archives.LEGGIREC(5, 3), 0);
  EXPECT_EQ(archives.LEGGIREC(5, 4), 1);
  EXPECT_EQ(state.UltimoRec[5], 4);
  EXPECT_EQ(state.UltimeProcedure[state.IndiceTraccia], "LEGGIREC (5-4)");
  archives.CHIUDI(0);
  EXPECT_EQ(world.Read(kArchive), bytes);
  world.Write(kArchive, "");
  archives.FAIOPEN(5);
  EXPECT_EQ(archives.LEGGIREC(5, 1), 1);
}

TEST_F(Records, WrongBufferLengthAndRecordNumberBelowOneAreReportedWithTheOperation) {
  world.Write(kArchive, "AAAA");
  archives.FAIOPEN(5);
  state.BufferRec[5] = "TOO LONG";
  EXPECT_THROW(archives.LEGGIREC(5, 1), ProgramEnd);
  EXPECT_EQ(Report().rfind("Errore 59 Bad record length\r\n", 0), 0u);
  EXPECT_NE(Report().find("LEGGIREC (5-1)\r\n"), std::string::npos);
  world.boxes.shown.clear();
  archives.FAIOPEN(5);
  EXPECT_THROW(archives.LEGGIREC(5, 0), ProgramEnd);
  EXPECT_EQ(Report().rfind("Errore 63 ", 0), 0u);
  EXPECT_TRUE(Report().ends_with(std::string("File: ") + kArchive + "\r\nOperazione: lettura del record 0 dell'archivio 5\r\n"))
      << Report();
}

TEST_F(Records, ArchivesOpenedByTheProgramCannotBeWritten) {
  world.Write(kArchive, "AAAA");
  archives.FAIOPEN(5);
  EXPECT_THROW(archives.SCRIVIREC(5, 1, "ZZZZ"), ProgramEnd);
  EXPECT_EQ(world.Read(kArchive), "AAAA");
}

TEST_F(Records, WritingAScratchArchiveExtendsItOrFailsWithoutWriting) {
  archives.SetArchiveAccess(vx::platform::Access::ReadWriteShared);
  world.Write(kArchive, "AAAA");
  archives.FAIOPEN(5);
  archives.SCRIVIREC(5, 3, "CCCC");
  EXPECT_EQ(world.Read(kArchive), std::string("AAAA\0\0\0\0CCCC", 12));
  state.BufferRec[5] = "BBBB";  // an empty text writes the buffer as edited
  archives.SCRIVIREC(5, 2, "");
  EXPECT_EQ(world.Read(kArchive), "AAAABBBBCCCC");
  EXPECT_THROW(archives.SCRIVIREC(5, 1, "ZZZ"), ProgramEnd);
  EXPECT_EQ(Report().rfind("Errore 59 ", 0), 0u);
  EXPECT_EQ(world.Read(kArchive), "AAAABBBBCCCC");
}
