#include "platform/wine_prefix.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>

#include "platform/errors.h"
#include "platform/scratch_prefix.h"

namespace vx::platform {
namespace {

using testing::ScratchPrefix;
namespace fs = std::filesystem;

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number;
  }
  return 0;
}

// Existing components are found whatever their case, accented ones as
// UTF-8 on disk; missing ones keep the program's spelling; ".." stops at
// the drive; a path without a drive is relative to the current folder.
TEST(WinePrefixMap, FindsExistingComponentsWhateverTheirCaseAndKeepsTheSpellingOfNewOnes) {
  ScratchPrefix s;
  s.Write("drive_c/pvxpaghe/Archivi/slbase.dat", "x");
  s.Write("drive_c/Società/città.txt", "x");
  s.Write("work/Uscita/a.txt", "");
  WinePrefix prefix = s.Prefix();
  const fs::path c = s.Root() / "dosdevices" / "c:";
  EXPECT_EQ(prefix.Map("C:\\PVXPAGHE\\ARCHIVI\\SLBASE.DAT"), c / "pvxpaghe" / "Archivi" / "slbase.dat");
  EXPECT_EQ(prefix.Map("c:/PvxPaghe/archivi/SlBase.Dat"), c / "pvxpaghe" / "Archivi" / "slbase.dat");
  EXPECT_EQ(prefix.Map("C:\\PVXPAGHE\\FILE-PDF\\001\\BONI001B1.TXT"),
            c / "pvxpaghe" / "FILE-PDF" / "001" / "BONI001B1.TXT");
  EXPECT_EQ(prefix.Map("C:\\SOCIET\xC0\\CITT\xC0.TXT"), c / "Società" / "città.txt");  // cp1252 text
  EXPECT_EQ(prefix.Map("C:\\..\\..\\X"), c / "X");
  fs::path old = fs::current_path();
  fs::current_path(s.Root() / "work");
  fs::path mapped = prefix.Map("USCITA\\A.TXT");
  fs::path up = prefix.Map("..\\drive_c");
  fs::current_path(old);
  EXPECT_EQ(mapped, s.Root() / "work" / "Uscita" / "a.txt");
  EXPECT_EQ(up, s.Root() / "drive_c");
}

// Drives come from the dosdevices links (C: falls back to drive_c without
// them); a missing drive, a dangling link or a UNC path is path not found.
TEST(WinePrefixMap, DrivesComeFromDosdevicesLinks) {
  ScratchPrefix s;
  fs::create_directories(s.Root() / "elsewhere" / "Dati");
  fs::create_directory_symlink("../elsewhere", s.Root() / "dosdevices" / "d:");
  fs::create_directory_symlink("../gone", s.Root() / "dosdevices" / "e:");
  WinePrefix prefix = s.Prefix();
  EXPECT_EQ(prefix.Map("D:\\DATI\\x"), s.Root() / "dosdevices" / "d:" / "Dati" / "x");
  EXPECT_EQ(prefix.DriveFolder('d'), s.Root() / "dosdevices" / "d:");
  for (const char* path : {"Q:\\ARCHIVI\\SLBASE.DAT", "E:\\X", "\\\\server\\share\\x"})
    EXPECT_EQ(ErrorOf([&] { prefix.Map(path); }), 76) << path;
  ScratchPrefix bare(/*with_dosdevices=*/false);
  EXPECT_EQ(bare.Prefix().Map("C:\\A"), bare.Root() / "drive_c" / "A");
}

TEST(WinePrefixEnvironment, PrefixComesFromWineprefixElseHome) {
  const char* old_prefix = std::getenv("WINEPREFIX");
  std::string saved = old_prefix != nullptr ? old_prefix : "";
  ::setenv("WINEPREFIX", "/some/prefix", 1);
  EXPECT_EQ(WinePrefix::FromEnvironment().Root(), fs::path("/some/prefix"));
  ::unsetenv("WINEPREFIX");
  const char* home = std::getenv("HOME");
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(WinePrefix::FromEnvironment().Root(), fs::path(home) / ".wine");
  if (old_prefix != nullptr) ::setenv("WINEPREFIX", saved.c_str(), 1);
}

}  // namespace
}  // namespace vx::platform
