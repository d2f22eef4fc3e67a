#pragma once
// A payroll installation in a temporary Wine prefix, with the archive layer
// over it: the archives folder C:\PVXPAGHE\ARCHIVI, a catalogue written from
// the entries a test gives, scripted message boxes and no other instance.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "archive/payroll_archives.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/wine_prefix.h"
#include "support/temp_folder.h"

namespace vx::testing {

class ScratchInstallation {
 public:
  explicit ScratchInstallation(std::string_view user_reg = "")
      : prefix_(folder_.Path()),
        files(prefix_),
        registry(platform::ParseRegistryFile(user_reg)),
        archives(prefix_, files, registry, boxes) {
    std::filesystem::create_directories(Linux("C:\\PVXPAGHE\\ARCHIVI"));
    archives.state.NomeProgramma = "VXOREL";
    archives.state.NomeProgetto = "VXOREL";
    archives.state.PERCORSOARCHIVI = "C:\\PVXPAGHE\\ARCHIVI";
    archives.SetInstanceCheck([] { return false; });
  }

  // The Linux path of a path on drive C: ("C:\PVXPAGHE\X" is drive_c/PVXPAGHE/X).
  std::filesystem::path Linux(std::string_view windows_path) const {
    std::string relative(windows_path.substr(3));
    for (char& c : relative) {
      if (c == '\\') c = '/';
    }
    return folder_.Path() / "drive_c" / relative;
  }

  void Write(std::string_view windows_path, std::string_view bytes) const {
    const auto path = Linux(windows_path);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  std::string Read(std::string_view windows_path) const {
    std::ifstream in(Linux(windows_path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // SLBASE.DAT with one 79-byte entry per number base given (name pattern,
  // record length) and blank entries between them.
  void Catalogue(const std::map<int, std::pair<std::string, int>>& entries) const {
    std::string bytes;
    for (const auto& [base, entry] : entries) {
      bytes.resize(static_cast<size_t>(base - 1) * 79, ' ');
      std::string line = "001" + entry.first;
      line.resize(32, ' ');
      std::string length = std::to_string(entry.second);
      line += std::string(5 - length.size(), '0') + length;
      line.resize(79, ' ');
      bytes += line;
    }
    Write("C:\\PVXPAGHE\\ARCHIVI\\SLBASE.DAT", bytes);
  }

 private:
  TempFolder folder_;
  platform::WinePrefix prefix_;

 public:
  platform::Files files;
  platform::Registry registry;
  platform::ScriptedMessageBoxes boxes;
  archive::PayrollArchives archives;
};

}  // namespace vx::testing
