#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "scratch_installation.h"

using vx::platform::ProgramEnd;

namespace {

class ArchiveFiles : public ::testing::Test {
 protected:
  ArchiveFiles() {
    world.Catalogue({{1, {"DITTE.DAT", 100}}, {7, {"IND###.DAT", 1280}}, {8, {"A###$$**.DAT", 10}},
                     {9, {"REG@@%%.DAT", 10}}, {10, {"!:\\PAGHE\\X.DAT", 10}}});
    state.CodiceTerminale = "T1";
  }
  std::string Name(double base) {
    bool with_folder = true;
    return world.archives.DAMMIFILE(base, with_folder);
  }
  // The text of the one box the program ended with.
  std::string Ending(double base) {
    world.boxes.shown.clear();
    EXPECT_THROW(Name(base), ProgramEnd);
    return world.boxes.shown.size() == 1 ? world.boxes.shown[0].text : "(not one box)";
  }
  vx::testing::ScratchInstallation world;
  vx::archive::ArchiveState& state = world.archives.state;
};

}  // namespace

TEST_F(ArchiveFiles, PlaceholdersAreNormalisedFilledAndConsumed) {
  state.DITTAOPEN = "1234";
  state.ANNOOPEN = "5";
  EXPECT_EQ(Name(8), "C:\\PVXPAGHE\\ARCHIVI\\A234T105.DAT");
  EXPECT_EQ(state.DITTAOPEN + state.ANNOOPEN, "");
  state.REGIONEOPEN = "3";
  state.PROVINCIAOPEN = "MI";
  EXPECT_EQ(Name(9), "C:\\PVXPAGHE\\ARCHIVI\\REG03MI.DAT");
  // A pattern without placeholders normalises them but leaves them set.
  state.DITTAOPEN = "7";
  EXPECT_EQ(Name(1), "C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT");
  EXPECT_EQ(state.DITTAOPEN + state.ANNOOPEN, "00700");
  EXPECT_EQ(state.LunghezzaRecord, 100);
  // A one-character terminal code replaces one character.
  state.CodiceTerminale = "7";
  state.ANNOOPEN = "24";
  EXPECT_EQ(Name(8), "C:\\PVXPAGHE\\ARCHIVI\\A0077$24.DAT");
}

TEST_F(ArchiveFiles, DriveMarkTakesLetterAOrBElseTheDriveTextAndDropsTheFolder) {
  state.DRIVEOPEN = "B";
  EXPECT_EQ(Name(10), "B:\\PAGHE\\X.DAT");
  EXPECT_EQ(Name(10), "\\PAGHE\\X.DAT");
  state.DRIVEOPEN = "D:";
  EXPECT_EQ(Name(10), "D:\\PAGHE\\X.DAT");
}

TEST_F(ArchiveFiles, MissingCompanyYearRegionOrProvinceEndsTheProgram) {
  EXPECT_EQ(Ending(7), "ERRORE OPEN FILE - MANCA DITTAOPEN 7");
  EXPECT_EQ(world.boxes.shown[0].title, "VXOREL");
  state.DITTAOPEN = "1";
  EXPECT_EQ(Ending(8), "ERRORE OPEN - MANCA ANNO - 8");
  state.PROVINCIAOPEN = "MI";
  EXPECT_EQ(Ending(9), "ERRORE OPEN - MANCA REGIONE - 9");
  state.REGIONEOPEN = "3";
  state.PROVINCIAOPEN = "M";
  EXPECT_EQ(Ending(9), "ERRORE OPEN - MANCA PROVINCIA - 9");
  // A company set once serves one open only.
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\IND001.DAT", "");
  state.DITTAOPEN = "1";
  world.archives.FAIOPEN(7);
  EXPECT_EQ(Ending(7), "ERRORE OPEN FILE - MANCA DITTAOPEN 7");
}

