#include "archive/isam_block.h"

#include <gtest/gtest.h>

#include "index_blocks.h"

using vx::archive::SearchBlock;
using vx::archive::SlotNumber;
using vx::testing::IndexBlock;

namespace {
const std::string kBlock = IndexBlock(3, '2', {{"100", 11}, {"200", 12}, {"300", 13}, {"400", 14}, {"500", 15}});
}

TEST(IsamBlock, ExactKeyFindsItsOwnSlot) {
  EXPECT_EQ(SearchBlock(kBlock, "100"), 1);
  EXPECT_EQ(SearchBlock(kBlock, "300"), 3);
  EXPECT_EQ(SearchBlock(kBlock, "500"), 5);
  EXPECT_EQ(SlotNumber(kBlock, 3, 4), 14);
}

TEST(IsamBlock, KeyBetweenTwoKeysFollowsTheSmallerOne) {
  EXPECT_EQ(SearchBlock(kBlock, "250"), 2);
  EXPECT_EQ(SearchBlock(kBlock, "499"), 4);
}

TEST(IsamBlock, KeySmallerThanEveryKeyFollowsTheFirstEntry) {
  EXPECT_EQ(SearchBlock(kBlock, "000"), 1);
}

TEST(IsamBlock, KeyGreaterThanTheLastUsedKeyFollowsTheLastUsedEntry) {
  EXPECT_EQ(SearchBlock(kBlock, "999"), 5);
}

TEST(IsamBlock, KeysCompareByCharacterCodeNotByLocale) {
  const std::string block = IndexBlock(1, '3', {{"B", 1}, {"a", 2}, {"\xE0", 3}});
  EXPECT_EQ(SearchBlock(block, "b"), 2);
  EXPECT_EQ(SearchBlock(block, "\xE0"), 3);
  EXPECT_EQ(SearchBlock(block, "A"), 1);
}

TEST(IsamBlock, EmptyBlockAnswersItsFirstSlot) {
  EXPECT_EQ(SearchBlock(IndexBlock(3, '1', {}), "123"), 1);
}

TEST(IsamBlock, FullBlockIsSearchedToItsLastEntryAndNoFurther) {
  std::vector<std::pair<std::string, int>> entries;
  for (int i = 0; i < 128; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "%03d", i * 2);
    entries.emplace_back(key, i + 1);
  }
  const std::string full = IndexBlock(3, '3', entries);
  EXPECT_EQ(SearchBlock(full, "254"), 128);
  EXPECT_EQ(SearchBlock(full, "999"), 128);
  EXPECT_EQ(SearchBlock(full, "101"), 51);
  EXPECT_EQ(SearchBlock(full, "100"), 51);
}

TEST(IsamBlock, EveryUsedCountFindsEveryKeyAndRoutesEveryGap) {
  for (int used = 1; used <= 127; ++used) {
    std::vector<std::pair<std::string, int>> entries;
    for (int i = 0; i < used; ++i) {
      char key[16];
      std::snprintf(key, sizeof key, "%03d", 10 + i * 5);
      entries.emplace_back(key, i + 1);
    }
    const std::string block = IndexBlock(3, '2', entries);
    for (int i = 0; i < used; ++i) {
      char key[16];
      std::snprintf(key, sizeof key, "%03d", 10 + i * 5);
      ASSERT_EQ(SearchBlock(block, key), i + 1) << used << " used, key " << key;
      std::snprintf(key, sizeof key, "%03d", 10 + i * 5 + 2);
      ASSERT_EQ(SearchBlock(block, key), i + 1) << used << " used, gap key " << key;
    }
  }
}
