#include "archive/number_value.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

using vx::archive::NumberText;
using vx::archive::NumericValue;

TEST(NumericValue, SkipsBlanksAnywhereAndStopsAtTheFirstForeignCharacter) {
  EXPECT_EQ(NumericValue("1 2\t3\n4"), 1234);
  EXPECT_EQ(NumericValue("- 00001234.56"), -1234.56);
  EXPECT_EQ(NumericValue("0000012345ABC"), 12345);
  EXPECT_EQ(NumericValue("  -000042"), -42);
  EXPECT_EQ(NumericValue("1234567890123456789012"), 1234567890123456789012.0);
  EXPECT_EQ(NumericValue("12,50"), 12);  // a comma is never a decimal point
  EXPECT_EQ(NumericValue("1.2.3"), 1.2);
  EXPECT_EQ(NumericValue("+.5"), 0.5);
  EXPECT_EQ(NumericValue("   "), 0);
  EXPECT_EQ(NumericValue("-."), 0);
}

TEST(NumericValue, ReadsAnExponentOnlyWhenDigitsFollowItAndReportsOverflow) {
  EXPECT_EQ(NumericValue("5E-05"), 0.00005);
  EXPECT_EQ(NumericValue("12E+X"), 12);
  EXPECT_EQ(NumericValue("1E-999"), 0);
  try {
    NumericValue("9E+999");
    FAIL();
  } catch (const vx::platform::RuntimeError& error) {
    EXPECT_EQ(error.number, 6);
  }
}

TEST(NumberText, WritesFifteenDigitsWithoutLeadingZeroSwitchingToExponentAtTheEnds) {
  EXPECT_EQ(NumberText(7), "7");
  EXPECT_EQ(NumberText(-0.5), "-.5");
  EXPECT_EQ(NumberText(0.0001), ".0001");
  EXPECT_EQ(NumberText(0.00005), "5E-05");
  EXPECT_EQ(NumberText(1e15), "1E+15");
  EXPECT_EQ(NumberText(0.1 + 0.2), ".3");
}
