#include "archive/trace.h"

#include <gtest/gtest.h>

using vx::archive::TraceListing;
using vx::archive::TraceRing;

TEST(Trace, ARepeatedNameIsRecordedOnce) {
  TraceRing ring;
  int16_t newest = 0;
  vx::archive::TRACCIA(ring, newest, "FAIOPEN");
  vx::archive::TRACCIA(ring, newest, "FAIOPEN");
  vx::archive::TRACCIA(ring, newest, "LEGGIREC (5-1)");
  vx::archive::TRACCIA(ring, newest, "FAIOPEN");
  EXPECT_EQ(newest, 3);
  EXPECT_EQ(ring[1], "FAIOPEN");
  EXPECT_EQ(ring[2], "LEGGIREC (5-1)");
  EXPECT_EQ(ring[3], "FAIOPEN");
}

TEST(Trace, KeepsTheLastTenNamesAndListsThemOldestFirst) {
  TraceRing ring;
  int16_t newest = 0;
  for (int i = 1; i <= 12; ++i) vx::archive::TRACCIA(ring, newest, "P" + std::to_string(i));
  EXPECT_EQ(newest, 2);
  EXPECT_TRUE(ring[0].empty());
  EXPECT_EQ(TraceListing(ring, newest),
            "P3\r\nP4\r\nP5\r\nP6\r\nP7\r\nP8\r\nP9\r\nP10\r\nP11\r\nP12\r\n");
}

TEST(Trace, ListsEmptySlotsBeforeTheFirstNamesOfARun) {
  TraceRing ring;
  int16_t newest = 0;
  EXPECT_EQ(TraceListing(ring, newest), "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  vx::archive::TRACCIA(ring, newest, "A");
  vx::archive::TRACCIA(ring, newest, "B");
  EXPECT_EQ(TraceListing(ring, newest), "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nA\r\nB\r\n");
}
