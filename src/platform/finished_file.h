#pragma once
// Files a run produces appear complete or not at all: each is written under
// a temporary name in its own folder and renamed to its final name only once
// complete. A run killed half way, a full disk or a write error leaves the
// earlier file (or none) under the final name, never half of a new one.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::platform {

// A name for writing `final_path` under, in the same folder:
// "<final name>.<six random letters and digits>.tmp". It names no file that
// exists when it is chosen.
std::filesystem::path TemporaryBeside(const std::filesystem::path& final_path);

// Takes the whole file's write lock on `fd`, an open-file-description
// lock that lasts until the descriptor is closed, however the process ends.
// A temporary is held so from its creation until it is put in place: a
// temporary nobody holds is one a run left behind when it was killed.
// False when the file system keeps no locks or another holds it.
bool HoldWhileWritten(int fd);

// Removes the temporaries an earlier run left in `folder` (a run killed
// while writing): names "<final name>.<six letters and digits>.tmp" whose
// final name `ours` accepts, that no process holds (see HoldWhileWritten)
// and that have not changed for `quiet`. Another run's temporary, perhaps of
// another operator on another workstation, is held, and left alone; so is
// any other file. Where the file system keeps no locks, only a temporary
// untouched for a day is taken for abandoned. Returns the names removed;
// what cannot be removed stays, without an error.
std::vector<std::string> RemoveLeftovers(const std::filesystem::path& folder,
                                         const std::function<bool(std::string_view)>& ours,
                                         std::chrono::seconds quiet = std::chrono::seconds(10));

// Whether a finished file could later take the place of `final_path`:
// error 75 when a folder stands there, 70 when a file stands there that may
// not be written (read-only, another owner's). Checked before writing, so
// that a file that could never be put in place is not written first.
void CheckReplaceable(const std::filesystem::path& final_path);

// What putting a file in place replaced.
struct Replaced {
  bool same_name = false;               // a file of exactly the final name
  std::vector<std::string> other_case;  // files whose names differ only in letter case
  bool Any() const { return same_name || !other_case.empty(); }
};

// Renames the finished `temporary` to `final_path`. A file of the final name
// is replaced; so is one whose name differs only in letter case (which
// Windows programs take for the same file): it is removed, and the file
// appears under its own name. Error 70, 75 or 61 naming the final path when
// the rename fails; the temporary is then left for the caller to remove.
// The errors of these functions carry the Linux path (`path`), for the
// caller to name the file as the program names it.
Replaced PutInPlace(const std::filesystem::path& temporary, const std::filesystem::path& final_path);

// Writes `bytes` whole under a temporary name beside `final_path` (checked
// with CheckReplaceable first) and returns that name, for a caller that has
// something to do between the bytes being complete and PutInPlace. On
// failure nothing is left and the error (70, 61 or 75 naming the final
// path) goes on.
std::filesystem::path WriteTemporary(const std::filesystem::path& final_path, std::string_view bytes);

// Writes `bytes` as `final_path` whole: under a temporary name beside it,
// then put in place as above. On failure the temporary is removed and the
// error (70, 61 or 75 naming the final path) goes on.
Replaced WriteFinishedFile(const std::filesystem::path& final_path, std::string_view bytes);

}  // namespace vx::platform
