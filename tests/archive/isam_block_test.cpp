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

TEST(IsamBlock, RoutesToTheLastKeyNotGreaterAndTheFirstCatchesSmallerOnes) {
  const std::string block = IndexBlock(3, '2', {{"100", 11}, {"200", 12}, {"300", 13}});
  EXPECT_EQ(SearchBlock(block, "200"), 2);
  EXPECT_EQ(SearchBlock(block, "250"), 2);
  EXPECT_EQ(SearchBlock(block, "000"), 1);
  EXPECT_EQ(SearchBlock(block, "999"), 3);
  EXPECT_EQ(vx::archive::SlotNumber(block, 3, 3), 13);
  EXPECT_EQ(SearchBlock(IndexBlock(3, '1', {}), "123"), 1);
}

TEST(IsamBlock, KeysCompareByCharacterCode) {
  const std::string block = IndexBlock(1, '3', {{"B", 1}, {"a", 2}, {"\xE0", 3}});
  EXPECT_EQ(SearchBlock(block, "b"), 2);
  EXPECT_EQ(SearchBlock(block, "\xE0"), 3);
}

TEST(IsamBlock, FullBlockIsSearchedToItsLastEntryAndNoFurther) {
  std::vector<std::pair<std::string, int>> entries;
  for (int i = 0; i < 128; ++i) entries.emplace_back(Key(i * 2), i + 1);
  const std::string full = IndexBlock(3, '3', entries);
  EXPECT_EQ(SearchBlock(full, "999"), 128);
  EXPECT_EQ(SearchBlock(full, "101"), 51);
}

TEST(IsamBlock, EveryUsedCountFindsEveryKeyAndRoutesEveryGap) {
  for (int used = 1; used <= 127; ++used) {
    std::vector<std::pair<std::string, int>> entries;
    for (int i = 0; i < used; ++i) entries.emplace_back(Key(10 + i * 5), i + 1);
    const std::string block = IndexBlock(3, '2', entries);
    for (int i = 0; i < used; ++i) {
      ASSERT_EQ(SearchBlock(block, Key(10 + i * 5)), i + 1) << used;
      ASSERT_EQ(SearchBlock(block, Key(12 + i * 5)), i + 1) << used;
    }
  }
}
