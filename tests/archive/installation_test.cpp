#include <gtest/gtest.h>

#include "platform/errors.h"
#include "scratch_installation.h"

using vx::platform::ProgramEnd;
using vx::testing::ScratchInstallation;

namespace {

std::string UserReg(const std::string& values) {
  return "WINE REGISTRY Version 2\n\n[Software\\\\Tarvenic\\\\Velmora] 1700000000\n" + values;
}

const std::string kBothPaths = UserReg(
    "\"PERCORSOARCHIVI\"=\"C:\\\\PVXPAGHE\\\\ARCHIVI\"\n"
    "\"PERCORSOPROGRAMMI\"=\"C:\\\\PVXPAGHE\\\\PROGRAMMI\"\n");

// A complete installation: catalogue with the holder's archive 395, the
// programs folder and the task file of a "VX" program.
void Furnish(ScratchInstallation& world) {
  world.archives.state.PERCORSOARCHIVI.clear();
  world.Catalogue({{395, {"SLINST.DAT", 60}}});
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\SLINST.DAT",
              "Paghe Rossi snc               01234567890EXTRA DATA         ");
  std::filesystem::create_directories(world.Linux("C:\\PVXPAGHE\\PROGRAMMI\\"));
  world.Write("C:\\VLXTASK\\VLXTASK.INI", "07 LAUNCHER DATA\r\nSECOND LINE\r\n");
}

void PathFiles(ScratchInstallation& world, const std::string& archives, const std::string& programs) {
  world.Write("C:\\PVXPAGHE\\SLPERARK.SLP", archives);
  world.Write("C:\\PVXPAGHE\\SLPERPRO.SLP", programs);
}

}  // namespace

