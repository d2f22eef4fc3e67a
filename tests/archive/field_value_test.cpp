#include "archive/field_value.h"

#include <gtest/gtest.h>

#include "archive/descriptors.h"
#include "platform/errors.h"

using vx::archive::FieldText;

TEST(FieldValue, NumbersGetTheirPointAndSignAndKeepLeadingZeros) {
  const std::string record = std::string(1670, ' ') + "-000123456";
  EXPECT_EQ(FieldText(vx::archive::fields::kEmployeeNetPay, 0, record), "-00001234.56");
  EXPECT_EQ(FieldText("DIPX$,00002,03,N,0,P001", 0, "X   Y"), "   ");
}

TEST(FieldValue, TextTypesComeBackAsTheyAreCutWhereTheRecordEnds) {
  EXPECT_EQ(FieldText("DIPX$,00001,04,D,0,Q001", 0, "1-2-"), "1-2-");
  EXPECT_EQ(FieldText("DIPX$,00004,10,A,0,P001", 0, "12345"), "45");
  EXPECT_EQ(FieldText("DIPX$,00009,10,2,0,P001", 0, "12345"), "");
  EXPECT_EQ(FieldText("CONX$,00002,02,A,0,G001", 3, "abcdefg"), "ef");
}

TEST(FieldValue, StartOutsideSixteenBitsOrBeforeTheRecordIsARuntimeError) {
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
