#include "archive/repeated_groups.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/errors.h"

namespace {
int Shift(const char* prefix, int offset, int16_t occurrence, const char* id = "X001") {
  char descriptor[32];
  std::snprintf(descriptor, sizeof descriptor, "%s,%05d,10,A,0,%s", prefix, offset, id);
  return vx::archive::RepoSpostamento(descriptor, occurrence).shift;
}
}  // namespace

TEST(RepeatedGroups, ShiftsByTheStrideOfTheRangeHoldingTheOffsetBoundsIncluded) {
  EXPECT_EQ(Shift("CONX$", 120, 0), 0);
  EXPECT_EQ(Shift("CONX$", 120, 1), 0);
  EXPECT_EQ(Shift("CONX$", 120, 3), 580);
  EXPECT_EQ(Shift("CONX$", 390, 2), 290);
  EXPECT_EQ(Shift("CONX$", 391, 2), 0);
  EXPECT_EQ(Shift("DICX$", 100, 2), 0);
  EXPECT_EQ(Shift("DICX$", 101, 2), 10);
  EXPECT_EQ(Shift("M77X$", 256, 2), 255);
  EXPECT_EQ(Shift("M77X$", 3571, 3), 0);
  EXPECT_EQ(Shift("DIPX$", 120, 5), 0);
}

TEST(RepeatedGroups, F24RangesHaveTheirOwnStrides) {
  const std::pair<int, int> cases[] = {{41, 0},    {42, 36},   {813, 63},  {1077, 35}, {1101, 0},
                                       {1229, 35}, {4140, 35}, {4141, 0},  {4359, 51}, {4867, 55},
                                       {5000, 4},  {5001, 0},  {5414, 4},  {5102, 0},  {5483, 2}};
  for (const auto& [offset, stride] : cases) EXPECT_EQ(Shift("F24X$", offset, 2), stride) << offset;
}

TEST(RepeatedGroups, SecondEmployeeRecordRepeatsFromIdNumberOneHundred) {
  EXPECT_EQ(Shift("DI2X$", 10, 46, "I100"), 45 * 714);
  EXPECT_EQ(Shift("DI2X$", 10, 3, "I099"), 0);
  const auto missing = vx::archive::RepoSpostamento("DI2X$,00010,10,A,0,K100", 2);
  EXPECT_TRUE(missing.unknown_id_letter);
  EXPECT_EQ(missing.shift, 0);
  try {
    Shift("DI2X$", 10, 47, "I100");
    FAIL() << "a shift beyond 16 bits went through";
  } catch (const vx::platform::RuntimeError& error) {
    EXPECT_EQ(error.number, 6);
  }
}
