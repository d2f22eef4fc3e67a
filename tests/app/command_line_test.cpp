#include "app/command_line.h"

#include <gtest/gtest.h>

namespace vx::app {
namespace {

CommandLine Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLine, ListingOptionsAreReadWithTheirValues) {
  const CommandLine cl = Parse({"--batch", "--month", "07", "--year", "2024", "--listing", "detailed", "--output",
                                "pdf", "--sort", "name", "--bank", "2", "--totals", "--separate", "--bold",
                                "--description", "Tredicesima", "--print-to", "out"});
  EXPECT_EQ(cl.month, 7);
  EXPECT_EQ(cl.year, 2024);
  EXPECT_EQ(cl.listing, ListingKind::Detailed);
  EXPECT_EQ(cl.output, OutputKind::Pdf);
  EXPECT_EQ(cl.sort, SortOrder::Name);
  EXPECT_EQ(cl.bank, 2);
  EXPECT_TRUE(cl.totals && cl.separate && cl.bold);
  EXPECT_EQ(cl.description, "Tredicesima");
  EXPECT_EQ(cl.print_to, "out");
  EXPECT_FALSE(cl.companies);
  EXPECT_TRUE(Parse({"--batch", "--companies"}).companies);
}

TEST(CommandLine, PeriodOutsideTheCalendarIsAUsageError) {
  for (const char* month : {"0", "13", "-1", "7a", "", "007"}) {
    EXPECT_THROW(Parse({"--batch", "--month", month}), UsageError) << month;
  }
  for (const char* year : {"24", "20245", "2o24", "+2024"}) {
    EXPECT_THROW(Parse({"--batch", "--year", year}), UsageError) << year;
  }
  EXPECT_NO_THROW(Parse({"--batch", "--month", "12", "--year", "0999"}));
}

TEST(CommandLine, AnythingUnknownOrIncompleteIsAUsageError) {
  EXPECT_THROW(Parse({"--batch", "--colour"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--month"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--bank", "3"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--listing", "short"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--output", "screen"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--sort", "date"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--bold", "--bold"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--month", "1", "--month", "2"}), UsageError);
  EXPECT_THROW(Parse({"--companies"}), UsageError);  // batch only
  EXPECT_THROW(Parse({"--batch", "--companies", "--month", "3"}), UsageError);
}

TEST(CommandLine, DescriptionKeepsThirtyCharactersCountedAsTyped) {
  std::string accented;  // thirty characters, sixty bytes of UTF-8
  for (int i = 0; i < 30; ++i) accented += "\xC3\xA0";
  EXPECT_EQ(Parse({"--batch", "--description", accented}).description, accented);
  EXPECT_EQ(Parse({"--batch", "--description", accented + "ab\xC3\xA0"}).description, accented);
}

}  // namespace
}  // namespace vx::app