TEST_F(ArchiveFiles, DamagedOrMissingCatalogueIsReportedAndNeverCreated) {
  const std::string catalogue = "File: C:\\PVXPAGHE\\ARCHIVI\\SLBASE.DAT\r\nOperazione: ";
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\SLBASE.DAT", std::string("001AB\x01" "C.DAT"));
  EXPECT_THROW(Name(1), ProgramEnd);
  EXPECT_EQ(world.boxes.shown.at(0).text.rfind("Errore 52 Bad file name or number\r\n", 0), 0u);
  EXPECT_TRUE(world.boxes.shown.at(0).text.ends_with(catalogue + "ricerca del file dell'archivio 1 nel catalogo\r\n"))
      << world.boxes.shown.at(0).text;
  // Cut short, it has no name for the archives past its end.
  world.boxes.shown.clear();
  EXPECT_THROW(world.archives.FAIOPEN(2), ProgramEnd);
  EXPECT_TRUE(world.boxes.shown.at(0).text.ends_with(
      catalogue + "apertura dell'archivio 2: il catalogo non ha il nome del suo file\r\n"))
      << world.boxes.shown.at(0).text;
  std::filesystem::remove(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\SLBASE.DAT"));
  EXPECT_THROW(Name(1), ProgramEnd);
  EXPECT_FALSE(std::filesystem::exists(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\SLBASE.DAT")));
}

TEST_F(ArchiveFiles, MissingArchivesAreNeverCreated) {
  // A required archive: the error names the file and the work after the
  // trace, whose last entries are the open and its resolution.
  EXPECT_THROW(world.archives.FAIOPEN(1), ProgramEnd);
  EXPECT_TRUE(world.boxes.shown.at(0).text.ends_with(
      "\r\nFAIOPEN\r\nDAMMIFILE$ (1)\r\nFile: C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT\r\nOperazione: apertura dell'archivio 1\r\n"))
      << world.boxes.shown.at(0).text;
  // One that may be missing is noted once and reads as absent; the trace
  // holds the same pair, resolved once.
  state.DITTAOPEN = "1";
  EXPECT_FALSE(world.archives.OpenIfPresent(7));
  EXPECT_TRUE(vx::archive::TraceListing(state.UltimeProcedure, state.IndiceTraccia)
                  .ends_with("\r\nFAIOPEN\r\nDAMMIFILE$ (1)\r\nFAIOPEN\r\nDAMMIFILE$ (7)\r\n"));
  state.DITTAOPEN = "1";
  EXPECT_FALSE(world.archives.OpenIfPresent(7));
  ASSERT_EQ(state.Rilievi.size(), 1u);
  EXPECT_EQ(state.Rilievi[0].path, "C:\\PVXPAGHE\\ARCHIVI\\IND001.DAT");
  EXPECT_FALSE(state.Rilievi[0].damage);
  EXPECT_FALSE(std::filesystem::exists(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT")));
  EXPECT_FALSE(std::filesystem::exists(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\IND001.DAT")));
  // Present, it opens with a blank buffer, its placeholders used once.
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\IND001.DAT", std::string(1281, 'x'));
  state.DITTAOPEN = "1";
  EXPECT_TRUE(world.archives.OpenIfPresent(7));
  EXPECT_EQ(state.BufferRec[7], std::string(1280, ' '));
  EXPECT_FALSE(world.archives.WholeRecords(7));
  EXPECT_EQ(world.archives.FAIOPEN(0), 0);
  world.boxes.shown.clear();
  EXPECT_THROW(world.archives.FAIOPEN(601), ProgramEnd);
  EXPECT_EQ(world.boxes.shown.at(0).text.rfind("Errore 9 Subscript out of range\r\n", 0), 0u);
}

TEST_F(ArchiveFiles, OnlyFilesWithBytesCountAsPresentOrGetDeleted) {
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT", "");
  EXPECT_EQ(world.archives.VERBASE(1), 0);
  world.archives.ELIMINA(1);
  EXPECT_TRUE(std::filesystem::exists(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT")));
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT", "x");
  EXPECT_EQ(world.archives.VERBASE(1), 1);
  world.archives.FAIOPEN(1);
  world.archives.ELIMINA(1);
  EXPECT_EQ(state.CanaleFile[1], 0);
  EXPECT_FALSE(std::filesystem::exists(world.Linux("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT")));
}

TEST_F(ArchiveFiles, TextOpenForWritingStartsFromAnEmptyFile) {
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\DITTE.DAT", "old content\r\n");
  world.archives.FAIOPENIO(1, 1);
  world.files.PrintLine(state.CanaleFile[1], "new");
  world.archives.FAIOPENIO(1, 0);
  EXPECT_EQ(world.files.LineInput(state.CanaleFile[1]), "new");
  EXPECT_EQ(world.files.Eof(state.CanaleFile[1]), true);
}

TEST_F(ArchiveFiles, SemaphoreWaitsForItsHolderSaysSoOnceAndLocksOthersOut) {
  vx::archive::SemaphoreWait wait;
  wait.pause = std::chrono::milliseconds(5);
  wait.notice_after = std::chrono::milliseconds(30);
  std::vector<std::string> said;
  // The holder lets go only once the run has said it waits, however slowly
  // a loaded machine runs either thread.
  std::promise<void> notice_said;
  wait.waiting = [&](const std::string& path) {
    said.push_back(path);
    notice_said.set_value();
  };
  wait.taken = [&] { said.push_back("taken"); };
  world.archives.SetSemaphoreWait(wait);
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT", std::string(2000, ' '));
  // One search has come and gone: the file stays open here, and another
  // program takes the semaphore before the next search.
  world.archives.APRISEMA();
  world.archives.CHIUDISEMA();
  EXPECT_TRUE(said.empty());
  vx::platform::Files other(world.files.Prefix());
  other.OpenBinary(1, "C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT", vx::platform::Access::ExclusiveLock);
  std::thread holder([&] {
    notice_said.get_future().wait();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    other.Close(1);
  });
  const auto start = std::chrono::steady_clock::now();
  world.archives.APRISEMA();
  const auto waited = std::chrono::steady_clock::now() - start;
  holder.join();
  EXPECT_GE(waited, std::chrono::milliseconds(90));  // the notice after 30, then the holder's 60
  EXPECT_EQ(said, (std::vector<std::string>{"C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT", "taken"}));
  EXPECT_EQ(state.BufferSemaforo.size(), 2000u);
  EXPECT_EQ(world.archives.ESISTEFILE("C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT"), 0);
  world.archives.CHIUDISEMA();
  EXPECT_EQ(world.archives.ESISTEFILE("C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT"), -1);
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST_F(ArchiveFiles, SemaphoreWaitIsGivenUpWhenTheTimeRunsOutOrTheOperatorCancels) {
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT", std::string(2000, ' '));
  vx::platform::Files other(world.files.Prefix());
  other.OpenBinary(1, "C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT", vx::platform::Access::ExclusiveLock);
  vx::archive::SemaphoreWait wait;
  wait.pause = std::chrono::milliseconds(5);
  wait.give_up_after = std::chrono::milliseconds(40);
  world.archives.SetSemaphoreWait(wait);
  try {
    world.archives.APRISEMA();
    ADD_FAILURE() << "the semaphore was taken while another holder had it";
  } catch (const vx::archive::SemaphoreNotTaken& e) {
    EXPECT_FALSE(e.cancelled);
    EXPECT_GE(e.waited, std::chrono::milliseconds(40));
    EXPECT_EQ(e.path, "C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT");
  }
  int asked = 0;
  wait.give_up_after.reset();
  wait.keep_waiting = [&] { return ++asked < 3; };
  world.archives.SetSemaphoreWait(wait);
  try {
    world.archives.APRISEMA();
    ADD_FAILURE() << "the semaphore was taken while another holder had it";
  } catch (const vx::archive::SemaphoreNotTaken& e) {
    EXPECT_TRUE(e.cancelled);
    EXPECT_EQ(asked, 3);
  }
  EXPECT_EQ(state.CanaleFile[vx::archive::kSemaphoreBase], 0);
  EXPECT_TRUE(world.boxes.shown.empty());
}
