#include <gtest/gtest.h>

#include "scratch_installation.h"

using vx::archive::PayrollArchives;
using vx::platform::ProgramEnd;
using vx::testing::ScratchInstallation;

namespace {

std::string UserReg(const std::string& archives, const std::string& programs) {
  return "WINE REGISTRY Version 2\n\n[Software\\\\Tarvenic\\\\Velmora] 1700000000\n"
         "\"PERCORSOARCHIVI\"=\"" + archives + "\"\n\"PERCORSOPROGRAMMI\"=\"" + programs +
         "\"\n\"NUMERO\"=dword:0001fffe\n";
}
const std::string kRegistry = UserReg("C:\\\\PVXPAGHE\\\\ARCHIVI", "C:\\\\PVXPAGHE\\\\PROGRAMMI");

// A complete installation: the holder's archive 395 (its VAT number followed
// by other data), the programs folder and the task file of a "VX" program.
void Furnish(ScratchInstallation& world) {
  world.archives.state.PERCORSOARCHIVI.clear();
  world.Catalogue({{395, {"SLINST.DAT", 60}}});
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\SLINST.DAT", "Paghe Rossi snc               01234567890EXTRA DATA         ");
  std::filesystem::create_directories(world.Linux("C:\\PVXPAGHE\\PROGRAMMI\\"));
  world.Write("C:\\VLXTASK\\VLXTASK.INI", "07 LAUNCHER DATA\r\nSECOND LINE\r\n");
}

void ExpectFullySet(const vx::archive::ArchiveState& state) {
  EXPECT_EQ(state.PERCORSOARCHIVI, "C:\\PVXPAGHE\\ARCHIVI");
  EXPECT_EQ(state.PERCORSOPROGRAMMI, "C:\\PVXPAGHE\\PROGRAMMI");
  EXPECT_EQ(state.RigaTask, "07 LAUNCHER DATA");
  EXPECT_EQ(state.CodiceTerminale, "07");
  EXPECT_EQ(state.RagioneSocialeInst, "PAGHE ROSSI SNC");
  EXPECT_EQ(state.PartitaIvaInst, "01234567890");
  EXPECT_EQ(state.CanaleFile[395], 0);
}

}  // namespace

