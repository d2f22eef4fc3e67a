#pragma once
// Runs a shell command as an operator would, for the tests that drive the
// real executable.

#include <filesystem>
#include <string>

#include "support/folder_snapshot.h"
#include "support/shell.h"

namespace vx::app::test {

using vx::testing::Quote;

struct Outcome {
  int status = -1;  // the exit status, -1 when the command did not exit by itself
  std::string out;
  std::string err;
};

// Runs a shell command; stdout is captured, stderr too when `err_file` is set.
inline Outcome Shell(const std::string& command, const std::filesystem::path& err_file = {}) {
  const auto run = vx::testing::RunCommand(err_file.empty() ? command + " 2>&1" : command + " 2>" + Quote(err_file));
  Outcome outcome{run.status, run.output, {}};
  if (!err_file.empty()) {
    outcome.err = vx::testing::ReadWholeFile(err_file);
    std::filesystem::remove(err_file);
  }
  return outcome;
}

#ifdef VXOREL_EXECUTABLE
// Runs the program on the Wine prefix `prefix`; stderr is captured. No
// printer of this machine is ever reached: the printing system is pointed
// at a socket that does not exist. `before` goes in front of the command
// (a ulimit, say).
inline Outcome Vxorel(const std::filesystem::path& prefix, const std::string& arguments,
                      const std::string& before = "") {
  return Shell(before + " WINEPREFIX=" + Quote(prefix) + " CUPS_SERVER=" + Quote(prefix / "no-cups.sock") +
                   " QT_QPA_PLATFORM=offscreen " + VXOREL_EXECUTABLE " " + arguments,
               prefix / "stderr.txt");
}
#endif

}  // namespace vx::app::test
