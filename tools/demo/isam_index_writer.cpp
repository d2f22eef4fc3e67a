#include "isam_index_writer.h"

#include <algorithm>
#include <stdexcept>

namespace vx::demo {

namespace {

constexpr size_t kEntriesPerBlock = 128;

std::string Entry(const std::string& key, char level, int number) {
  std::string digits = std::to_string(number);
  digits.insert(0, 6 - digits.size(), '0');
  return key + level + digits;
}

// One block: the given entries in order, then unused entries up to 128.
std::string Block(const std::vector<std::string>& used, size_t key_length, char level) {
  std::string block;
  for (const std::string& entry : used) block += entry;
  const std::string unused = Entry(std::string(key_length, kIndexHighKeyChar), level, 0);
  for (size_t i = used.size(); i < kEntriesPerBlock; ++i) block += unused;
  return block;
}

}  // namespace

std::string BuildIsamIndex(std::vector<IndexEntry> entries, size_t key_length, size_t fill) {
  if (key_length == 0) throw std::invalid_argument("index key length must be above 0");
  if (fill == 0 || fill >= kEntriesPerBlock) {
    throw std::invalid_argument("index fill must be 1..127 entries per block");
  }
  for (const IndexEntry& e : entries) {
    if (e.key.size() != key_length) {
      throw std::invalid_argument("index key '" + e.key + "' is not " + std::to_string(key_length) +
                                  " characters long");
    }
    if (e.record < 1 || e.record > 999999) {
      throw std::invalid_argument("record number out of range for key '" + e.key + "'");
    }
  }
  // Keys order by character code, as the search compares them.
  std::sort(entries.begin(), entries.end(), [](const IndexEntry& a, const IndexEntry& b) {
    return static_cast<std::string_view>(a.key) < static_cast<std::string_view>(b.key);
  });
  for (size_t i = 1; i < entries.size(); ++i) {
    if (entries[i].key == entries[i - 1].key) {
      throw std::invalid_argument("duplicate index key '" + entries[i].key + "'");
    }
  }
  if (entries.empty()) return Block({}, key_length, '1');

  const size_t leaves = (entries.size() + fill - 1) / fill;
  const size_t inner = (leaves + fill - 1) / fill;
  if (inner > kEntriesPerBlock - 1) {
    throw std::invalid_argument("too many keys for a three-level index");
  }

  std::vector<std::string> root_entries;
  std::vector<std::string> blocks_after_root;
  int next_block = 2;
  for (size_t group = 0; group < inner; ++group) {
    const size_t first_leaf = group * fill;
    const size_t last_leaf = std::min(leaves, first_leaf + fill);
    const int level2_number = next_block++;
    std::vector<std::string> level2_entries;
    std::vector<std::string> leaf_blocks;
    for (size_t leaf = first_leaf; leaf < last_leaf; ++leaf) {
      const size_t first = leaf * fill;
      const size_t last = std::min(entries.size(), first + fill);
      std::vector<std::string> leaf_entries;
      for (size_t i = first; i < last; ++i) leaf_entries.push_back(Entry(entries[i].key, '3', entries[i].record));
      // An inner entry carries the smallest key of the block it points to.
      level2_entries.push_back(Entry(entries[first].key, '2', next_block++));
      leaf_blocks.push_back(Block(leaf_entries, key_length, '3'));
    }
    root_entries.push_back(Entry(entries[first_leaf * fill].key, '1', level2_number));
    blocks_after_root.push_back(Block(level2_entries, key_length, '2'));
    for (std::string& b : leaf_blocks) blocks_after_root.push_back(std::move(b));
  }

  std::string file = Block(root_entries, key_length, '1');
  for (const std::string& b : blocks_after_root) file += b;
  return file;
}

}  // namespace vx::demo
