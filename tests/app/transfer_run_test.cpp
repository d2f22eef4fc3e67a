// `vxorel --batch --transfer` end to end: the salary transfer files are
// judged by the published schemas and compared field by field with the BONI
// file of the same run by python-lxml and python-stdnum, never by our own
// reader.

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/transfer_files.h"
#include "listing_world.h"
#include "register/transfer_register.h"
#include "support/bank_answer.h"
#include "support/register_agreement.h"
#include "support/schema_check.h"
#include "support/shell.h"

namespace vx::app::test {
namespace {

namespace fs = std::filesystem;
using vx::testing::Quote;

class TransferRun : public ::testing::Test, public ListingWorld {
 protected:
  TransferRun() {
    Company(1, "SOCIET\xC0 ALFA");
    Company(2, "BETA SPA");
    Payable(Employee("0010010001", "ROSSI", "MARIO", kBankX, 123450), kBankX);
    Payable(Employee("0010010002", "NICOL\xD2", "ANDR\xC8", kBankY, 10), kBankY);
    // A check digit keyed wrong, a net pay of zero, an account outside SEPA.
    Payable(Employee("0010010003", "VERDI", "LUCA", kBankZ, 50000), kBankZ).SetText(fields::kEmployeeIbanCheckDigits, "61");
    Payable(Employee("0010010004", "BIANCHI", "ELSA", kBankX, 0), kBankX);
    Payable(Employee("0010010005", "SMITH", "JOHN", kBankY, 70000), kBankY).SetText(fields::kEmployeeIbanCountry, "US");
    // A BIC of zeros is no BIC: the transaction goes without a creditor agent.
    Payable(Employee("0010010006", "GIALLI", "PIA", kBankZ, 20), kBankZ).SetText(fields::kEmployeeBic, "00000000000");
    Payable(Employee("0020010007", "NERI", "ANNA", kBankY, 200000), kBankY);
    // A German BIC on an Italian IBAN: paid by the IBAN alone.
    Payable(Employee("0010010008", "ROSA", "ADA", kBankX, 3000), kBankX)
        .SetText(fields::kEmployeeBic, "DEUTDEFFXXX");
    // Company 002 has no section: it gets no file, 001 gets its own.
    builder.SetDebtorSettings(
        "; conti di addebito\r\n[DITTA 001 CONTO 0]\r\nIBAN = IT60X0542811101000000123456\r\n"
        "BIC = BPMOIT22XXX\r\nCUC = 1234567A\r\nCODICEFISCALE = 01234560017\r\n");
    builder.Write(folder.Path());
  }

