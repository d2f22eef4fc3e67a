#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace vx::app {
namespace {

CommandLine Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLine, ListingOptionsAreReadWithTheirValues) {
  const CommandLine cl = Parse({"--batch", "--month", "07", "--year", "2024", "--listing", "detailed", "--output",
                                "pdf", "--sort", "name", "--bank", "2", "--totals", "--separate", "--bold",
                                "--description", "Tredicesima", "--print-to", "out", "--lock-timeout", "90",
                                "--transfer", "cbi", "--execution-date", "2024-08-01", "--protection", "aes256"});
  EXPECT_EQ(cl.month, 7);
  EXPECT_EQ(cl.year, 2024);
  EXPECT_EQ(cl.listing, ListingKind::Detailed);
  EXPECT_EQ(cl.output, OutputKind::Pdf);
  EXPECT_EQ(cl.sort, SortOrder::Name);
  EXPECT_EQ(cl.bank, 2);
  EXPECT_TRUE(cl.totals && cl.separate && cl.bold);
  EXPECT_EQ(cl.description, "Tredicesima");
  EXPECT_EQ(cl.print_to, "out");
  EXPECT_EQ(cl.lock_timeout, 90);
  EXPECT_EQ(cl.transfer, vx::transfer::TransferKind::Cbi);
  EXPECT_EQ(vx::transfer::IsoDate(*cl.execution_date), "2024-08-01");
  EXPECT_EQ(Parse({"--batch", "--transfer", "sepa"}).transfer, vx::transfer::TransferKind::Sepa);
  EXPECT_EQ(cl.protection, PdfProtection::Aes256);
  EXPECT_FALSE(cl.companies);
  EXPECT_TRUE(Parse({"--batch", "--companies"}).companies);
}

TEST(CommandLine, PeriodOutsideTheCalendarIsAUsageError) {
  for (const char* month : {"0", "13", "-1", "7a", "", "007"}) {
    EXPECT_THROW(Parse({"--batch", "--month", month}), UsageError) << month;
  }
  for (const char* year : {"24", "20245", "2o24", "+2024", "0000"}) {
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
  EXPECT_THROW(Parse({"--batch", "--protection", "aes128"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--lock-timeout", "1.5"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--bold", "--bold"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--month", "1", "--month", "2"}), UsageError);
  EXPECT_THROW(Parse({"--companies"}), UsageError);  // batch only
  EXPECT_THROW(Parse({"--batch", "--companies", "--month", "3"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--transfer", "xml"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--transfer", "cbi", "--execution-date", "2026-02-30"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--execution-date", "2026-12-07"}), UsageError);  // needs --transfer
}

TEST(CommandLine, CheckTakesOnlyThePeriodAndTheBank) {
  const CommandLine cl = Parse({"--batch", "--check", "--month", "3", "--year", "2025", "--bank", "1"});
  EXPECT_TRUE(cl.check);
  EXPECT_TRUE(Parse({"--batch", "--output", "pdf", "--strict"}).strict);
  EXPECT_THROW(Parse({"--batch", "--check", "--output", "pdf"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--check", "--strict"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--strict", "--no-check"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--companies", "--check"}), UsageError);
}

TEST(CommandLine, BankReportsAndHistoryStandAloneWithTheirFewOptions) {
  const CommandLine answers = Parse({"--batch", "--bank-report", "a.xml", "b c.xml", "--lock-timeout", "5"});
  EXPECT_EQ(answers.bank_reports, (std::vector<std::string>{"a.xml", "b c.xml"}));
  EXPECT_EQ(answers.lock_timeout, 5);
  const CommandLine history = Parse({"--batch", "--history", "--month", "3", "--year", "2025"});
  EXPECT_TRUE(history.history);
  EXPECT_EQ(history.month, 3);
  EXPECT_THROW(Parse({"--batch", "--bank-report"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--bank-report", "--history"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--bank-report", "a.xml", "--history"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--bank-report", "a.xml", "--month", "3"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--bank-report", "a.xml", "--bank-report", "b.xml"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--history", "--transfer", "cbi"}), UsageError);
  EXPECT_THROW(Parse({"--batch", "--history", "--companies"}), UsageError);
}

// A longer text is cut, and the run is told so; a control character, which
// would reach the PDF file names, is refused.
TEST(CommandLine, DescriptionKeepsThirtyCharactersCountedAsTypedOnOneLine) {
  std::string accented;  // thirty characters, sixty bytes of UTF-8
  for (int i = 0; i < 30; ++i) accented += "\xC3\xA0";
  const CommandLine whole = Parse({"--batch", "--description", accented});
  EXPECT_EQ(whole.description, accented);
  EXPECT_FALSE(whole.description_cut);
  const CommandLine cut = Parse({"--batch", "--description", accented + "ab\xC3\xA0"});
  EXPECT_EQ(cut.description, accented);
  EXPECT_TRUE(cut.description_cut);
  for (const char* text : {"tredicesima\nnovembre", "\x1B[2J", "a\tb", "\xC2\x9B" "31m", "del\x7F"}) {
    EXPECT_THROW(Parse({"--batch", "--description", text}), UsageError) << text;
  }
}

// True when a line of `text`, leading blanks aside, starts with `start`:
// where --help and the manual page name an option they describe.
bool HasLineStartingWith(const std::string& text, const std::string& start) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos && line.compare(first, start.size(), start) == 0) return true;
  }
  return false;
}

// The manual page as `man` shows it.
std::string RenderedManualPage() {
  FILE* pipe = popen("MANWIDTH=100 man -l '" VX_MANUAL_PAGE "' 2>&1", "r");
  std::string text;
  if (pipe == nullptr) return text;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  pclose(pipe);
  return text;
}

TEST(CommandLine, EveryOptionIsReadAndDocumentedInHelpAndManualPage) {
  const std::string help = UsageText();
  const std::string manual = RenderedManualPage();
  ASSERT_NE(manual.find("EXIT STATUS"), std::string::npos) << manual;
  for (const OptionHelp& option : Options()) {
    const std::string name(option.name);
    // A listed option the parser has no branch for raises std::logic_error;
    // a usage error (a value it does not take) shows the branch is there.
    try {
      Parse({"--batch", name, "1"});
    } catch (const UsageError&) {
    }
    std::string tag = option.alias.empty() ? name : std::string(option.alias) + ", " + name;
    if (!option.value.empty()) tag += " " + std::string(option.value);
    EXPECT_TRUE(HasLineStartingWith(help, tag)) << tag << " in\n" << help;
    EXPECT_TRUE(HasLineStartingWith(manual, tag)) << tag << " in\n" << manual;
  }
  EXPECT_TRUE(Parse({"--version"}).version);  // like --help, without --batch
}

}  // namespace
}  // namespace vx::app
