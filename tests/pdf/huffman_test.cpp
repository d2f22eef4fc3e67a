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

// The lengths themselves are judged through Flate: zlib inflates what they
// code, and the output must compress as well as zlib's. What Flate's inputs
// may not show: a code needs two symbols even when one or none is used.
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

}  // namespace
}  // namespace vx::pdf
