#include "archive/trace.h"

#include <gtest/gtest.h>

using vx::archive::TRACCIA;

TEST(Trace, ARepeatedNameIsRecordedOnceOnlyWhenConsecutive) {
  vx::archive::TraceRing ring;
  int16_t newest = 0;
  for (const char* name : {"FAIOPEN", "FAIOPEN", "LEGGIREC (5-1)", "FAIOPEN"}) TRACCIA(ring, newest, name);
  EXPECT_EQ(newest, 3);
  EXPECT_EQ(vx::archive::TraceListing(ring, newest),
            "\r\n\r\n\r\n\r\n\r\n\r\n\r\nFAIOPEN\r\nLEGGIREC (5-1)\r\nFAIOPEN\r\n");
}

TEST(Trace, KeepsTheLastTenNamesAndListsThemOldestFirst) {
  vx::archive::TraceRing ring;
  int16_t newest = 0;
  for (int i = 1; i <= 12; ++i) TRACCIA(ring, newest, "P" + std::to_string(i));
  EXPECT_EQ(newest, 2);
  EXPECT_TRUE(ring[0].empty());
  EXPECT_EQ(vx::archive::TraceListing(ring, newest),
            "P3\r\nP4\r\nP5\r\nP6\r\nP7\r\nP8\r\nP9\r\nP10\r\nP11\r\nP12\r\n");
}
