#pragma once
// Bulk loading of a three-level key index: a root block, level-2 blocks and
// leaves, each block 128 entries of key + level digit + 6-digit number.

#include <cstddef>
#include <string>
#include <vector>

namespace vx::demo {

struct IndexEntry {
  std::string key;  // exactly the index key length
  int record = 0;   // record number in the data archive, 1..999999
};

// How full bulk loading packs the blocks. A block always keeps at least one
// unused entry, so the high key that ends its used part is always there.
inline constexpr size_t kDefaultIndexFill = 96;

// Returns the index file: block 1 is the root, then each level-2 block
// followed by its leaves, so block 2 is the first level-2 block and block 3
// the first leaf. Entries may come in any order; duplicates, keys of the
// wrong length and a tree that would need a fourth level are refused with
// std::invalid_argument. No entries gives the empty index (one block).
std::string BuildIsamIndex(std::vector<IndexEntry> entries, size_t key_length,
                           size_t fill = kDefaultIndexFill);

// The character that fills the high key of unused entries.
inline constexpr char kIndexHighKeyChar = static_cast<char>(252);

}  // namespace vx::demo
