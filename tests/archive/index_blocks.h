#pragma once
// Index blocks written out for tests: 128 entries of key, level digit and
// six-digit number; unused entries hold the high key and number 000000.

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace vx::testing {

inline std::string IndexBlock(size_t key_length, char level,
                              const std::vector<std::pair<std::string, int>>& entries) {
  std::string block;
  for (const auto& [key, number] : entries) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%06d", number);
    block += key + level + digits;
  }
  while (block.size() < (key_length + 7) * 128) {
    block += std::string(key_length, '\xFC') + level + "000000";
  }
  return block;
}

}  // namespace vx::testing
