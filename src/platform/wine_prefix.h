#pragma once
// The Windows environment the payroll product sees, read from a Wine prefix:
// drive letters, the file system below them, and the user's registry file.

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vx::platform {

class WinePrefix {
 public:
  explicit WinePrefix(std::filesystem::path root);

  // $WINEPREFIX, or $HOME/.wine when it is not set.
  static WinePrefix FromEnvironment();

  const std::filesystem::path& Root() const { return root_; }

  // The Linux path of a Windows path. "X:\A\B" is the folder of drive X
  // (dosdevices/x:, and for C: drive_c when dosdevices has no entry) plus A/B;
  // a path without a drive letter is relative to the current folder. Every
  // component that exists is found case-insensitively, as Wine does; one that
  // does not exist keeps the case given, so new files get the program's name.
  // A drive that does not exist gives run-time error 76 (path not found).
  //
  // A path with a drive letter whose every component was found is kept, so
  // that a run looks each of its files up once. A caller that finds nothing
  // where a kept path points calls Forget and maps the path again: a file
  // the payroll product deleted and made anew, perhaps in another case, is
  // then found where it is now. Each copy of a prefix keeps its own paths.
  std::filesystem::path Map(std::string_view windows_path) const;

  // Drops what Map kept for the path and the folders above it; false when
  // it kept nothing for the path itself.
  bool Forget(std::string_view windows_path) const;

  // The Linux path a new file of that Windows path gets: its folders found
  // as Map finds them, its own name kept exactly as given, whatever the
  // case of a file already there.
  std::filesystem::path MapOwnName(std::string_view windows_path) const;

  // The folder a drive letter stands for, or an empty path when the prefix
  // has no such drive.
  std::filesystem::path DriveFolder(char letter) const;

  // $WINEPREFIX/user.reg, the HKEY_CURRENT_USER hive.
  std::filesystem::path UserRegistryFile() const { return root_ / "user.reg"; }

 private:
  std::filesystem::path root_;
  // Windows path, as the program spells it -> Linux path, for paths found whole.
  mutable std::unordered_map<std::string, std::filesystem::path> found_;
};

}  // namespace vx::platform
