#include "pdf/huffman.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx::pdf {
namespace {

// Sum of 2^(limit - length) over the used symbols: 2^limit for a complete
// code, more for one that cannot be decoded.
uint64_t KraftSum(const std::vector<uint8_t>& lengths, int limit) {
  uint64_t sum = 0;
  for (uint8_t len : lengths) {
    if (len > 0) sum += uint64_t(1) << (limit - len);
  }
  return sum;
}

TEST(Huffman, GivesTheOptimalLengthsWhenTheyFit) {
  const std::vector<uint32_t> freq = {5, 9, 12, 13, 16, 45, 0};
  std::vector<uint8_t> lengths(freq.size());
  BuildCodeLengths(freq.data(), int(freq.size()), 15, lengths.data());
  EXPECT_EQ(lengths, (std::vector<uint8_t>{4, 4, 3, 3, 3, 1, 0}));
}

// Fibonacci frequencies make the optimal code 23 bits deep; deflate allows
// 15 bits for literals and 7 for the code-length code.
TEST(Huffman, LimitsDeepCodesAndKeepsThemComplete) {
  std::vector<uint32_t> freq;
  for (uint32_t a = 1, b = 1; freq.size() < 24; std::swap(a, b), b += a) freq.push_back(a);
  for (int limit : {15, 7, 5}) {
    std::vector<uint8_t> lengths(freq.size());
    BuildCodeLengths(freq.data(), int(freq.size()), limit, lengths.data());
    for (size_t s = 0; s < lengths.size(); ++s) {
      EXPECT_GE(lengths[s], 1) << s;
      EXPECT_LE(lengths[s], limit) << s;
      if (s > 0) {
        EXPECT_LE(lengths[s], lengths[s - 1]) << "more frequent, longer code";
      }
    }
    EXPECT_EQ(KraftSum(lengths, limit), uint64_t(1) << limit) << "limit " << limit;
  }
}

TEST(Huffman, CodesAtLeastTwoSymbols) {
  const std::vector<uint32_t> none(30, 0);
  std::vector<uint8_t> lengths(30);
  BuildCodeLengths(none.data(), 30, 15, lengths.data());
  EXPECT_EQ(KraftSum(lengths, 15), 1u << 15);
  std::vector<uint32_t> one(30, 0);
  one[7] = 100;
  BuildCodeLengths(one.data(), 30, 15, lengths.data());
  EXPECT_EQ(lengths[7], 1);
  EXPECT_EQ(KraftSum(lengths, 15), 1u << 15);
}

TEST(Huffman, AssignsCanonicalCodesReversed) {
  // Lengths 2, 1, 3, 3 give the canonical codes 10, 0, 110, 111.
  const uint8_t lengths[] = {2, 1, 3, 3};
  uint16_t codes[4];
  BuildCodes(lengths, 4, codes);
  EXPECT_EQ(codes[0], 0b01);
  EXPECT_EQ(codes[1], 0b0);
  EXPECT_EQ(codes[2], 0b011);
  EXPECT_EQ(codes[3], 0b111);
}

}  // namespace
}  // namespace vx::pdf
