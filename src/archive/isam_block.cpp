#include "archive/isam_block.h"

#include <cmath>

#include "archive/number_value.h"

namespace vx::archive {

std::string_view SlotKey(std::string_view block, size_t key_length, int slot) {
  if (slot < 1) return {};
  const size_t start = static_cast<size_t>(slot - 1) * (key_length + 7);
  if (start >= block.size()) return {};
  return block.substr(start, key_length);
}

double SlotNumber(std::string_view block, size_t key_length, int slot) {
  if (slot < 1) return 0;
  const size_t start = static_cast<size_t>(slot - 1) * (key_length + 7) + key_length + 1;
  if (start >= block.size()) return 0;
  return NumericValue(block.substr(start, 6));
}

int SearchBlock(std::string_view block, std::string_view key) {
  const size_t entry = key.size() + 7;
  const int slots = static_cast<int>(block.size() / entry);
  auto slot_key = [&](int s) { return SlotKey(block, key.size(), s); };

  // Characters before the first high-key character; -1 when the block has
  // none, which sends the search straight to the step-by-step scan.
  const size_t high = block.find(kHighKeyCharacter);
  const double used = high == std::string_view::npos ? -1.0 : static_cast<double>(high);

  int candidate = 1;
  if (used != 0) {
    // Halve the used part until the key's neighbourhood is found.
    double low = 1;
    double top = used / static_cast<double>(entry) + 1;
    for (;;) {
      const double mid = std::floor((low + top) / 2);
      if (low + 1 >= mid) {
        candidate = static_cast<int>(low);
        break;
      }
      const std::string_view mid_key = slot_key(static_cast<int>(mid));
      if (mid_key == key) return static_cast<int>(mid);
      if (key > mid_key) {
        low = mid;
      } else {
        top = mid;
      }
    }
  }

  // Step forward over the smaller keys; stop at the block's last entry.
  int s = candidate;
  while (s < slots && key > slot_key(s)) ++s;
  if (slot_key(s) == key) return s;
  if (key > slot_key(s)) return s;
  return s - 1 < 1 ? 1 : s - 1;
}

}  // namespace vx::archive
