#include "archive/expand_exponent.h"

#include <gtest/gtest.h>

namespace {
std::string Expand(std::string text) {
  vx::archive::ESPANDIESPONENTE(text);
  return text;
}
}  // namespace

TEST(ExpandExponent, WritesPlainNotationKeepingZerosAtTheEnds) {
  EXPECT_EQ(Expand("1E-05"), "0.000010");
  EXPECT_EQ(Expand("-1.5E-02"), "-0.0150");
  EXPECT_EQ(Expand("2,5E-01"), "0.250");
  EXPECT_EQ(Expand("1.25E+16"), "012500000000000000.0");
}

TEST(ExpandExponent, LeavesTextWithoutAnExponentAlone) {
  EXPECT_EQ(Expand("1234.5"), "1234.5");
  EXPECT_EQ(Expand("E5"), "E5");
}
