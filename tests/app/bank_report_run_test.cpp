// `vxorel --batch --bank-report` and `--history` end to end: the month's
// transfer files written by the real executable, the bank's answers written
// as banks write them and judged by the published schemas, the register
// read back with the sqlite3 tool and the report employee by employee.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "app/transfer_files.h"
#include "listing_world.h"
#include "program_run.h"
#include "register/sha256.h"
#include "register/transfer_register.h"
#include "support/bank_answer.h"
#include "support/schema_check.h"

namespace vx::app::test {
namespace {

namespace fs = std::filesystem;
using vx::testing::AnswerFlavour;
using vx::testing::BankAnswer;

// A transfer file as python-lxml reads it.
struct Written {
  std::string message_id, payment_id, execution_date;
  struct Row {
    std::string instruction, end_to_end, name, iban;
    int64_t cents = 0;
  };
  std::vector<Row> rows;
  // The salary of the employee with that code.
  const Row& Of(const std::string& code) const {
    for (const Row& r : rows) {
      if (r.end_to_end.find("-" + code + "B") != std::string::npos) return r;
    }
    throw std::runtime_error("no salary of " + code);
  }
};

class BankReportRun : public ::testing::Test, public ListingWorld {
 protected:
  BankReportRun() {
    Company(1, "ALFA SRL");
    Company(2, "BETA SPA");
    Payable(Employee("0010010001", "ROSSI", "MARIO", kBankX, 123450), kBankX);
    Payable(Employee("0010010002", "NICOL\xD2", "ANDR\xC8", kBankY, 10), kBankY);
    Payable(Employee("0010010003", "VERDI", "LUCA", kBankZ, 50000), kBankZ);
    Payable(Employee("0010010004", "BIANCHI", "ELSA", kBankX, 7000), kBankX);
    Payable(Employee("0020010005", "NERI", "ANNA", kBankY, 200000), kBankY);
    std::string settings;
    for (const char* company : {"001", "002"}) {
      settings += std::string("[DITTA ") + company +
                  " CONTO 0]\r\nIBAN = IT60X0542811101000000123456\r\nCUC = 1234567A\r\nCODICEFISCALE = 01234560017\r\n";
    }
    builder.SetDebtorSettings(settings);
    builder.Write(folder.Path());
  }

  Outcome Run(const std::string& arguments) { return Vxorel(folder.Path(), "--batch " + arguments); }
  fs::path TransferFolder() const { return ArchivesFolder().parent_path() / "FILE-BONIFICI"; }
  fs::path Register() const { return TransferFolder() / reg::kRegisterName; }
  std::string Sql(const std::string& sql) const {
    return vx::testing::Shell("sqlite3 -batch " + Quote(Register()) + " " + Quote(sql)).output;
  }

  Written Read(const std::string& name) const {
    std::istringstream lines(vx::testing::RunCommand("/usr/bin/python3 " + Quote(std::string(VX_TESTS_DIR)) +
                                                     "/transfer_rows.py " + Quote(TransferFolder() / name))
                                 .output);
    Written w;
    lines >> w.message_id >> w.payment_id >> w.execution_date;
    for (Written::Row r; lines >> r.instruction >> r.end_to_end >> r.iban >> r.cents && std::getline(lines >> std::ws, r.name);)
      w.rows.push_back(r);
    EXPECT_FALSE(w.rows.empty()) << name;
    return w;
  }

  // The month's files written by the program, and each one in the register
  // unless the run recorded it itself.
  void WriteMonth(const std::string& kind) {
    const std::string date =
        vx::transfer::IsoDate(vx::transfer::NextBusinessDay(LocalDate(std::chrono::system_clock::now())));
    const Outcome run = Run("--output pdf --transfer " + kind + " --execution-date " + date);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(fs::is_directory(TransferFolder())) << run.err;
    reg::TransferRegister r(TransferFolder());
    for (const auto& entry : fs::directory_iterator(TransferFolder())) {
      const std::string name = entry.path().filename().string();
      if (entry.path().extension() != ".xml") continue;
      const Written w = Read(name);
      bool known = false;
      for (const auto& f : r.History()) known = known || f.message_id == w.message_id;
      if (known) continue;
      reg::NewFile f;
      const auto underscore = name.find('_');
      f.kind = name.rfind("CBI", 0) == 0 ? vx::transfer::TransferKind::Cbi : vx::transfer::TransferKind::Sepa;
      f.company = name.substr(underscore + 1, 3);
      f.slot = name[underscore + 6] - '0';
      f.year = std::stoi(name.substr(underscore + 8, 4));
      f.month = std::stoi(name.substr(underscore + 13, 2));
      f.message_id = w.message_id, f.payment_info_id = w.payment_id, f.file_name = name;
      f.sha256 = *reg::FileSha256Hex(entry.path());
      f.execution_date = *vx::transfer::ParseIsoDate(w.execution_date);
      for (const auto& row : w.rows) {
        const std::string code = row.end_to_end.substr(7, 10);
        f.transactions.push_back({code, row.name, row.iban, row.cents, row.end_to_end, row.instruction});
      }
      r.FileWritten(r.BeginFile(f));
    }
  }

