#pragma once
// Whether the register of transfer files and the folder it sits in agree,
// as the sqlite3 tool and sha256sum see them: every transfer file in the
// folder is recorded written (or still being written, which the register
// settles when next opened) with its SHA-256, and every file recorded
// written is there with those bytes.

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "support/shell.h"

namespace vx::testing {

// What does not agree, one line each; empty when all does.
inline std::string RegisterDisagreements(const std::filesystem::path& folder) {
  const auto db = folder / "REGISTRO-BONIFICI.sqlite";
  std::map<std::string, std::string> recorded;  // file name -> "state|sha256" of its latest row
  std::istringstream rows(
      RunCommand("sqlite3 -batch " + Quote(db) + " 'SELECT file_name, state, sha256 FROM files ORDER BY id'").output);
  std::string problems;
  for (std::string line; std::getline(rows, line);) {
    const auto bar = line.find('|');
    const std::string name = line.substr(0, bar), rest = line.substr(bar + 1);
    if (rest.rfind("not written", 0) != 0) recorded[name] = rest;
  }
  for (const auto& [name, rest] : recorded) {
    const std::string digest = rest.substr(rest.find('|') + 1);
    const auto there = RunCommand("sha256sum " + Quote(folder / name) + " 2>/dev/null");
    const bool in_place = there.status == 0 && there.output.substr(0, 64) == digest;
    if (rest.rfind("written", 0) == 0 && !in_place) problems += name + ": recorded written, not there with its bytes\n";
  }
  if (!std::filesystem::is_directory(folder)) return problems;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".xml") continue;
    const auto it = recorded.find(name);
    const auto there = RunCommand("sha256sum " + Quote(entry.path())).output.substr(0, 64);
    if (it == recorded.end() || it->second.substr(it->second.find('|') + 1) != there)
      problems += name + ": in the folder, not recorded with its bytes\n";
  }
  return problems;
}

}  // namespace vx::testing
