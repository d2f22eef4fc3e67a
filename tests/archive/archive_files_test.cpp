#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/errors.h"
#include "scratch_installation.h"

using vx::platform::ProgramEnd;
using vx::testing::ScratchInstallation;

namespace {

// An installation whose catalogue names one pattern per number base.
class ArchiveNames : public ::testing::Test {
 protected:
  ArchiveNames() {
    world.Catalogue({{1, {"DITTE.DAT", 100}},
                     {7, {"IND###.DAT", 1280}},
                     {8, {"A###$$**.DAT", 10}},
                     {9, {"REG@@%%.DAT", 10}},
                     {10, {"!:\\PAGHE\\X.DAT", 10}},
                     {11, {"ANNO**.DAT", 10}}});
    world.archives.state.CodiceTerminale = "T1";
  }
  std::string Name(double base) {
    bool with_folder = true;
    return world.archives.DAMMIFILE(base, with_folder);
  }
  // The single box the program ended with.
  std::string EndingMessage(double base) {
    EXPECT_THROW(Name(base), ProgramEnd);
    EXPECT_EQ(world.boxes.shown.size(), 1u);
    return world.boxes.shown.empty() ? "" : world.boxes.shown.back().text;
  }
  ScratchInstallation world;
  vx::archive::ArchiveState& state = world.archives.state;
};

}  // namespace

