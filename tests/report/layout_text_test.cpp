// The small text rules of the listing: page numbers, counts, amounts, the
// description and the IBAN.

#include <gtest/gtest.h>

#include "report/layout_text.h"

namespace vx::report {
namespace {

// The common cases are in every listing the layout and run tests read; here
// the edges no listing there reaches.
TEST(LayoutText, EdgesOfPagesAmountsAndCoordinates) {
  EXPECT_EQ(PageNumberText(100), "00");
  EXPECT_EQ(AmountText(0.005, 11), "       0.01");
  EXPECT_EQ(AmountText(-0.5, 11), "       -.50");
  EXPECT_EQ(AmountText(123456789012.34, 11), "56789012.34");  // too wide: its end is kept
  // Any account but one of 13 characters is padded or cut to its last 12;
  // country, check digits and CIN go in as stored, blanks and all.
  EXPECT_EQ(IbanText(2, "IT", "60", "X", "3599", "1600", "ABCD123456789012"), "IT60X0359901600123456789012");
  EXPECT_EQ(IbanText(0, "  ", "  ", " ", "", "", ""), "     " + std::string(22, '0'));
  EXPECT_EQ(CinAbiCab("", "03599", "1600"), "03599 01600");
}

}  // namespace
}  // namespace vx::report