  // The answer in a file of its own; an ISO one must satisfy the schema.
  fs::path Answer(const std::string& name, const BankAnswer& answer, AnswerFlavour flavour) const {
    const fs::path path = folder.Path() / name;
    std::ofstream(path, std::ios::binary) << vx::testing::AnswerXml(answer, flavour);
    if (flavour != AnswerFlavour::Cbi && !vx::testing::OraclesFolder().empty()) {
      EXPECT_EQ(vx::testing::SchemaErrors(path, flavour == AnswerFlavour::Iso03 ? vx::testing::kStatusSchema03
                                                                                : vx::testing::kStatusSchema10),
                "")
          << name;
    }
    return path;
  }

  // A report line about one salary.
  static std::string Salary(const char* severity, const std::string& company, const std::string& code,
                            const std::string& name, const Written::Row& row, const std::string& message) {
    return std::string("  ") + severity + " Esiti banca - ditta " + company + " - dipendente " + code + " " + name +
           ": IBAN '" + row.iban + "': bonifico di " + vx::transfer::Amount(row.cents) + message + "\n";
  }
};

TEST_F(BankReportRun, PartlyRejectedThenAcceptedIsCountedOnceEmployeeByEmployee) {
  WriteMonth("sepa");
  const Written w = Read("SEPA_001_B0_2025-11.xml");
  ASSERT_EQ(w.rows.size(), 4u);
  const auto& rossi = w.Of("0010010001");
  const auto& nicolo = w.Of("0010010002");
  const auto& verdi = w.Of("0010010003");
  const auto& bianchi = w.Of("0010010004");
  const fs::path partly = Answer("esito-1.xml",
                                 {"ESITO-1", "2025-11-28T10:15:00", w.message_id, "PART", "",
                                  {{w.payment_id, "PART", "",
                                    {{rossi.end_to_end, "", "ACSC", ""},
                                     {nicolo.end_to_end, "", "RJCT", "AC04"},
                                     {"", verdi.instruction, "RJCT", "MD07"},
                                     {bianchi.end_to_end, bianchi.instruction, "PDNG", ""}}}}},
                                 AnswerFlavour::Iso03);
  const std::string rejected =
      Salary("ERRORE", "001", "0010010002", "NICOLO ANDRE", nicolo, " respinto dalla banca: conto chiuso (AC04)") +
      Salary("ERRORE", "001", "0010010003", "VERDI LUCA", verdi,
             " respinto dalla banca: titolare del conto deceduto (MD07)");
  const std::string heading = "Esiti della banca:\n  AVVISO Esiti banca - ditta 001: SEPA_001_B0_2025-11.xml: esito "
                              "ESITO-1 del 2025-11-28T10:15:00 (" + partly.string() + ")";
  Outcome run = Run("--bank-report " + Quote(partly));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, heading + "; 4 bonifici del file: 1 accettato, 2 respinti, 1 in attesa\n" + rejected);
  const std::string statuses =
      "SELECT t.employee || ' ' || s.status || ' ' || replace(s.reasons, char(10), ',') || ' ' || s.report_message_id "
      "FROM statuses s JOIN transactions t ON t.id = s.tx ORDER BY s.id";
  const std::string first =
      "0010010001 ACSC  ESITO-1\n0010010002 RJCT AC04 ESITO-1\n0010010003 RJCT MD07 ESITO-1\n0010010004 PDNG  ESITO-1\n";
  EXPECT_EQ(Sql(statuses), first);

