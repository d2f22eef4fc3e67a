#include "pdf/rc4.h"

#include <array>
#include <cstdint>
#include <utility>

namespace vx::pdf {

std::string Rc4(std::string_view key, std::string_view data) {
  std::string out(data);
  if (key.empty()) return out;
  if (key.size() > 256) key = key.substr(0, 256);

  std::array<uint8_t, 256> s;
  for (int i = 0; i < 256; ++i) s[i] = uint8_t(i);
  uint8_t j = 0;
  for (int i = 0; i < 256; ++i) {
    j = uint8_t(j + s[i] + uint8_t(key[i % key.size()]));
    std::swap(s[i], s[j]);
  }

  uint8_t i = 0;
  j = 0;
  for (char& c : out) {
    i = uint8_t(i + 1);
    j = uint8_t(j + s[i]);
    std::swap(s[i], s[j]);
    c = char(uint8_t(c) ^ s[uint8_t(s[i] + s[j])]);
  }
  return out;
}

}  // namespace vx::pdf
