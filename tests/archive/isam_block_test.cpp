#include "archive/isam_block.h"

#include <gtest/gtest.h>

#include "index_blocks.h"

using vx::archive::SearchBlock;
using vx::testing::IndexBlock;

namespace {
std::string Key(int n) {
  char key[16];
  std::snprintf(key, sizeof key, "%03d", n);
  return key;
}
}  // namespace

TEST(IsamBlock, KeysCompareByCharacterCode) {
  const std::string block = IndexBlock(1, '3', {{"B", 1}, {"a", 2}, {"\xE0", 3}});
  EXPECT_EQ(SearchBlock(block, "b"), 2);
  EXPECT_EQ(SearchBlock(block, "\xE0"), 3);
}

// From the empty block to the full one, which has no high key after its
// last entry: smaller keys go to the first entry, others to the last entry
// not greater, and the search never runs past the used ones.
TEST(IsamBlock, EveryUsedCountFindsEveryKeyAndRoutesEveryGap) {
  for (int used = 0; used <= 128; ++used) {
    std::vector<std::pair<std::string, int>> entries;
    for (int i = 0; i < used; ++i) entries.emplace_back(Key(10 + i * 5), i + 1);
    const std::string block = IndexBlock(3, '2', entries);
    ASSERT_EQ(SearchBlock(block, "000"), 1) << used;
    for (int i = 0; i < used; ++i) {
      ASSERT_EQ(SearchBlock(block, Key(10 + i * 5)), i + 1) << used;
      ASSERT_EQ(SearchBlock(block, Key(12 + i * 5)), i + 1) << used;
    }
    if (used > 0) {
      ASSERT_EQ(vx::archive::SlotNumber(block, 3, used), used);
    }
  }
}
