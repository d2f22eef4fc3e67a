#include "pdf/encoders.h"

#include <cstdint>

namespace vx::pdf {

namespace {
// Lines stay short enough for any text viewer; readers skip the breaks.
constexpr size_t kLineLength = 64;
}  // namespace

std::string ASCII85Encode(std::string_view data) {
  std::string out;
  out.reserve(data.size() / 4 * 5 + data.size() / 48 + 8);
  size_t line = 0;
  auto put_group = [&](const char* chars, size_t count) {
    if (line + count > kLineLength) {
      out += '\n';
      line = 0;
    }
    out.append(chars, count);
    line += count;
  };

  size_t i = 0;
  for (; i + 4 <= data.size(); i += 4) {
    const uint32_t value = uint32_t(uint8_t(data[i])) << 24 |
                           uint32_t(uint8_t(data[i + 1])) << 16 |
                           uint32_t(uint8_t(data[i + 2])) << 8 |
                           uint32_t(uint8_t(data[i + 3]));
    if (value == 0) {
      put_group("z", 1);
      continue;
    }
    char group[5];
    uint32_t rest = value;
    for (int k = 4; k >= 0; --k) {
      group[k] = char('!' + rest % 85);
      rest /= 85;
    }
    put_group(group, 5);
  }

  // A final group of n bytes is padded with zeros and written as n + 1
  // characters; it is never abbreviated to 'z'.
  const size_t tail = data.size() - i;
  if (tail > 0) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) {
      value = value << 8 | (k < tail ? uint8_t(data[i + k]) : 0);
    }
    char group[5];
    for (int k = 4; k >= 0; --k) {
      group[k] = char('!' + value % 85);
      value /= 85;
    }
    put_group(group, tail + 1);
  }
  put_group("~>", 2);
  return out;
}

}  // namespace vx::pdf