TEST(Installation, RegistryGivesPathsTerminalAndHolder) {
  ScratchInstallation world(kBothPaths);
  Furnish(world);
  const std::string holder_before = world.Read("C:\\PVXPAGHE\\ARCHIVI\\SLINST.DAT");
  auto& state = world.archives.state;
  world.archives.bControlloInstallazione_REGISTRO();
  EXPECT_EQ(state.PERCORSOARCHIVI, "C:\\PVXPAGHE\\ARCHIVI");
  EXPECT_EQ(state.PERCORSOPROGRAMMI, "C:\\PVXPAGHE\\PROGRAMMI");
  EXPECT_EQ(state.RigaTask, "07 LAUNCHER DATA");
  EXPECT_EQ(state.CodiceTerminale, "07");
  EXPECT_EQ(state.RagioneSocialeInst, "PAGHE ROSSI SNC");
  EXPECT_EQ(state.PartitaIvaInst, "01234567890");
  EXPECT_EQ(state.CanaleFile[395], 0);
  EXPECT_EQ(world.Read("C:\\PVXPAGHE\\ARCHIVI\\SLINST.DAT"), holder_before);
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST(Installation, RegistryNamingMissingFoldersFallsBackToPathFilesSilently) {
  ScratchInstallation world(UserReg("\"PERCORSOARCHIVI\"=\"C:\\\\NOWHERE\"\n"
                                    "\"PERCORSOPROGRAMMI\"=\"C:\\\\PVXPAGHE\\\\PROGRAMMI\"\n"));
  Furnish(world);
  world.archives.bControlloInstallazione_REGISTRO();
  EXPECT_EQ(world.archives.state.PERCORSOARCHIVI, "");
  PathFiles(world, "  C:\\PVXPAGHE\\ARCHIVI  \r\nignored\r\n", "C:\\PVXPAGHE\\PROGRAMMI\r\n");
  world.archives.CARICAINST();
  EXPECT_EQ(world.archives.state.PERCORSOARCHIVI, "C:\\PVXPAGHE\\ARCHIVI");
  EXPECT_EQ(world.archives.state.CodiceTerminale, "07");
  EXPECT_EQ(world.archives.state.PartitaIvaInst, "01234567890");
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST(Installation, ArchivesFromRegistryWithoutProgramsSkipTheRest) {
  ScratchInstallation world(UserReg("\"PERCORSOARCHIVI\"=\"C:\\\\PVXPAGHE\\\\ARCHIVI\"\n"
                                    "\"PERCORSOPROGRAMMI\"=\"\"\n"));
  Furnish(world);
  world.archives.bControlloInstallazione_REGISTRO();
  EXPECT_EQ(world.archives.state.PERCORSOARCHIVI, "C:\\PVXPAGHE\\ARCHIVI");
  EXPECT_EQ(world.archives.state.CodiceTerminale, "");
  EXPECT_EQ(world.archives.state.RagioneSocialeInst, "");
}

TEST(Installation, RegistryWordValueReadsAsItsLowSixteenBitsSigned) {
  ScratchInstallation world(UserReg("\"NUMERO\"=dword:0001fffe\n"));
  EXPECT_EQ(world.archives.LEGGIREGISTRO("SOFTWARE\\TARVENIC\\VELMORA", "NUMERO"), "-2");
  EXPECT_EQ(world.archives.LEGGIREGISTRO("SOFTWARE\\TARVENIC\\VELMORA", "MISSING"), "");
  EXPECT_EQ(world.archives.LEGGIREGISTRO("SOFTWARE\\NOBODY", "NUMERO"), "");
}

TEST(Installation, MissingOrBlankPathFileIsAConfigurationError) {
  auto ending = [](const std::string* archives, const std::string* programs) {
    ScratchInstallation world;
    Furnish(world);
    if (archives) world.Write("C:\\PVXPAGHE\\SLPERARK.SLP", *archives);
    if (programs) world.Write("C:\\PVXPAGHE\\SLPERPRO.SLP", *programs);
    EXPECT_THROW(world.archives.CARICAINST(), ProgramEnd);
    return world.boxes.shown.size() == 1 ? world.boxes.shown[0] : vx::platform::MessageBox{};
  };
  const std::string good = "C:\\PVXPAGHE\\ARCHIVI\r\n";
  const std::string blank = "     \r\n";
  const std::string empty;
  for (const auto& box : {ending(nullptr, &good), ending(&good, nullptr), ending(&blank, &good),
                          ending(&good, &empty)}) {
    EXPECT_EQ(box.title, "Velmora");
    EXPECT_EQ(box.text,
              "ERRORE DI CONFIGURAZIONE! CONTROLLARE I PERCORSI DI Velmora CON IL PROGRAMMA OLVENTRA");
    EXPECT_EQ(box.icon, vx::platform::Icon::Critical);
  }
}

TEST(Installation, AnotherRunningInstanceEndsSilently) {
  ScratchInstallation world(kBothPaths);
  Furnish(world);
  world.archives.SetInstanceCheck([] { return true; });
  EXPECT_THROW(world.archives.bControlloInstallazione_REGISTRO(), ProgramEnd);
  EXPECT_THROW(world.archives.CARICAINST(), ProgramEnd);
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST(Installation, UnreadableTaskFileIsReported) {
  ScratchInstallation world(kBothPaths);
  Furnish(world);
  std::filesystem::remove(world.Linux("C:\\VLXTASK\\VLXTASK.INI"));
  EXPECT_THROW(world.archives.bControlloInstallazione_REGISTRO(), ProgramEnd);
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  EXPECT_NE(world.boxes.shown[0].text.find("CARICAINST\r\n"), std::string::npos);
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
  EXPECT_FALSE(world.files.IsOpen(1));
}

TEST(Installation, ExitWithoutATaskFileCreatesNone) {
  ScratchInstallation world;
  EXPECT_THROW(world.archives.CHIUDIPROGRAMMA(), ProgramEnd);
  EXPECT_FALSE(std::filesystem::exists(world.Linux("C:\\VLXTASK\\VLXTASK.INI")));
}
