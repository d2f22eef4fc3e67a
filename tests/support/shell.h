#pragma once
// Running the real tools (qpdf, poppler, pikepdf, the program itself) from a
// test: a shell command's exit status and standard output.

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace vx::testing {

struct CommandResult {
  int status = -1;  // the exit status; -1 when the command did not end normally
  std::string output;  // standard output only: add " 2>&1" to the command for both
};

inline CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

// The same with standard error folded into the output.
inline CommandResult Shell(const std::string& command) { return RunCommand(command + " 2>&1"); }

// The text as one shell word, whatever quotes it holds.
inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}
inline std::string Quote(const char* text) { return Quote(std::string(text)); }
inline std::string Quote(const std::filesystem::path& path) { return Quote(path.string()); }

}  // namespace vx::testing