  vx::testing::CommandResult Vxorel(const std::string& arguments) {
    return vx::testing::Shell("WINEPREFIX=" + Quote(folder.Path()) + " " + VXOREL_EXECUTABLE + " --batch " +
                              arguments);
  }
  fs::path TransferFolder() const { return ArchivesFolder().parent_path() / "FILE-BONIFICI"; }
  // A business day to come, whatever day the test runs.
  static std::string NextBusinessDay() {
    return vx::transfer::IsoDate(vx::transfer::NextBusinessDay(LocalDate(std::chrono::system_clock::now())));
  }
};

TEST_F(TransferRun, FilesCarryTheBoniFilesEmployeesButThoseTheBankCannotPay) {
  if (vx::testing::OraclesFolder().empty()) GTEST_SKIP() << "no ../shared/oracles folder with the bank schemas";
  // Without --transfer nothing of the kind is written.
  ASSERT_EQ(Vxorel("--output pdf").status, 0);
  EXPECT_FALSE(fs::exists(TransferFolder()));

  for (const auto& [kind, schema] : {std::pair{"cbi", vx::testing::kCbiSchema}, {"sepa", vx::testing::kSepaSchema}}) {
    // The month paid by the CBI file is paid again by the SEPA one only
    // when the operator says so, with identifiers of another second.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const auto run = Vxorel(std::string("--output pdf --description tredicesima --transfer ") + kind +
                            " --execution-date " + NextBusinessDay() +
                            (kind == std::string("sepa") ? " --transfer-again" : ""));
    // Company 002's file was asked for and not written.
    ASSERT_EQ(run.status, 6) << run.output;
    const fs::path file = TransferFolder() / (std::string(kind == std::string("cbi") ? "CBI" : "SEPA") + "_001_B0_2025-11.xml");
    ASSERT_TRUE(fs::exists(file)) << run.output;
    const auto compared = vx::testing::RunCommand(
        "/usr/bin/python3 " + Quote(std::string(VX_TESTS_DIR) + "/transfer_vs_boni.py") + " " + Quote(file) + " " +
        Quote(ArchivesFolder() / "BONI001B0.TXT") + " " + Quote(vx::testing::OraclesFolder() / schema) +
        " 0010010003 0010010004 0010010005");
    EXPECT_EQ(compared.status, 0) << compared.output;
    EXPECT_NE(vx::testing::ReadWholeFile(file).find("<Ustrd>STIPENDIO NOVEMBRE 2025 TREDICESIMA</Ustrd>"),
              std::string::npos);
    for (const char* excluded : {"dipendente 0010010003 VERDI LUCA: IBAN 'IT61", "dipendente 0010010004 BIANCHI ELSA",
                                 "dipendente 0010010005 SMITH JOHN: IBAN 'US",
                                 "AVVISO Bonifici - ditta 001 - dipendente 0010010008 ROSA ADA: BIC 'DEUTDEFFXXX': BIC "
                                 "di un paese (DE) diverso da quello dell'IBAN (IT): lasciato fuori"}) {
      EXPECT_NE(run.output.find(excluded), std::string::npos) << excluded << "\n" << run.output;
    }
    EXPECT_NE(run.output.find("ditta 002: DITTA 002 CONTO 0: sezione mancante"), std::string::npos) << run.output;
  }
  // The register and one file of each kind: the second one was confirmed.
  EXPECT_EQ(std::distance(fs::directory_iterator(TransferFolder()), fs::directory_iterator{}), 3);
}

TEST_F(TransferRun, AMonthIsPaidOnceAndWhatTheBankRejectedIsPaidAgainOnceFixed) {
  if (vx::testing::OraclesFolder().empty()) GTEST_SKIP() << "no ../shared/oracles folder with the bank schemas";
  const std::string sepa = "--output pdf --transfer sepa --execution-date " + NextBusinessDay();
  const fs::path main = TransferFolder() / "SEPA_001_B0_2025-11.xml";
  auto sql = [&](const std::string& query) {
    return vx::testing::RunCommand("sqlite3 -batch " + Quote(TransferFolder() / vx::reg::kRegisterName) + " " +
                                   Quote(query))
        .output;
  };
  auto sha256 = [](const fs::path& file) { return vx::testing::RunCommand("sha256sum " + Quote(file)).output.substr(0, 64); };
  // Coordinates of another bank for an employee, as the payroll product keeps them.
  auto move_to = [&](const std::string& code, const Bank& bank) {
    Payable(builder.Employee(code)
                .SetNumber(fields::kEmployeeAbi, std::stoll(bank.abi))
                .SetNumber(fields::kEmployeeCab, std::stoll(bank.cab))
                .SetText(fields::kEmployeeAccount, bank.account)
                .SetText(fields::kEmployeeBic, bank.bic),
            bank);
  };

  // Company 001 alone: company 002 has no account to pay from.
  builder.SetExtraction({"0010010001", "0010010002", "0010010003", "0010010004", "0010010005", "0010010006"});
  builder.Write(folder.Path());
  const auto first = Vxorel(sepa);
  ASSERT_EQ(first.status, 0) << first.output;
  const std::string bytes = vx::testing::ReadWholeFile(main);
  EXPECT_EQ(sql("SELECT file_name, state, transactions, total_cents, sha256 FROM files"),
            "SEPA_001_B0_2025-11.xml|written|3|123480|" + sha256(main) + "\n");

  // Run again unchanged after the file was taken away: the same message
  // comes back byte for byte, and the register still counts it once.
  fs::remove(main);
  const auto again = Vxorel(sepa);
  EXPECT_EQ(again.status, 0) << again.output;
  EXPECT_EQ(vx::testing::ReadWholeFile(main), bytes);
  EXPECT_NE(again.output.find("identico al file scritto il"), std::string::npos) << again.output;
  EXPECT_EQ(sql("SELECT count(*) FROM files; SELECT count(*) FROM transactions"), "1\n3\n");

  // The bank rejects ROSSI and NICOLÒ for their accounts and pays GIALLI.
  vx::testing::BankAnswer answer;
  answer.original_message_id = sql("SELECT message_id FROM files").substr(0, 32);
  answer.group_status = "PART";
  answer.payments.push_back({sql("SELECT payment_info_id FROM files").substr(0, 34), "PART", "", {}});
  for (const auto& [code, status, reason] : {std::tuple{"0010010001", "RJCT", "AC01"},
                                             {"0010010002", "RJCT", "AC04"}, {"0010010006", "ACSC", ""}}) {
    const std::string id = sql(std::string("SELECT end_to_end_id FROM transactions WHERE employee = '") + code + "'");
    answer.payments[0].transactions.push_back({id.substr(0, id.size() - 1), "", status, reason});
  }
  const fs::path report = folder.Path() / "esito.xml";
  std::ofstream(report, std::ios::binary) << vx::testing::AnswerXml(answer, vx::testing::AnswerFlavour::Iso10);
  ASSERT_EQ(vx::testing::SchemaErrors(report, vx::testing::kStatusSchema10), "");
  const auto read = Vxorel("--bank-report " + Quote(report));
  ASSERT_EQ(read.status, 0) << read.output;

  // ROSSI's IBAN is fixed, NICOLÒ's is not: only ROSSI is paid again, with
  // his new coordinates, in a file of its own that completes the month's.
  move_to("0010010001", kBankZ);
  builder.Write(folder.Path());
  std::this_thread::sleep_for(std::chrono::seconds(1));  // identifiers carry the second
  for (int time = 0; time < 2; ++time) {
    const auto rejected = Vxorel(sepa + " --only-rejected");
    EXPECT_EQ(rejected.status, 0) << rejected.output;
    EXPECT_NE(rejected.output.find("0010010002 NICOL\xC3\x92 ANDR\xC3\x88: IBAN 'IT"), std::string::npos) << rejected.output;
    EXPECT_NE(rejected.output.find("conto chiuso (AC04)) e IBAN non ancora corretto"), std::string::npos);
    // A second time nothing is left: ROSSI's new transfer is on its way.
    if (time == 1) {
      EXPECT_NE(rejected.output.find("nessuno dei bonifici respinti"), std::string::npos) << rejected.output;
    }
  }
  const fs::path supplement = TransferFolder() / "SEPA_001_B0_2025-11_R1.xml";
  EXPECT_EQ(vx::testing::SchemaErrors(supplement, vx::testing::kSepaSchema), "");
  const std::string account = kBankZ.account;
  const std::string bban = std::string(1, *vx::bank::ItalianCin(kBankZ.abi, kBankZ.cab, account)) + kBankZ.abi +
                           kBankZ.cab + account;
  const std::string fixed = "IT" + vx::bank::IbanCheckDigits("IT", bban) + bban;
  EXPECT_EQ(sql("SELECT f.file_name, f.completes, t.employee, t.iban, t.cents FROM files f JOIN transactions t ON "
                "t.file = f.id WHERE f.completes IS NOT NULL"),
            "SEPA_001_B0_2025-11_R1.xml|1|0010010001|" + fixed + "|123450\n");

  // GIALLI's net pay changes: the month is paid already, so no file and
  // status 7, unless the operator insists; then new identifiers.
  builder.Employee("0010010006").SetNumber(fields::kEmployeeNetPay, 30);
  builder.Write(folder.Path());
  const auto refused = Vxorel(sepa);
  EXPECT_EQ(refused.status, 7) << refused.output;
  EXPECT_NE(refused.output.find("0010010006 GIALLI PIA: gi\xC3\xA0 pagato 0.20 su IT"), std::string::npos)
      << refused.output;
  EXPECT_NE(refused.output.find("; questa stampa pagherebbe 0.30 su IT"), std::string::npos);
  EXPECT_EQ(sql("SELECT count(*) FROM files"), "2\n");
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const auto forced = Vxorel(sepa + " --transfer-again");
  EXPECT_EQ(forced.status, 0) << forced.output;
  EXPECT_NE(forced.output.find("ATTENZIONE: mese gi\xC3\xA0 pagato dal file SEPA_001_B0_2025-11.xml"),
            std::string::npos) << forced.output;
  const fs::path repeat = TransferFolder() / "SEPA_001_B0_2025-11_2.xml";
  EXPECT_EQ(vx::testing::SchemaErrors(repeat, vx::testing::kSepaSchema), "");
  EXPECT_EQ(sql("SELECT count(DISTINCT message_id), count(*) FROM files WHERE state = 'written'"), "3|3\n");
  EXPECT_EQ(vx::testing::RegisterDisagreements(TransferFolder()), "");
}

// A company touched by damage gets no transfer file, and the run's status
// says so: an employee record written over another's, or the same code
// twice in the extraction (which lists nothing at all).
TEST_F(TransferRun, DamagedArchivesWriteNoTransferFileForTheCompaniesTheyTouch) {
  const auto overwrite = [this](const char* name, std::size_t length, std::size_t from, std::size_t to) {
    std::string data = vx::testing::ReadWholeFile(ArchivesFolder() / name);
    data.replace(to, length, data.substr(from, length));
    std::ofstream(ArchivesFolder() / name, std::ios::binary) << data;
  };
  overwrite("SLDIPEN.DAT", 15792, 15792, 0);
  auto run = Vxorel("--output pdf --transfer sepa");
  EXPECT_EQ(run.status, 5) << run.output;
  EXPECT_NE(run.output.find("ERRORE Archivi - ditta 001 - dipendente 0010010001"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(TransferFolder() / "SEPA_001_B0_2025-11.xml"));

  builder.Write(folder.Path());
  overwrite("SLESTRAZ.DAT", 10, 0, 10);
  run = Vxorel("--output pdf --transfer sepa");
  EXPECT_EQ(run.status, 5) << run.output;
  EXPECT_NE(run.output.find("compare due volte"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(TransferFolder()));
}

TEST_F(TransferRun, TheSettingsFileIsReadStrictlySoNoCompanyIsPaidFromAnothersAccount) {
  const fs::path settings = ArchivesFolder().parent_path() / "VXOREL-ORDINANTI.INI";
  const std::string named = "C:\\PVXPAGHE\\VXOREL-ORDINANTI.INI: ";
  const std::string own = "IBAN = IT60X0542811101000000123456\r\n", other = "IBAN = IT30S0832701001000000010000\r\n";
  auto lines_with = [](const std::string& output, const std::string& text) {
    size_t count = 0;
    for (size_t at = output.find(text); at != std::string::npos; at = output.find(text, at + 1)) ++count;
    return count;
  };

  // The keys under a header commented out are not the section's before it,
  // and the company they were for is paid from none of its sections.
  std::ofstream(settings, std::ios::trunc)
      << "[DITTA 002 CONTO 0]\r\n" + other + "[DITTA 001 CONTO 0]\r\n" + own + ";[DITTA 002 CONTO 1]\r\n" + other;
  auto run = Vxorel("--output pdf --transfer sepa");
  const std::string xml = vx::testing::ReadWholeFile(TransferFolder() / "SEPA_001_B0_2025-11.xml");
  EXPECT_NE(xml.find("IT60X0542811101000000123456"), std::string::npos) << run.output;
  EXPECT_EQ(xml.find("IT30S0832701001000000010000"), std::string::npos);
  EXPECT_FALSE(fs::exists(TransferFolder() / "SEPA_002_B0_2025-11.xml"));
  EXPECT_NE(run.output.find("ERRORE Bonifici - ditta 002: " + named +
                            "riga 6: chiave IBAN fuori da ogni sezione valida (la sezione [DITTA 002 CONTO 1] alla "
                            "riga 5 \xC3\xA8 commentata): nessun file dei bonifici per questa ditta"),
            std::string::npos)
      << run.output;

  // A flood of faults no company can be blamed for is cut to twenty lines;
  // a tax code that fails its check keeps its company out.
  std::string flood;
  for (int i = 0; i < 30; ++i) flood += "?\r\n";
  std::ofstream(settings, std::ios::trunc)
      << flood + "[DITTA 001 CONTO 0]\r\n" + own + "CUC = 1A\r\nCODICEFISCALE = 01234560018\r\n" +
             "[DITTA 002 CONTO 0]\r\n" + other + "CUC = 2A\r\nCODICEFISCALE = RSSMRA85T10A562S\r\n";
  run = Vxorel("--output pdf --transfer cbi");
  EXPECT_EQ(lines_with(run.output, named + "riga "), 19u) << run.output;
  EXPECT_EQ(lines_with(run.output, named + "altri 11 errori in righe successive, non mostrati\n"), 1u);
  EXPECT_NE(run.output.find("ditta 001: CODICEFISCALE '01234560018': codice fiscale della ditta con controllo "
                            "errato (atteso 7)"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(TransferFolder() / "CBI_001_B0_2025-11.xml"));
  EXPECT_TRUE(fs::exists(TransferFolder() / "CBI_002_B0_2025-11.xml"));

  // Not a file: said once, and nobody is paid.
  fs::remove_all(TransferFolder());
  fs::remove(settings);
  fs::create_directory(settings);
  run = Vxorel("--output pdf --transfer sepa");
  EXPECT_EQ(lines_with(run.output, named + "\xC3\xA8 una cartella, non un file\n"), 1u) << run.output;
  EXPECT_EQ(lines_with(run.output, "file delle coordinate di addebito non utilizzabile"), 2u);
  EXPECT_FALSE(fs::exists(TransferFolder() / "SEPA_001_B0_2025-11.xml"));
}

TEST_F(TransferRun, IdentifiersAndDefaultDateFollowTheClock) {
  StartUp();
  std::tm thursday{};
  thursday.tm_year = 2025 - 1900;
  thursday.tm_mon = 10;
  thursday.tm_mday = 27;
  thursday.tm_hour = 9;
  thursday.tm_min = 30;
  thursday.tm_isdst = -1;
  const auto moment = std::chrono::system_clock::from_time_t(std::mktime(&thursday));
  run->clock = [moment] { return moment; };
  run->transfer.kind = vx::transfer::TransferKind::Sepa;
  ASSERT_EQ(Press(Controls()), RunOutcome::Completed);
  const std::string xml = vx::testing::ReadWholeFile(TransferFolder() / "SEPA_001_B0_2025-11.xml");
  EXPECT_NE(xml.find("<MsgId>STIP-202511-001B0-20251127093000</MsgId>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<CreDtTm>2025-11-27T09:30:00</CreDtTm>"), std::string::npos);
  EXPECT_NE(xml.find("<EndToEndId>202511-0010010002B0-20251127093000</EndToEndId>"), std::string::npos);
  // The next business day after a Thursday is the Friday.
  EXPECT_NE(xml.find("<Dt>2025-11-28</Dt>"), std::string::npos);
}

// A transfer file pays the net pay of the payroll month the archives hold
// (November 2025): another month, or the same month of another year, which
// the listing would take, is refused like a day the bank does not pay on.
TEST_F(TransferRun, APeriodOrDayTheBankCannotTakeIsRefusedBeforeAnythingIsWritten) {
  const auto before = vx::testing::SnapshotFolder(folder.Path());
  for (const char* date : {"2020-01-02", "2099-12-25"}) {
    const auto run = Vxorel(std::string("--output pdf --transfer cbi --execution-date ") + date);
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find(date), std::string::npos) << run.output;
  }
  for (const auto& [period, named] : {std::pair{"--month 11 --year 2024", "NOVEMBRE 2024"},
                                      {"--month 10", "OTTOBRE 2025"}}) {
    const auto run = Vxorel(std::string("--output pdf --transfer sepa --strict ") + period);
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find(std::string("Le paghe in archivio sono di NOVEMBRE 2025: i file dei bonifici si fanno "
                                          "solo per NOVEMBRE 2025, non per ") + named),
              std::string::npos)
        << run.output;
  }
  EXPECT_EQ(vx::testing::SnapshotFolder(folder.Path()), before);
  // Without transfer files the listing takes the month alone, as ever.
  EXPECT_EQ(Vxorel("--output pdf --month 11 --year 2024").status, 0);
}

// A transfer file that cannot be written is an output lost: the run names
// it and ends with status 6, the other company's file written all the same.
// Damaged archives, which say more, go first with their status 5.
TEST_F(TransferRun, AFileThatCannotBeWrittenEndsTheRunWithStatusSix) {
  if (vx::testing::OraclesFolder().empty()) GTEST_SKIP() << "no ../shared/oracles folder with the bank schemas";
  // Company 002 gets the account its section lacks.
  std::ofstream(ArchivesFolder().parent_path() / "VXOREL-ORDINANTI.INI", std::ios::app)
      << "[DITTA 002 CONTO 0]\r\nIBAN = IT60X0542811101000000123456\r\n";
  const fs::path first = TransferFolder() / "SEPA_001_B0_2025-11.xml";
  const fs::path second = TransferFolder() / "SEPA_002_B0_2025-11.xml";
  // The companies whose file the run says it lost; `before` goes in front
  // of the command.
  auto lost = [&](const std::string& context, int status, const std::string& before = "") {
    const auto run = vx::testing::Shell(before + " env WINEPREFIX=" + Quote(folder.Path()) + " " VXOREL_EXECUTABLE
                                        " --batch --output pdf --transfer sepa");
    EXPECT_EQ(run.status, status) << context << "\n" << run.output;
    std::string companies;
    for (const std::string company : {"001", "002"}) {
      if (run.output.find("ERRORE Bonifici - ditta " + company + ": C:\\PVXPAGHE\\FILE-BONIFICI") != std::string::npos)
        companies += company;
    }
    return companies;
  };
  ASSERT_EQ(lost("whole", 0), "");
  EXPECT_EQ(vx::testing::SchemaErrors(first, vx::testing::kSepaSchema), "");
  fs::remove(first);
  fs::create_directory(first);
  fs::remove(second);
  EXPECT_EQ(lost("a folder in place of the file", 6), "001");
  EXPECT_EQ(vx::testing::SchemaErrors(second, vx::testing::kSepaSchema), "");

  // A read-only and a full file system, for one run in a mount namespace.
  fs::remove_all(TransferFolder());
  fs::create_directory(TransferFolder());
  const std::string mount = "unshare -rm sh -c 'mount -t tmpfs -o $0 tmpfs \"$1\" || exit 99; head -c 4096 "
                            "/dev/zero >\"$1/full\" 2>/dev/null; shift; exec \"$@\"' ";
  const bool mounted = vx::testing::Shell(mount + "size=4k " + Quote(TransferFolder()) + " true").status == 0;
  for (const std::string options : {"ro,size=64k", "size=4k"}) {
    if (mounted) {
      EXPECT_EQ(lost(options, 6, mount + options + " " + Quote(TransferFolder())), "001002");
    }
  }

  fs::remove_all(TransferFolder());
  std::ofstream(TransferFolder()) << "a file where the folder goes";
  EXPECT_EQ(lost("a plain file in place of the folder", 6), "001002");
  // Cut inside the last employee's record, of company 001.
  fs::resize_file(ArchivesFolder() / "SLDIPEN.DAT", 7 * 15792 + 100);
  EXPECT_EQ(lost("damaged archives too", 5), "002");
  if (!mounted) GTEST_SKIP() << "no tmpfs in a mount namespace here (unshare -rm): read-only and full disk untried";
}

}  // namespace
}  // namespace vx::app::test
