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

TEST(WinePrefixMap, FindsExistingComponentsWhateverTheirCase) {
  ScratchPrefix s;
  s.Write("drive_c/pvxpaghe/Archivi/slbase.dat", "x");
  WinePrefix prefix = s.Prefix();
  EXPECT_EQ(prefix.Map("C:\\PVXPAGHE\\ARCHIVI\\SLBASE.DAT"),
            s.Root() / "dosdevices" / "c:" / "pvxpaghe" / "Archivi" / "slbase.dat");
  EXPECT_EQ(prefix.Map("c:/PvxPaghe/archivi/SlBase.Dat"),
            s.Root() / "dosdevices" / "c:" / "pvxpaghe" / "Archivi" / "slbase.dat");
}

TEST(WinePrefixMap, MissingComponentsKeepTheCaseGiven) {
  ScratchPrefix s;
  s.Write("drive_c/pvxpaghe/keep", "");
  WinePrefix prefix = s.Prefix();
  // The existing folder is found; the new folder and file keep the program's spelling.
  EXPECT_EQ(prefix.Map("C:\\PVXPAGHE\\FILE-PDF\\001\\BONI001B1.TXT"),
            s.Root() / "dosdevices" / "c:" / "pvxpaghe" / "FILE-PDF" / "001" / "BONI001B1.TXT");
}

TEST(WinePrefixMap, AccentedNamesAreUtf8OnDiskAndMatchCaseInsensitively) {
  ScratchPrefix s;
  s.Write("drive_c/Società/città.txt", "x");
  // The program's text is cp1252: "SOCIETÀ\CITTÀ.TXT".
  EXPECT_EQ(s.Prefix().Map("C:\\SOCIET\xC0\\CITT\xC0.TXT"),
            s.Root() / "dosdevices" / "c:" / "Società" / "città.txt");
}

TEST(WinePrefixMap, DrivesComeFromDosdevicesLinks) {
  ScratchPrefix s;
  fs::create_directories(s.Root() / "elsewhere" / "Dati");
  fs::create_directory_symlink("../elsewhere", s.Root() / "dosdevices" / "d:");
  EXPECT_EQ(s.Prefix().Map("D:\\DATI\\x"), s.Root() / "dosdevices" / "d:" / "Dati" / "x");
  EXPECT_EQ(s.Prefix().DriveFolder('d'), s.Root() / "dosdevices" / "d:");
}

TEST(WinePrefixMap, CFallsBackToDriveCWithoutDosdevices) {
  ScratchPrefix s(/*with_dosdevices=*/false);
  EXPECT_EQ(s.Prefix().Map("C:\\A"), s.Root() / "drive_c" / "A");
}

TEST(WinePrefixMap, MissingDriveIsPathNotFound) {
  ScratchPrefix s;
  WinePrefix prefix = s.Prefix();
  EXPECT_EQ(ErrorOf([&] { prefix.Map("Q:\\ARCHIVI\\SLBASE.DAT"); }), 76);
  // A dangling dosdevices link is no drive either.
  fs::create_directory_symlink("../gone", s.Root() / "dosdevices" / "e:");
  EXPECT_EQ(ErrorOf([&] { prefix.Map("E:\\X"); }), 76);
  EXPECT_EQ(ErrorOf([&] { prefix.Map("\\\\server\\share\\x"); }), 76);
}

TEST(WinePrefixMap, PathWithoutDriveIsRelativeToTheCurrentFolder) {
  ScratchPrefix s;
  s.Write("work/Uscita/a.txt", "");
  fs::path old = fs::current_path();
  fs::current_path(s.Root() / "work");
  fs::path mapped = s.Prefix().Map("USCITA\\A.TXT");
  fs::path up = s.Prefix().Map("..\\drive_c");
  fs::current_path(old);
  EXPECT_EQ(mapped, s.Root() / "work" / "Uscita" / "a.txt");
  EXPECT_EQ(up, s.Root() / "drive_c");
}

TEST(WinePrefixMap, DotDotNeverLeavesTheDrive) {
  ScratchPrefix s;
  EXPECT_EQ(s.Prefix().Map("C:\\..\\..\\X"), s.Root() / "dosdevices" / "c:" / "X");
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
