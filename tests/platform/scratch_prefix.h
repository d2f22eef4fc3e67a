#pragma once
// A throw-away Wine prefix for one test: a fresh folder with drive_c and,
// unless asked otherwise, the dosdevices/c: link Wine makes.

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/wine_prefix.h"
#include "support/folder_snapshot.h"
#include "support/temp_folder.h"

namespace vx::platform::testing {

class ScratchPrefix {
 public:
  explicit ScratchPrefix(bool with_dosdevices = true) {
    std::filesystem::create_directories(C());
    if (with_dosdevices) {
      std::filesystem::create_directories(root_ / "dosdevices");
      std::filesystem::create_directory_symlink("../drive_c", root_ / "dosdevices" / "c:");
    }
  }

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path C() const { return root_ / "drive_c"; }
  WinePrefix Prefix() const { return WinePrefix(root_); }

  // Writes a file below the prefix root, creating its folders.
  void Write(const std::filesystem::path& relative, const std::string& bytes) const {
    std::filesystem::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary) << bytes;
  }
  std::string Read(const std::filesystem::path& relative) const { return ReadAbsolute(root_ / relative); }
  static std::string ReadAbsolute(const std::filesystem::path& path) { return vx::testing::ReadWholeFile(path); }

 private:
  vx::testing::TempFolder folder_;
  const std::filesystem::path& root_ = folder_.Path();
};

}  // namespace vx::platform::testing
