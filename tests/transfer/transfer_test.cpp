// The credit-transfer library: the TARGET2 calendar, the bank's character
// set, the debtor settings read strictly, the documents judged by the
// published schemas with xmllint, and files that appear whole or not at all.

#include <sys/resource.h>
#include <sys/stat.h>

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

// What each fault says, one line per fault: "line company: message".
std::string FaultText(const DebtorSettings& settings) {
  std::string text;
  for (const auto& f : settings.Faults()) text += std::to_string(f.line) + " " + f.company + ": " + f.message + "\n";
  return text;
}

TEST(DebtorSettings, RepeatsStrayKeysAndBadHeadersAreFaultsOfTheCompanyTheyTouch) {
  const auto settings = DebtorSettings::Parse(
      "\xEF\xBB\xBFIBAN = IT00\r"          // 1: before any section
      "[ditta 001  conto 0]\r\n"            // 2
      " iban = IT60X0542811101000000123456 \r"
      "Codice Fiscale=01234560017\n"        // 4
      "not a setting\n"                     // 5
      "[DITTA 002 CONTO 0]\n"               // 6
      "IBAN = B\n"                          // 7
      "iban=C\n"                            // 8: the same key again
      "[DITTA 003 CONTO 0]\n"               // 9
      "IBAN = D\n"                          // 10
      " ; [DITTA 004 CONTO 0]\n"            // 11: commented out, ends 003
      "IBAN = E\n"                          // 12
      "[DITTA 005 CONTO 0\n"                // 13
      "IBAN = F\n"                          // 14
      "[DITTA 6 CONTO 0]\n"                 // 15
      "[DITTA 0O7 CONTO 0]\n"               // 16: no company to read
      "BIC = X\n"                           // 17
      "[Ditta 003 Conto 0]\n"               // 18: the same section again
      "IBAN = G\n"                          // 19
      "# [DITTA 007 CONTO 0]\r\n\r\n"       // 20, 21
      "[DITTA 007 CONTO 1]\nBIC = BPMOIT22XXX");
  EXPECT_EQ(FaultText(settings),
            "1 : chiave IBAN fuori da ogni sezione valida (prima della prima sezione)\n"
            "5 001: testo 'not a setting' non riconosciuto (attese sezioni [DITTA nnn CONTO n] e righe CHIAVE = "
            "valore)\n"
            "8 002: chiave IBAN ripetuta nella sezione [DITTA 002 CONTO 0] (gi\xE0 alla riga 7)\n"
            "12 004: chiave IBAN fuori da ogni sezione valida (la sezione [DITTA 004 CONTO 0] alla riga 11 \xE8 "
            "commentata)\n"
            "13 005: intestazione '[DITTA 005 CONTO 0' non valida (attesa [DITTA nnn CONTO n])\n"
            "14 005: chiave IBAN fuori da ogni sezione valida (l'intestazione alla riga 13 non \xE8 valida)\n"
            "15 006: intestazione '[DITTA 6 CONTO 0]' non valida (attesa [DITTA nnn CONTO n])\n"
            "16 : intestazione '[DITTA 0O7 CONTO 0]' non valida (attesa [DITTA nnn CONTO n])\n"
            "17 : chiave BIC fuori da ogni sezione valida (l'intestazione alla riga 16 non \xE8 valida)\n"
            "18 003: sezione [DITTA 003 CONTO 0] ripetuta (gi\xE0 alla riga 9)\n");
  // Values are kept as given, the first of a repeat; each company at fault is marked.
  const auto* first = settings.Find("001", 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->at("IBAN"), "IT60X0542811101000000123456");
  EXPECT_EQ(first->at("CODICE FISCALE"), "01234560017");
  EXPECT_EQ(settings.Find("003", 0)->at("IBAN"), "D");
  EXPECT_EQ(settings.Find("007", 1)->at("BIC"), "BPMOIT22XXX");
  EXPECT_EQ(settings.Find("007", 0), nullptr);
  EXPECT_EQ(settings.FaultyLine("003"), 18);
  EXPECT_EQ(settings.FaultyLine("004"), 12);
  EXPECT_EQ(settings.FaultyLine("007"), 0);

  // A flood is counted, not kept.
  std::string flood;
  for (int i = 0; i < 5000; ++i) flood += "?\n";
  EXPECT_EQ(DebtorSettings::Parse(flood).Faults().size(), DebtorSettings::kKeptFaults);
  EXPECT_EQ(DebtorSettings::Parse(flood).FaultCount(), 5000u);
}

TEST(DebtorSettingsFile, OnlyARegularFileOfAtMostAMegabyteIsRead) {
  vx::testing::TempFolder folder;
  const fs::path file = folder.Path() / "settings.ini";
  EXPECT_EQ(ReadDebtorSettingsFile(file).state, DebtorSettingsFile::State::Missing);
  std::ofstream(file) << "[DITTA 001 CONTO 0]\n";
  fs::create_symlink(file, folder.Path() / "link.ini");
  for (const fs::path& readable : {file, folder.Path() / "link.ini"}) {
    const auto read = ReadDebtorSettingsFile(readable);
    EXPECT_EQ(read.state, DebtorSettingsFile::State::Read);
    EXPECT_EQ(read.text, "[DITTA 001 CONTO 0]\n");
  }
  fs::resize_file(file, kDebtorSettingsMaxBytes);
  EXPECT_EQ(ReadDebtorSettingsFile(file).text.size(), kDebtorSettingsMaxBytes);

  // A FIFO without a writer would block an open that waits for one.
  ASSERT_EQ(mkfifo((folder.Path() / "fifo.ini").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", folder.Path() / "zero.ini");
  fs::create_directory(folder.Path() / "folder.ini");
  fs::resize_file(file, 50 << 20);
  for (const auto& [name, problem] : std::vector<std::pair<const char*, std::string>>{
           {"fifo.ini", "\xE8 una FIFO, non un file"},
           {"zero.ini", "\xE8 un dispositivo, non un file"},
           {"folder.ini", "\xE8 una cartella, non un file"},
           {"settings.ini", "troppo grande (52428800 byte, al massimo 1048576)"}}) {
    const auto read = ReadDebtorSettingsFile(folder.Path() / name);
    EXPECT_EQ(read.state, DebtorSettingsFile::State::Unusable) << name;
    EXPECT_EQ(read.problem, problem) << name;
  }
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
