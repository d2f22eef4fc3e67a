#pragma once
// A fresh folder under the system's temporary directory, removed with
// everything in it when the test ends.

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace vx::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device device;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("vxorel-test-" + std::to_string(device()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace vx::testing
