#include "archive/format_number.h"

#include <gtest/gtest.h>

namespace {
std::string Format(double value, int16_t decimals) { return vx::archive::FORMATTANUMERO(value, decimals); }
}  // namespace

TEST(FormatNumber, RoundsHalfAwayFromZeroToTheDecimalsAsked) {
  EXPECT_EQ(Format(1234.5, 2), "1234.50");
  EXPECT_EQ(Format(0.006, 2), "0.01");
  EXPECT_EQ(Format(0.004, 2), "0.00");
  EXPECT_EQ(Format(-2.345, 2), "-2.35");
  EXPECT_EQ(Format(99999999.995, 2), "100000000.00");
  EXPECT_EQ(Format(3.14159, 3), "3.142");
}

TEST(FormatNumber, KeepsTheListingsFormBetweenMinusOneAndZero) {
  EXPECT_EQ(Format(-0.5, 2), "-.50");
  EXPECT_EQ(Format(-0.004, 2), "-.00");
}

TEST(FormatNumber, ZeroDecimalsMeansTwoAndIsWrittenBack) {
  int16_t decimals = 0;
  EXPECT_EQ(vx::archive::FORMATTANUMERO(7, decimals), "7.00");
  EXPECT_EQ(decimals, 2);
}

TEST(FormatNumber, SmallValuesComeThroughTheExponentForm) {
  EXPECT_EQ(Format(0, 4), "0.0000");
  EXPECT_EQ(Format(0.00005, 4), "0.0001");
}
