#include "archive/field_value.h"

#include <gtest/gtest.h>

#include "archive/descriptors.h"
#include "platform/errors.h"

using vx::archive::FieldText;

namespace {
// A record with `field` at the 1-based position `at`.
std::string RecordWith(size_t at, const std::string& field) {
  std::string record(at - 1, ' ');
  return record + field + "   ";
}
}  // namespace

TEST(FieldValue, NumberWithImpliedDecimalsGetsItsPointAndKeepsLeadingZeros) {
  const auto net = vx::archive::fields::kEmployeeNetPay;
  EXPECT_EQ(FieldText(net, 0, RecordWith(1671, "0000123456")), "00001234.56");
  EXPECT_EQ(FieldText(net, 0, RecordWith(1671, "-000123456")), "-00001234.56");
}

TEST(FieldValue, TextTypesComeBackAsTheyAreBlanksIncluded) {
  EXPECT_EQ(FieldText("DIPX$,00003,10,A,0,P001", 0, "  001001-0001  "), "001001-000");
  EXPECT_EQ(FieldText("DIPX$,00001,04,D,0,Q001", 0, "1-2-"), "1-2-");
  EXPECT_EQ(FieldText("DIPX$,00001,04,0,0,Q001", 0, "12-4"), "12-4");
}

TEST(FieldValue, WholeNumberOfBlanksStaysBlank) {
  EXPECT_EQ(FieldText("DIPX$,00002,03,N,0,P001", 0, "X   Y"), "   ");
}

TEST(FieldValue, FieldIsCutWhereTheRecordEnds) {
  EXPECT_EQ(FieldText("DIPX$,00004,10,A,0,P001", 0, "12345"), "45");
  EXPECT_EQ(FieldText("DIPX$,00009,10,A,0,P001", 0, "12345"), "");
  EXPECT_EQ(FieldText("DIPX$,00001,10,2,0,P001", 0, ""), "");
}

TEST(FieldValue, ShiftMovesTheStart) {
  EXPECT_EQ(FieldText("CONX$,00002,02,A,0,G001", 3, "abcdefg"), "ef");
}

TEST(FieldValue, StartBeyondSixteenBitsOrBeforeTheRecordIsARuntimeError) {
  auto number_of = [](std::string_view descriptor, int shift) {
    try {
      FieldText(descriptor, shift, "abc");
    } catch (const vx::platform::RuntimeError& error) {
      return error.number;
    }
    return 0;
  };
  EXPECT_EQ(number_of("F24X$,32000,02,A,0,A001", 1000), 6);
  EXPECT_EQ(number_of("F24X$,00000,02,A,0,A001", 0), 5);
  EXPECT_EQ(number_of("F24X$,00001,02,6,0,A001", 0), 5);  // more decimals than digits
}