TEST(Installation, RegistryGivesPathsTerminalAndHolderWithoutTouchingTheArchive) {
  ScratchInstallation world(kRegistry);
  Furnish(world);
  world.archives.bControlloInstallazione_REGISTRO();
  ExpectFullySet(world.archives.state);
  EXPECT_EQ(world.Read("C:\\PVXPAGHE\\ARCHIVI\\SLINST.DAT").size(), 60u);
  EXPECT_EQ(world.archives.LEGGIREGISTRO("SOFTWARE\\TARVENIC\\VELMORA", "NUMERO"), "-2");
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST(Installation, RegistryNamingMissingFoldersFallsBackToPathFilesSilently) {
  ScratchInstallation world(UserReg("C:\\\\NOWHERE", "C:\\\\PVXPAGHE\\\\PROGRAMMI"));
  Furnish(world);
  world.archives.bControlloInstallazione_REGISTRO();
  EXPECT_EQ(world.archives.state.PERCORSOARCHIVI, "");
  world.Write("C:\\PVXPAGHE\\SLPERARK.SLP", "  C:\\PVXPAGHE\\ARCHIVI  \r\nignored\r\n");
  world.Write("C:\\PVXPAGHE\\SLPERPRO.SLP", "C:\\PVXPAGHE\\PROGRAMMI\r\n");
  world.archives.CARICAINST();
  ExpectFullySet(world.archives.state);
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST(Installation, ArchivesFromRegistryWithoutProgramsSkipTheRest) {
  ScratchInstallation world(UserReg("C:\\\\PVXPAGHE\\\\ARCHIVI", ""));
  Furnish(world);
  world.archives.bControlloInstallazione_REGISTRO();
  EXPECT_EQ(world.archives.state.PERCORSOARCHIVI, "C:\\PVXPAGHE\\ARCHIVI");
  EXPECT_EQ(world.archives.state.CodiceTerminale + world.archives.state.RagioneSocialeInst, "");
}

TEST(Installation, MissingOrBlankPathFileIsAConfigurationError) {
  const std::string good = "C:\\PVXPAGHE\\ARCHIVI\r\n";
  const std::pair<const char*, const char*> cases[] = {
      {nullptr, good.c_str()}, {good.c_str(), nullptr}, {"     \r\n", good.c_str()}, {good.c_str(), ""}};
  for (const auto& [archives, programs] : cases) {
    ScratchInstallation world;
    Furnish(world);
    if (archives) world.Write("C:\\PVXPAGHE\\SLPERARK.SLP", archives);
    if (programs) world.Write("C:\\PVXPAGHE\\SLPERPRO.SLP", programs);
    EXPECT_THROW(world.archives.CARICAINST(), ProgramEnd);
    ASSERT_EQ(world.boxes.shown.size(), 1u);
    const auto& box = world.boxes.shown[0];
    EXPECT_EQ(box.title + "|" + box.text,
              "Velmora|ERRORE DI CONFIGURAZIONE! CONTROLLARE I PERCORSI DI Velmora CON IL PROGRAMMA OLVENTRA");
    EXPECT_EQ(box.icon, vx::platform::Icon::Critical);
  }
}

TEST(Installation, AnotherInstanceSaysSoAndEndsWithItsOwnStatusAndAnUnreadableTaskFileIsReported) {
  ScratchInstallation world(kRegistry);
  Furnish(world);
  world.archives.SetInstanceCheck([] { return true; });
  for (auto start : {&PayrollArchives::bControlloInstallazione_REGISTRO, &PayrollArchives::CARICAINST}) {
    try {
      (world.archives.*start)();
      ADD_FAILURE() << "a second instance went on";
    } catch (const ProgramEnd& end) {
      EXPECT_EQ(end.status, 3);
    }
  }
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  EXPECT_EQ(world.boxes.shown[1].text, "VXOREL \xE8 gi\xE0 in esecuzione per questo utente su questa installazione");
  world.boxes.shown.clear();
  world.archives.SetInstanceCheck([] { return false; });
  std::filesystem::remove(world.Linux("C:\\VLXTASK\\VLXTASK.INI"));
  EXPECT_THROW(world.archives.bControlloInstallazione_REGISTRO(), ProgramEnd);
  const std::string& stop = world.boxes.shown.at(0).text;
  EXPECT_NE(stop.find("CARICAINST\r\nFile: C:\\VLXTASK\\VLXTASK.INI\r\n"), std::string::npos) << stop;
}

TEST(Installation, TaskFileIsChosenByTheUpperCasedProgramPrefix) {
  ScratchInstallation world;
  world.archives.state.NomeProgramma = "vxorel";
  EXPECT_EQ(world.archives.TaskFileName(), "C:\\VLXTASK\\VLXTASK.INI");
  world.archives.state.NomeProgramma = "PAGHE";
  EXPECT_EQ(world.archives.TaskFileName(), "C:\\PVXPAGHE\\SLCOMUNE.SLP");
}

TEST(Installation, ExitHandsTheTerminalBackOnAHundredCharacterLine) {
  ScratchInstallation world;
  Furnish(world);
  world.archives.state.CodiceTerminale = "7";
  world.archives.state.PERCORSOARCHIVI = "C:\\PVXPAGHE\\ARCHIVI";
  world.archives.FAIOPEN(395);
  try {
    world.archives.CHIUDIPROGRAMMA();
    FAIL() << "the program went on";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(end.status, 0);
  }
  EXPECT_EQ(world.Read("C:\\VLXTASK\\VLXTASK.INI"), "7" + std::string(99, ' ') + "\r\n");
  EXPECT_EQ(world.archives.state.CanaleFile[395], 0);
  std::filesystem::remove(world.Linux("C:\\VLXTASK\\VLXTASK.INI"));
  EXPECT_THROW(world.archives.CHIUDIPROGRAMMA(), ProgramEnd);
  EXPECT_FALSE(std::filesystem::exists(world.Linux("C:\\VLXTASK\\VLXTASK.INI")));
}