TEST_F(ArchiveNames, PlaceholdersAreFilledAndConsumed) {
  state.DITTAOPEN = "12";
  state.ANNOOPEN = "2024";
  EXPECT_EQ(Name(8), "C:\\PVXPAGHE\\ARCHIVI\\A012T124.DAT");
  EXPECT_EQ(state.DITTAOPEN, "");
  EXPECT_EQ(state.ANNOOPEN, "");
  state.REGIONEOPEN = "3";
  state.PROVINCIAOPEN = "MI";
  EXPECT_EQ(Name(9), "C:\\PVXPAGHE\\ARCHIVI\\REG03MI.DAT");
  EXPECT_EQ(state.PROVINCIAOPEN, "");
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST_F(ArchiveNames, CompanyAndYearAreCutToTheirLastDigits) {
  state.DITTAOPEN = "1234";
  state.ANNOOPEN = "5";
  EXPECT_EQ(Name(8), "C:\\PVXPAGHE\\ARCHIVI\\A234T105.DAT");
}

TEST_F(ArchiveNames, PatternWithoutPlaceholdersNormalisesButKeepsThem) {
  state.DITTAOPEN = "7";
  state.ANNOOPEN = "2024";
  EXPECT_EQ(Name(1), "C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT");
  EXPECT_EQ(state.DITTAOPEN, "007");
  EXPECT_EQ(state.ANNOOPEN, "24");
  EXPECT_EQ(state.REGIONEOPEN, "00");
  EXPECT_EQ(state.LunghezzaRecord, 100);
}

TEST_F(ArchiveNames, ShortTerminalCodeReplacesOnlyItsOwnCharacters) {
  state.CodiceTerminale = "7";
  state.DITTAOPEN = "1";
  state.ANNOOPEN = "24";
  EXPECT_EQ(Name(8), "C:\\PVXPAGHE\\ARCHIVI\\A0017$24.DAT");
}

TEST_F(ArchiveNames, DriveLetterAOrBReplacesTheMarkAndDropsTheFolder) {
  state.DRIVEOPEN = "B";
  EXPECT_EQ(Name(10), "B:\\PAGHE\\X.DAT");
  EXPECT_EQ(state.DRIVEOPEN, "");
  EXPECT_EQ(Name(10), "\\PAGHE\\X.DAT");
  state.DRIVEOPEN = "D:";
  EXPECT_EQ(Name(10), "D:\\PAGHE\\X.DAT");
}

TEST_F(ArchiveNames, MissingCompanyEndsTheProgram) {
  EXPECT_EQ(EndingMessage(7), "ERRORE OPEN FILE - MANCA DITTAOPEN 7");
  EXPECT_EQ(world.boxes.shown.back().title, "VXOREL");
  EXPECT_EQ(world.boxes.shown.back().icon, vx::platform::Icon::None);
}

TEST_F(ArchiveNames, CompanySetOnceServesOneOpenOnly) {
  state.DITTAOPEN = "1";
  world.archives.FAIOPEN(7);
  EXPECT_EQ(EndingMessage(7), "ERRORE OPEN FILE - MANCA DITTAOPEN 7");
}

TEST_F(ArchiveNames, MissingYearEndsTheProgram) {
  EXPECT_EQ(EndingMessage(11), "ERRORE OPEN - MANCA ANNO - 11");
}

TEST_F(ArchiveNames, MissingRegionEndsTheProgram) {
  state.PROVINCIAOPEN = "MI";
  EXPECT_EQ(EndingMessage(9), "ERRORE OPEN - MANCA REGIONE - 9");
}

TEST_F(ArchiveNames, ProvinceMustBeTwoCharacters) {
  state.REGIONEOPEN = "3";
  state.PROVINCIAOPEN = "M";
  EXPECT_EQ(EndingMessage(9), "ERRORE OPEN - MANCA PROVINCIA - 9");
}

TEST_F(ArchiveNames, NumberBaseBelowOneHasNoName) {
  EXPECT_EQ(Name(0), "");
  EXPECT_EQ(world.archives.FAIOPEN(0), 0);
}

TEST_F(ArchiveNames, DamagedCatalogueEntryIsReportedNotOpened) {
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\SLBASE.DAT", std::string("001AB") + '\x01' + "C.DAT");
  EXPECT_THROW(Name(1), ProgramEnd);
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  EXPECT_EQ(world.boxes.shown[0].text.rfind("Errore 52 Bad file name or number\r\n", 0), 0u);
}

TEST_F(ArchiveNames, MissingCatalogueIsReportedAndNotCreated) {
  std::filesystem::remove(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\SLBASE.DAT"));
  EXPECT_THROW(Name(1), ProgramEnd);
  EXPECT_FALSE(std::filesystem::exists(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\SLBASE.DAT")));
}

TEST_F(ArchiveNames, VerbaseCountsOnlyFilesWithBytes) {
  EXPECT_EQ(world.archives.VERBASE(1), 0);
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT", "");
  EXPECT_EQ(world.archives.VERBASE(1), 0);
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT", "x");
  EXPECT_EQ(world.archives.VERBASE(1), 1);
}

TEST_F(ArchiveNames, EliminaDeletesOnlyAFileWithBytes) {
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT", "");
  world.archives.ELIMINA(1);
  EXPECT_TRUE(std::filesystem::exists(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT")));
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT", "x");
  world.archives.FAIOPEN(1);
  world.archives.ELIMINA(1);
  EXPECT_EQ(state.CanaleFile[1], 0);
  EXPECT_FALSE(std::filesystem::exists(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT")));
}

TEST_F(ArchiveNames, FaiopenCreatesAMissingArchiveEmptyWithABlankBuffer) {
  EXPECT_EQ(world.archives.FAIOPEN(1), 100);
  EXPECT_EQ(state.BufferRec[1], std::string(100, ' '));
  EXPECT_NE(state.CanaleFile[1], 0);
  EXPECT_EQ(std::filesystem::file_size(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT")), 0u);
  world.archives.CHIUDI(1);
  EXPECT_EQ(state.CanaleFile[1], 0);
}

TEST_F(ArchiveNames, FaiopenioWritingStartsFromAnEmptyFile) {
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT", "old content\r\n");
  world.archives.FAIOPENIO(1, 1);
  world.files.PrintLine(state.CanaleFile[1], "new");
  world.archives.CHIUDI(1);
  EXPECT_EQ(world.Read("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT"), "new\r\n");
  world.archives.FAIOPENIO(1, 0);
  EXPECT_EQ(world.files.LineInput(state.CanaleFile[1]), "new");
}

TEST_F(ArchiveNames, NumberBaseAboveSixHundredIsReported) {
  EXPECT_THROW(world.archives.FAIOPEN(601), ProgramEnd);
  EXPECT_EQ(world.boxes.shown.front().text.rfind("Errore 9 Subscript out of range\r\n", 0), 0u);
}

TEST_F(ArchiveNames, SemaphoreWaitsForItsHolder) {
  world.archives.SetSemaphorePause(std::chrono::milliseconds(5));
  vx::platform::Files other(world.files.Prefix());
  other.OpenBinary(1, "C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT", vx::platform::Access::ExclusiveLock);
  std::thread holder([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    other.Close(1);
  });
  const auto start = std::chrono::steady_clock::now();
  world.archives.APRISEMA();
  const auto waited = std::chrono::steady_clock::now() - start;
  holder.join();
  EXPECT_GE(waited, std::chrono::milliseconds(90));
  EXPECT_EQ(state.BufferSemaforo.size(), 2000u);
  EXPECT_NE(state.CanaleFile[16], 0);
  // While we hold it, nobody else may open it.
  EXPECT_EQ(world.archives.ESISTEFILE("C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT"), 0);
  world.archives.CHIUDISEMA();
  EXPECT_EQ(state.CanaleFile[16], 0);
  EXPECT_EQ(world.archives.ESISTEFILE("C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT"), -1);
  EXPECT_TRUE(world.boxes.shown.empty());
}
