// The small text rules of the listing: page numbers, counts, amounts, the
// description and the IBAN.

#include <gtest/gtest.h>

#include "report/layout_text.h"

namespace vx::report {
namespace {

TEST(LayoutText, PagesHaveTwoDigitsAndCountsThree) {
  EXPECT_EQ(PageNumberText(1), "01");
  EXPECT_EQ(PageNumberText(7), "07");
  EXPECT_EQ(PageNumberText(100), "00");
  EXPECT_EQ(PageNumberText(123), "23");
  EXPECT_EQ(CountText(0), "000");
  EXPECT_EQ(CountText(7), "007");
  EXPECT_EQ(CountText(1234), "234");
}

TEST(LayoutText, AmountsAreRoundedAndAlignedOnTheRight) {
  EXPECT_EQ(AmountText(1234.5, 11), "    1234.50");
  EXPECT_EQ(AmountText(0.005, 11), "       0.01");
  EXPECT_EQ(AmountText(0, 11), "       0.00");
  EXPECT_EQ(AmountText(-0.5, 11), "       -.50");
  EXPECT_EQ(AmountText(1234.56, 70), std::string(63, ' ') + "1234.56");
  EXPECT_EQ(AmountText(123456789012.34, 11), "56789012.34");  // too wide: its end is kept
}

TEST(LayoutText, IbanHasThreeLayouts) {
  // Selector 1: 4 + 4 + 14 digits.
  EXPECT_EQ(IbanText(1, "IT", "60", "X", "03599", "001600", "123   "),
            "IT60X3599160000000000000123");
  // Exactly 13 characters of account: 5 + 5 + 13.
  EXPECT_EQ(IbanText(0, "IT", "60", "X", "03599", "001600", " 1234567890123"),
            "IT60X03599016001234567890123");
  // Any other length: 5 + 5 + 12, padded or cut to its last 12.
  EXPECT_EQ(IbanText(0, "IT", "60", "X", "03599", "001600", "123"),
            "IT60X0359901600000000000123");
  EXPECT_EQ(IbanText(2, "IT", "60", "X", "3599", "1600", "ABCD123456789012"),
            "IT60X0359901600123456789012");
  // Country, check digits and CIN go in as stored, blanks and all.
  EXPECT_EQ(IbanText(0, "  ", "  ", " ", "", "", ""), "     " + std::string(22, '0'));
}

TEST(LayoutText, CinAbiCabKeepsTheAbiAsStored) {
  EXPECT_EQ(CinAbiCab("X", "03599", "001600"), "X 03599 01600");
  EXPECT_EQ(CinAbiCab("", "03599", "1600"), "03599 01600");
}

}  // namespace
}  // namespace vx::report