  // Read a second time: the same report, said to be a repeat, nothing added.
  run = Run("--bank-report " + Quote(partly));
  EXPECT_EQ(run.status, 0);
  const std::string read_at = Sql("SELECT read_at FROM statuses LIMIT 1");
  EXPECT_EQ(run.err, heading + " gi\xC3\xA0 letto il " + read_at.substr(0, read_at.size() - 1) +
                         ": nulla \xC3\xA8 stato contato due volte; 4 bonifici del file: 1 accettato, 2 respinti, 1 "
                         "in attesa\n" + rejected);
  EXPECT_EQ(Sql(statuses), first);

  // A later answer: the pending salary settled, and a rejected one settled
  // after all, which overrides a final status and is said.
  const fs::path later = Answer("esito-2.xml",
                                {"ESITO-2", "2025-11-29T09:00:00", w.message_id, "", "",
                                 {{w.payment_id, "", "",
                                   {{bianchi.end_to_end, "", "ACSC", ""}, {nicolo.end_to_end, "", "ACSC", ""}}}}},
                                AnswerFlavour::Iso10);
  run = Run("--bank-report " + Quote(later));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "Esiti della banca:\n  AVVISO Esiti banca - ditta 001: SEPA_001_B0_2025-11.xml: esito ESITO-2 "
                     "del 2025-11-29T09:00:00 (" + later.string() + "); 4 bonifici del file: 3 accettati, 1 "
                     "respinto, 0 in attesa\n" +
                         Salary("ERRORE", "001", "0010010002", "NICOLO ANDRE", nicolo,
                                ": accettato, addebitato (ACSC), dopo lo stato definitivo respinto (RJCT) del "
                                "2025-11-28T10:15:00: vale quest'ultimo"));
  EXPECT_EQ(Sql(statuses), first + "0010010002 ACSC  ESITO-2\n0010010004 ACSC  ESITO-2\n");
}

TEST_F(BankReportRun, CbiAnswersOfSeveralCompaniesInOneReportThenTheHistory) {
  WriteMonth("cbi");
  const Written alfa = Read("CBI_001_B0_2025-11.xml");
  const Written beta = Read("CBI_002_B0_2025-11.xml");
  // The whole file of 001 rejected; 002 accepted, its salary settled.
  const fs::path rejected = Answer("rifiuto.xml",
                                   {"CBI-ESITO-7", "2025-11-28T08:00:00", alfa.message_id, "RJCT", "FF01", {}},
                                   AnswerFlavour::Cbi);
  const fs::path accepted = Answer("accettato.xml",
                                   {"CBI-ESITO-8", "2025-11-28T08:00:00", beta.message_id, "ACCP", "",
                                    {{beta.payment_id, "ACCP", "", {{beta.rows.at(0).end_to_end, "", "ACSC", ""}}}}},
                                   AnswerFlavour::Cbi);
  const Outcome run = Run("--bank-report " + Quote(rejected) + " " + Quote(accepted));
  EXPECT_EQ(run.status, 0);
  std::string expected = "Esiti della banca:\n  AVVISO Esiti banca - ditta 001: CBI_001_B0_2025-11.xml: esito "
                         "CBI-ESITO-7 del 2025-11-28T08:00:00 (" + rejected.string() +
                         "); 4 bonifici del file: 0 accettati, 4 respinti, 0 in attesa\n";
  for (const auto& [code, name] : std::map<std::string, std::string>{{"0010010001", "ROSSI MARIO"},
                                                                     {"0010010002", "NICOLO ANDRE"},
                                                                     {"0010010003", "VERDI LUCA"},
                                                                     {"0010010004", "BIANCHI ELSA"}}) {
    expected += Salary("ERRORE", "001", code, name, alfa.Of(code),
                       " respinto dalla banca: formato del file non valido (FF01)");
  }
  expected += "  AVVISO Esiti banca - ditta 002: CBI_002_B0_2025-11.xml: esito CBI-ESITO-8 del 2025-11-28T08:00:00 (" +
              accepted.string() + "); 1 bonifico del file: 1 accettato, 0 respinti, 0 in attesa\n";
  EXPECT_EQ(run.err, expected);

  const Outcome history = Run("--history --month 11 --year 2025");
  EXPECT_EQ(history.status, 0) << history.err;
  const std::string written = Sql("SELECT written_at FROM files WHERE company = '001'");
  // The register named as the installation's drive reaches it.
  const std::string heading = "Registro dei file dei bonifici " + (folder.Path() / "dosdevices/c:/PVXPAGHE/FILE-BONIFICI/").string() +
                              reg::kRegisterName + "\n";
  std::string lines = heading + "Ditta 001, conto 0, novembre 2025:\n  CBI_001_B0_2025-11.xml (CBI) registrato il " +
                      written.substr(0, written.size() - 1) + ": scritto\n    4 bonifici, totale 1804.60, esecuzione " +
                      alfa.execution_date + ", messaggio " + alfa.message_id +
                      "\n    esiti: 0 accettati, 4 respinti, 0 in attesa, 0 senza esito\n";
  EXPECT_EQ(history.out.substr(0, lines.size()), lines);
  EXPECT_NE(history.out.find("Ditta 002, conto 0, novembre 2025:\n"), std::string::npos) << history.out;
  EXPECT_EQ(Run("--history --year 2024").out,
            heading + "Nessun file registrato per tutti i mesi 2024.\n");
}

