// The credit-transfer library: the TARGET2 calendar, the bank's character
// set, the debtor settings, the documents judged by the published schemas
// with xmllint, and files that appear whole or not at all.

#include <sys/resource.h>

#include <csignal>

#include <gtest/gtest.h>

#include <fstream>

#include "support/schema_check.h"
#include "support/temp_folder.h"
#include "transfer/credit_transfer.h"
#include "transfer/debtor_settings.h"
#include "transfer/epc_text.h"
#include "transfer/target_calendar.h"
#include "platform/errors.h"
#include "platform/finished_file.h"

namespace vx::transfer {
namespace {

namespace fs = std::filesystem;

Date D(const char* iso) { return *ParseIsoDate(iso); }

TEST(TargetCalendar, EasterByTheComputus) {
  for (const char* easter : {"1818-03-22", "1943-04-25", "2000-04-23", "2024-03-31", "2025-04-20", "2026-04-05",
                             "2038-04-25"}) {
    EXPECT_EQ(IsoDate(EasterSunday(static_cast<int>(D(easter).year()))), easter);
  }
}

TEST(TargetCalendar, ClosingDaysAndTheNextBusinessDay) {
  for (const char* closed : {"2026-01-01", "2026-04-03", "2026-04-06", "2026-05-01", "2026-12-25", "2026-12-05",
                             "2026-12-06"}) {
    EXPECT_TRUE(IsClosingDay(D(closed))) << closed;
  }
  // Ferragosto, Christmas Eve and Easter Tuesday are Italian custom, not TARGET2 holidays.
  for (const char* open : {"2025-08-15", "2025-12-24", "2026-04-07", "2026-12-07"}) {
    EXPECT_FALSE(IsClosingDay(D(open))) << open;
  }
  EXPECT_EQ(IsoDate(NextBusinessDay(D("2026-12-24"))), "2026-12-28");
  EXPECT_EQ(IsoDate(NextBusinessDay(D("2025-04-17"))), "2025-04-22");
  EXPECT_EQ(IsoDate(NextBusinessDay(D("2025-12-31"))), "2026-01-02");
  EXPECT_EQ(IsoDate(NextBusinessDay(D("2026-12-07"))), "2026-12-08");
}

TEST(TargetCalendar, OnlyRealDatesInIsoFormParse) {
  EXPECT_TRUE(ParseIsoDate("2024-02-29"));
  for (const char* bad : {"2025-02-29", "2025-13-01", "2025-1-05", "05/01/2025", "2025-01-05x", ""}) {
    EXPECT_FALSE(ParseIsoDate(bad)) << bad;
  }
}

TEST(EpcText, AccentsAreDroppedAndOtherSignsReplaced) {
  EXPECT_EQ(EpcText("SOCIET\xC0 COOPERATIVA", 70), "SOCIETA COOPERATIVA");
  EXPECT_EQ(EpcText("Jos\xE9 N\xFA\xF1" "ez \xC8\xCC\xD2\xD9", 70), "Jose Nunez EIOU");
  EXPECT_EQ(EpcText("D\x92" "ANGELO NICOLO'", 70), "D'ANGELO NICOLO'");
  EXPECT_EQ(EpcText("GRO\xDF \xC6SIR \x8C" "UVRE", 70), "GROss AESIR OEUVRE");
  EXPECT_EQ(EpcText("A&B <SRL> \"X\" 50% \x80", 70), "A+B .SRL. .X. 50. EUR");
  EXPECT_EQ(EpcText("  ROSSI    MARIO\t ", 70), "ROSSI MARIO");
  EXPECT_EQ(EpcText("/-?:().,'+ az09", 70), "/-?:().,'+ az09");
  EXPECT_EQ(EpcText(std::string(80, 'A'), 70), std::string(70, 'A'));
  EXPECT_EQ(EpcText("AB CD", 3), "AB");
}

TEST(DebtorSettings, SectionsPerCompanyAndSlotWhateverTheCase) {
  const auto settings = DebtorSettings::Parse(
      "; comment\r\n[ditta 001  conto 0]\r\n iban = IT60X0542811101000000123456 \r\n"
      "Codice Fiscale=01234567890\r\n# another\r\nnot a setting\r\n[DITTA 001 CONTO 1]\nBIC = BPMOIT22XXX\n");
  const auto* first = settings.Find("001", 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->at("IBAN"), "IT60X0542811101000000123456");
  EXPECT_EQ(first->at("CODICE FISCALE"), "01234567890");
  EXPECT_EQ(settings.Find("001", 1)->at("BIC"), "BPMOIT22XXX");
  EXPECT_EQ(settings.Find("001", 2), nullptr);
  EXPECT_EQ(settings.UnreadLines(), std::vector<int>{6});
}

TransferDocument Sample(TransferKind kind, bool with_bics) {
  TransferDocument doc;
  doc.kind = kind;
  doc.message_id = "STIP-202511-001B0-20251127093000";
  doc.payment_info_id = doc.message_id + "-1";
  doc.created = "2025-11-27T09:30:00";
  doc.execution_date = D("2025-11-28");
  doc.debtor = {EpcText("SOCIET\xC0 A&B", 70), "VIA ROMA 1", "20100", "MILANO", with_bics ? "MI" : "",
                "IT60X0542811101000000123456", with_bics ? "BPMOIT22XXX" : "", "1234567A", "01234567890"};
  doc.payments.push_back({"1", "202511-0010010001B0-20251127093000", "ROSSI MARIO", "IT60X0306911600000000123456",
                          with_bics ? "BCITITMM" : "", 10, "STIPENDIO NOVEMBRE 2025"});
  doc.payments.push_back({"2", "202511-0010010002B0-20251127093000", EpcText("NICOL\xD2 ANNA", 70),
                          "DE89370400440532013000", "", 20, "STIPENDIO NOVEMBRE 2025 TREDICESIMA"});
  return doc;
}

TEST(TransferDocument, CbiAndSepaFilesValidateAgainstThePublishedSchemas) {
  if (vx::testing::OraclesFolder().empty()) GTEST_SKIP() << "no ../shared/oracles folder with the bank schemas";
  vx::testing::TempFolder folder;
  for (const bool with_bics : {true, false}) {
    for (const auto& [kind, schema] : {std::pair{TransferKind::Cbi, vx::testing::kCbiSchema},
                                       std::pair{TransferKind::Sepa, vx::testing::kSepaSchema}}) {
      const fs::path file = folder.Path() / "transfer.xml";
      const std::string xml = WriteTransferDocument(Sample(kind, with_bics));
      vx::platform::WriteFinishedFile(file, xml);
      EXPECT_EQ(vx::testing::SchemaErrors(file, schema), "") << xml;
      // Ten and twenty cents make thirty, not a binary fraction near it.
      EXPECT_NE(xml.find("<CtrlSum>0.30</CtrlSum>"), std::string::npos);
      EXPECT_NE(xml.find("<Nm>SOCIETA A+B</Nm>"), std::string::npos);
    }
  }
}

TEST(TransferDocument, AmountsInWholeCents) {
  EXPECT_EQ(Amount(123450), "1234.50");
  EXPECT_EQ(Amount(5), "0.05");
  EXPECT_EQ(Amount(99999999999), "999999999.99");
}

TEST(FinishedFile, ReplacesTheFileWhollyOrLeavesTheFolderAsItWas) {
  vx::testing::TempFolder folder;
  const fs::path file = folder.Path() / "CBI.xml";
  std::ofstream(folder.Path() / "cbi.XML") << "old, in another letter case";
  EXPECT_EQ(vx::platform::WriteFinishedFile(file, "new").other_case, std::vector<std::string>{"cbi.XML"});
  std::ifstream in(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator{}), 1);

  // A disk that fills half way, and a folder that is a file: the write
  // fails and nothing is left.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 10;
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(vx::platform::WriteFinishedFile(folder.Path() / "full.xml", std::string(100, 'x')),
               vx::platform::RuntimeError);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_THROW(vx::platform::WriteFinishedFile(file / "other.xml", "x"), vx::platform::RuntimeError);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator{}), 1);
}

}  // namespace
}  // namespace vx::transfer
