#include "platform/wine_prefix.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "platform/codepage.h"
#include "platform/errors.h"

namespace fs = std::filesystem;

namespace vx::platform {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Windows names compare case-insensitively; Linux names under Wine are UTF-8.
std::u32string Folded(std::string_view utf8) {
  std::u32string cps = DecodeUtf8(utf8);
  for (char32_t& c : cps) c = FoldCase(c);
  return cps;
}

bool Exists(const fs::path& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0;
}

bool IsDirectory(const fs::path& p) {
  struct stat st;
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The entry of `dir` whose name matches `name` regardless of case: the exact
// name when it exists, else the first entry (in name order, so the choice is
// stable) that folds to the same text. Empty when there is none.
std::string FindEntry(const fs::path& dir, const std::string& name) {
  if (Exists(dir / name)) return name;
  std::u32string wanted = Folded(name);
  std::vector<std::string> matches;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (Folded(entry) == wanted) matches.push_back(entry);
  }
  if (matches.empty()) return {};
  std::string best = matches.front();
  for (const std::string& m : matches) best = std::min(best, m);
  return best;
}

// Appends the components of a Windows path below `base`, each found
// case-insensitively while the folders exist. "." is skipped and ".." goes up
// one component; above `base` only when `may_leave_base` (a path relative to
// the current folder), never above a drive's root. `found_whole`, when
// given, tells whether the base and every component were found.
fs::path Resolve(fs::path base, std::string_view rest, bool may_leave_base = false,
                 bool* found_whole = nullptr) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < rest.size()) {
    while (i < rest.size() && IsSeparator(rest[i])) ++i;
    size_t start = i;
    while (i < rest.size() && !IsSeparator(rest[i])) ++i;
    if (i == start) break;
    std::string part(rest.substr(start, i - start));
    if (part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) {
        parts.pop_back();
      } else if (may_leave_base && base.has_relative_path()) {
        base = base.parent_path();
      }
      continue;
    }
    parts.push_back(Cp1252ToUtf8(part));
  }
  fs::path out = base;
  bool searching = IsDirectory(base);
  bool whole = searching;
  for (const std::string& part : parts) {
    if (searching) {
      std::string found = FindEntry(out, part);
      if (!found.empty()) {
        out /= found;
        searching = IsDirectory(out);
        continue;
      }
      searching = false;
    }
    whole = false;
    out /= part;
  }
  if (found_whole != nullptr) *found_whole = whole;
  return out;
}

}  // namespace

WinePrefix::WinePrefix(fs::path root) : root_(std::move(root)) {}

WinePrefix WinePrefix::FromEnvironment() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && *prefix != '\0') return WinePrefix(prefix);
  const char* home = std::getenv("HOME");
  std::string home_dir = home != nullptr ? home : "";
  if (home_dir.empty()) {
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) home_dir = pw->pw_dir;
  }
  return WinePrefix(fs::path(home_dir) / ".wine");
}

fs::path WinePrefix::DriveFolder(char letter) const {
  if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');
  if (letter < 'a' || letter > 'z') return {};
  fs::path device = root_ / "dosdevices" / (std::string(1, letter) + ":");
  if (Exists(device)) return IsDirectory(device) ? device : fs::path();
  // A prefix without a dosdevices entry for C: still has its system drive.
  if (letter == 'c' && IsDirectory(root_ / "drive_c")) return root_ / "drive_c";
  return {};
}

bool WinePrefix::Forget(std::string_view windows_path) const {
  // The folders above the path go too: one of them may be what moved.
  const bool kept = found_.erase(std::string(windows_path)) != 0;
  for (size_t last = windows_path.find_last_of("\\/"); last != std::string_view::npos && last > 2;
       last = windows_path.find_last_of("\\/")) {
    windows_path = windows_path.substr(0, last);
    found_.erase(std::string(windows_path));
  }
  return kept;
}

fs::path WinePrefix::Map(std::string_view windows_path) const {
  if (windows_path.size() >= 2 && windows_path[1] == ':') {
    std::string key(windows_path);
    if (auto kept = found_.find(key); kept != found_.end()) return kept->second;
    // A plain name in a folder: the folder is mapped (and kept) on its own,
    // as the many files of a run share a few folders.
    const size_t last = windows_path.find_last_of("\\/");
    const std::string_view name = last == std::string_view::npos ? "" : windows_path.substr(last + 1);
    if (last > 2 && last != std::string_view::npos && !name.empty() && name != "." && name != "..") {
      const std::string_view folder_path = windows_path.substr(0, last);
      const fs::path folder = Map(folder_path);
      const std::string own = Cp1252ToUtf8(name);
      if (found_.count(std::string(folder_path)) == 0) return folder / own;  // the folder is missing
      const std::string entry = FindEntry(folder, own);
      if (entry.empty()) return folder / own;
      return found_.emplace(std::move(key), folder / entry).first->second;
    }
    fs::path drive = DriveFolder(windows_path[0]);
    if (drive.empty()) throw MakeRuntimeError(76);
    bool found_whole = false;
    fs::path mapped = Resolve(drive, windows_path.substr(2), false, &found_whole);
    if (found_whole) found_.emplace(std::move(key), mapped);
    return mapped;
  }
  if (windows_path.size() >= 2 && IsSeparator(windows_path[0]) && IsSeparator(windows_path[1])) {
    // Network shares have no place in a prefix.
    throw MakeRuntimeError(76);
  }
  if (!windows_path.empty() && IsSeparator(windows_path[0])) {
    // A rooted path without a drive is on the current drive, which for a
    // program started from Linux is C:.
    fs::path drive = DriveFolder('c');
    if (drive.empty()) throw MakeRuntimeError(76);
    return Resolve(drive, windows_path);
  }
  std::error_code ec;
  fs::path cwd = fs::current_path(ec);
  if (ec) throw MakeRuntimeError(76);
  return Resolve(cwd, windows_path, true);
}

fs::path WinePrefix::MapOwnName(std::string_view windows_path) const {
  const auto last = windows_path.find_last_of("\\/");
  if (last == std::string_view::npos) return Map(".") / Cp1252ToUtf8(windows_path);
  // "C:\NAME" and "\NAME" keep the root as their folder.
  const bool at_root = last == 0 || (last == 2 && windows_path[1] == ':');
  return Map(windows_path.substr(0, at_root ? last + 1 : last)) / Cp1252ToUtf8(windows_path.substr(last + 1));
}

}  // namespace vx::platform