TEST_F(BankReportRun, BadInputIsRefusedByNameAndChangesNothing) {
  // No transfer file yet, so no register: none is made by reading answers.
  const BankAnswer stray{"ESITO-9", "2025-11-28T10:15:00", "STIP-SCONOSCIUTO", "ACCP", "", {}};
  const fs::path unknown = Answer("sconosciuto.xml", stray, AnswerFlavour::Iso10);
  Outcome run = Run("--bank-report " + Quote(unknown));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("registro dei file dei bonifici mancante"), std::string::npos) << run.err;
  run = Run("--history");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no register of transfer files"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(Register()));

  WriteMonth("sepa");
  const Written w = Read("SEPA_001_B0_2025-11.xml");
  const fs::path stranger = Answer("estraneo.xml",
                                   {"ESITO-10", "2025-11-28T10:15:00", w.message_id, "PART", "",
                                    {{w.payment_id, "PART", "",
                                      {{w.rows.at(0).end_to_end, "", "ACSC", ""},
                                       {"202511-0019999999B0-X", "", "RJCT", "AC01"}}}}},
                                   AnswerFlavour::Iso03);
  const fs::path huge = folder.Path() / "enorme.xml";
  std::ofstream(huge) << "<?xml version=\"1.0\"?>";
  fs::resize_file(huge, 100u << 20);
  const fs::path bomb = folder.Path() / "bomba.xml";
  std::ofstream(bomb) << "<?xml version=\"1.0\"?>\n<!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;"
                         "&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>\n<d>&c;</d>\n";
  const fs::path transfer = TransferFolder() / "SEPA_001_B0_2025-11.xml";
  const std::string before = vx::testing::ReadWholeFile(Register());
  run = Run("--bank-report " + Quote(transfer) + " " + Quote(unknown) + " " + Quote(stranger) + " " + Quote(huge) +
            " " + Quote(bomb) + " " + Quote(folder.Path() / "mancante.xml"));
  EXPECT_EQ(run.status, 1);
  const std::string tail = ": esito non letto, registro invariato\n";
  for (const std::string& refusal :
       {transfer.string() + ": il file non \xC3\xA8 un esito della banca (nessun elemento OrgnlGrpInfAndSts)" + tail,
        unknown.string() + ": esito ESITO-9 per il file dei bonifici STIP-SCONOSCIUTO (pain.001.001.09), che il "
                           "registro non conosce: non scritto da questo programma in questa installazione" + tail,
        stranger.string() + ": esito ESITO-10 per il file dei bonifici " + w.message_id +
            " con stati per bonifici che il file non contiene (202511-0019999999B0-X)" + tail,
        huge.string() + ": file di 100 MB, troppo grande per un esito della banca (al massimo 64 MB)" + tail,
        bomb.string() + ": il file dichiara una DTD, che un esito della banca non ha: non letto" + tail,
        (folder.Path() / "mancante.xml").string() + ": file non leggibile"}) {
    EXPECT_NE(run.err.find("  ERRORE Esiti banca: " + refusal), std::string::npos) << refusal << "\n" << run.err;
  }
  EXPECT_EQ(vx::testing::ReadWholeFile(Register()), before);
}

}  // namespace
}  // namespace vx::app::test
