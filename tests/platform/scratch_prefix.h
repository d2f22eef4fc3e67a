#pragma once
// A throw-away Wine prefix for one test: a fresh folder with drive_c and,
// unless asked otherwise, the dosdevices/c: link Wine makes.

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/wine_prefix.h"

namespace vx::platform::testing {

class ScratchPrefix {
 public:
  explicit ScratchPrefix(bool with_dosdevices = true) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vx-prefix-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    std::filesystem::create_directories(root_ / "drive_c");
    if (with_dosdevices) {
      std::filesystem::create_directories(root_ / "dosdevices");
      std::filesystem::create_directory_symlink("../drive_c", root_ / "dosdevices" / "c:");
    }
  }
  ~ScratchPrefix() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  ScratchPrefix(const ScratchPrefix&) = delete;
  ScratchPrefix& operator=(const ScratchPrefix&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path C() const { return root_ / "drive_c"; }
  WinePrefix Prefix() const { return WinePrefix(root_); }

  // Writes a file below the prefix root, creating its folders.
  void Write(const std::filesystem::path& relative, const std::string& bytes) const {
    std::filesystem::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary) << bytes;
  }
  std::string Read(const std::filesystem::path& relative) const { return ReadAbsolute(root_ / relative); }
  static std::string ReadAbsolute(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path root_;
};

}  // namespace vx::platform::testing
