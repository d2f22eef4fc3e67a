#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace vx::platform {
namespace {

TEST(Codepage, Cp1252RoundTripsThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80 \x8A \x9F \xE0"), "\xE2\x82\xAC \xC5\xA0 \xC5\xB8 \xC3\xA0");
}

TEST(Codepage, WhatCp1252LacksBecomesQuestionMark) {
  EXPECT_EQ(Utf8ToCp1252("\xCE\xA9 \xF0\x9F\x98\x80 \xC3"), "? ? ?");
  EXPECT_EQ(Utf16ToCp1252(u"\u20AC\u03A9\U0001F600"), "\x80??");
}

TEST(Codepage, LowerCaseCoversTheCodePageLetters) {
  EXPECT_EQ(Cp1252Lower("ABC\xC0\xC9\xD7\xDE\x8A\x9F xyz"), "abc\xE0\xE9\xD7\xFE\x9A\xFF xyz");
}

}  // namespace
}  // namespace vx::platform
