#pragma once
// The text of a Wine user.reg (HKEY_CURRENT_USER) holding given keys and
// string values, in the format Wine itself saves.

#include <string>
#include <utility>
#include <vector>

namespace vx::demo {

struct RegistryKey {
  std::string path;  // "Software\\TARVENIC\\VELMORA", single backslashes
  std::vector<std::pair<std::string, std::string>> values;  // name, REG_SZ text
};

std::string WineUserReg(const std::vector<RegistryKey>& keys);

}  // namespace vx::demo
