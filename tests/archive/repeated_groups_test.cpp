#include "archive/repeated_groups.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/errors.h"

namespace {

int Shift(const std::string& prefix, int offset, int16_t occurrence, const std::string& id = "X001") {
  char descriptor[32];
  std::snprintf(descriptor, sizeof descriptor, "%s,%05d,10,A,0,%s", prefix.c_str(), offset, id.c_str());
  return vx::archive::RepoSpostamento(descriptor, occurrence).shift;
}

}  // namespace

TEST(RepeatedGroups, OccurrenceZeroAndOneNeverShift) {
  EXPECT_EQ(Shift("CONX$", 120, 0), 0);
  EXPECT_EQ(Shift("CONX$", 120, 1), 0);
  EXPECT_EQ(Shift("DI2X$", 10, 0, "I???"), 0);
}

TEST(RepeatedGroups, ShiftsByTheStrideOfTheRangeHoldingTheOffset) {
  EXPECT_EQ(Shift("CONX$", 120, 3), 580);
  EXPECT_EQ(Shift("CONX$", 101, 2), 290);
  EXPECT_EQ(Shift("CONX$", 390, 2), 290);
  EXPECT_EQ(Shift("CONX$", 391, 2), 0);
  EXPECT_EQ(Shift("DICX$", 100, 2), 0);
  EXPECT_EQ(Shift("DICX$", 101, 2), 10);
  EXPECT_EQ(Shift("M77X$", 255, 2), 0);
  EXPECT_EQ(Shift("M77X$", 256, 2), 255);
  EXPECT_EQ(Shift("M77X$", 3570, 3), 510);
  EXPECT_EQ(Shift("M77X$", 3571, 3), 0);
}

TEST(RepeatedGroups, F24RangesHaveTheirOwnStrides) {
  EXPECT_EQ(Shift("F24X$", 41, 2), 0);
  EXPECT_EQ(Shift("F24X$", 42, 2), 36);
  EXPECT_EQ(Shift("F24X$", 813, 2), 63);
  EXPECT_EQ(Shift("F24X$", 1077, 2), 35);
  EXPECT_EQ(Shift("F24X$", 1101, 2), 0);
  EXPECT_EQ(Shift("F24X$", 1229, 2), 35);  // second of the 21 ranges
  EXPECT_EQ(Shift("F24X$", 4140, 2), 35);  // the last of them
  EXPECT_EQ(Shift("F24X$", 4141, 2), 0);
  EXPECT_EQ(Shift("F24X$", 4359, 2), 51);
  EXPECT_EQ(Shift("F24X$", 4867, 2), 55);
  EXPECT_EQ(Shift("F24X$", 5000, 2), 4);
  EXPECT_EQ(Shift("F24X$", 5001, 2), 0);
  EXPECT_EQ(Shift("F24X$", 5414, 2), 4);
  EXPECT_EQ(Shift("F24X$", 5102, 2), 0);
  EXPECT_EQ(Shift("F24X$", 5483, 2), 2);
}

TEST(RepeatedGroups, OtherPrefixesNeverShift) {
  EXPECT_EQ(Shift("DIPX$", 120, 5), 0);
  EXPECT_EQ(Shift("DITX$", 5000, 5), 0);
}

TEST(RepeatedGroups, SecondEmployeeRecordRepeatsFromIdNumberOneHundred) {
  EXPECT_EQ(Shift("DI2X$", 10, 2, "I100"), 714);
  EXPECT_EQ(Shift("DI2X$", 10, 3, "I099"), 0);
  const auto missing = vx::archive::RepoSpostamento("DI2X$,00010,10,A,0,K100", 2);
  EXPECT_TRUE(missing.unknown_id_letter);
  EXPECT_EQ(missing.shift, 0);
}

TEST(RepeatedGroups, AShiftBeyondSixteenBitsIsOverflow) {
  EXPECT_EQ(Shift("DI2X$", 10, 46, "I100"), 45 * 714);
  try {
    Shift("DI2X$", 10, 47, "I100");
    FAIL() << "no error";
  } catch (const vx::platform::RuntimeError& error) {
    EXPECT_EQ(error.number, 6);
  }
}
