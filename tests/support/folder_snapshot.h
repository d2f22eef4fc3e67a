#pragma once
// Every file under a folder with its bytes, to show that a run changed
// nothing: compare a snapshot taken before with one taken after.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace vx::testing {

using FolderSnapshot = std::map<std::string, std::string>;  // relative path -> bytes

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline FolderSnapshot SnapshotFolder(const std::filesystem::path& folder) {
  FolderSnapshot snapshot;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && !entry.is_symlink()) {
      snapshot[std::filesystem::relative(entry.path(), folder).generic_string()] = ReadWholeFile(entry.path());
    }
  }
  return snapshot;
}

}  // namespace vx::testing
