#include "demo/isam_index_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace vx::demo {
namespace {

constexpr size_t kKey = 10;
constexpr size_t kEntry = kKey + 7;
constexpr size_t kBlock = kEntry * 128;

std::string CodeOf(int i) {
  std::string n = std::to_string(i);
  return "001001" + std::string(4 - n.size(), '0') + n;
}

std::string BlockOf(const std::string& file, int number) {
  return file.substr(static_cast<size_t>(number - 1) * kBlock, kBlock);
}

// The program's own search finds every key of the demo population's index
// (demo_population_test); here the shape of a small tree, byte for byte.
TEST(BulkLoadedIndexLayout, RootThenEachLevel2BlockFollowedByItsLeaves) {
  std::vector<IndexEntry> entries;
  // Given in descending order: the loader must sort.
  for (int i = 10; i >= 1; --i) entries.push_back({CodeOf(i), i});
  const std::string file = BuildIsamIndex(entries, kKey, 2);
  // 10 keys, 2 per block: 5 leaves under 3 level-2 blocks: 1 + 3 + 5 blocks.
  ASSERT_EQ(file.size(), 9 * kBlock);
  const std::string root = BlockOf(file, 1);
  EXPECT_EQ(root.substr(0, kEntry), CodeOf(1) + "1000002");
  EXPECT_EQ(root.substr(kEntry, kEntry), CodeOf(5) + "1000005");
  EXPECT_EQ(root.substr(2 * kEntry, kEntry), CodeOf(9) + "1000008");
  EXPECT_EQ(root.substr(3 * kEntry, kEntry), std::string(kKey, kIndexHighKeyChar) + "1000000");
  EXPECT_EQ(BlockOf(file, 2).substr(0, 2 * kEntry), CodeOf(1) + "2000003" + CodeOf(3) + "2000004");
  EXPECT_EQ(BlockOf(file, 3).substr(0, 3 * kEntry),
            CodeOf(1) + "3000001" + CodeOf(2) + "3000002" + std::string(kKey, kIndexHighKeyChar) + "3000000");
  EXPECT_EQ(BlockOf(file, 9).substr(0, kEntry), CodeOf(9) + "3000009");
}

TEST(BulkLoadedIndexLayout, EmptyIndexIsOneBlockOfHighKeys) {
  std::string expected;
  for (int i = 0; i < 128; ++i) expected += std::string(kKey, kIndexHighKeyChar) + "1000000";
  EXPECT_EQ(BuildIsamIndex({}, kKey), expected);
}

TEST(BulkLoadedIndexLayout, RefusesWhatTheSearchCouldNotServe) {
  EXPECT_THROW(BuildIsamIndex({{CodeOf(1), 1}, {CodeOf(1), 2}}, kKey), std::invalid_argument);
  EXPECT_THROW(BuildIsamIndex({{"123", 1}}, kKey), std::invalid_argument);
  EXPECT_THROW(BuildIsamIndex({{CodeOf(1), 0}}, kKey), std::invalid_argument);
  EXPECT_THROW(BuildIsamIndex({{CodeOf(1), 1}}, kKey, 128), std::invalid_argument);
  std::vector<IndexEntry> too_many;
  for (int i = 1; i <= 2 * 2 * 128; ++i) too_many.push_back({CodeOf(i), i});
  EXPECT_THROW(BuildIsamIndex(too_many, kKey, 2), std::invalid_argument);
}

}  // namespace
}  // namespace vx::demo
