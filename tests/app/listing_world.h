#pragma once
// A payroll installation written by the demo builder into a temporary Wine
// prefix, started up as the window starts, with the run's devices at hand:
// a recording printer, the PDF folder, the transfer files. A test states
// the companies and employees it needs, starts up, and presses "Conferma".

#include <memory>
#include <string>
#include <vector>

#include "app/company_list.h"
#include "app/run.h"
#include "app/start_up.h"
#include "bank/cin.h"
#include "bank/iban.h"
#include "archive/descriptors.h"
#include "archive/payroll_archives.h"
#include "output/output.h"
#include "output/recording_printer.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "support/demo_installation.h"
#include "support/folder_snapshot.h"
#include "support/temp_folder.h"

namespace vx::app::test {

namespace fields = vx::archive::fields;

// Bank coordinates of an employee.
struct Bank {
  std::string cin, abi, cab, account, bic, name;
};

inline const Bank kBankX{"X", "03069", "11600", "000000123456", "BCITITMM", "BANCA X"};
inline const Bank kBankY{"Y", "05034", "11701", "000000654321", "BAPPIT21", "BANCA Y"};
inline const Bank kBankZ{"Z", "02008", "01600", "000000111111", "UNCRITMM", "BANCA Z"};

class ListingWorld {
 public:
  // The payroll date is 27 November 2025: the default payment month is 11.
  ListingWorld() { builder.SetPayrollDate("27112025"); }

  demo::RecordText& Company(int code, const std::string& name) {
    return vx::testing::AddListedCompany(builder, code, name, "1234567890")
        .SetText(fields::kCompanyAddress, "VIA ROMA 1")
        .SetText(fields::kCompanyPostalCode, "20100")
        .SetText(fields::kCompanyTown, "MILANO")
        .SetText(fields::kCompanyProvince, "MI")
        .SetText(fields::kCompanyAccount1, "CC0000000001")
        .SetText(fields::kCompanyBank1, "BANCA DELLA DITTA");
  }

  // An employee paid by transfer in November 2025 on bank slot 0, IBAN
  // country IT, check digits 60; net pay in cents.
  demo::RecordText& Employee(const std::string& code, const std::string& surname, const std::string& name,
                             const Bank& bank, int64_t cents) {
    return vx::testing::AddPaidEmployee(builder, code, surname, name)
        .SetText(fields::kEmployeePaymentDate, "27112025")
        .SetNumber(fields::kEmployeeCodeP054, 1)
        .SetNumber(fields::kEmployeeNetPay, cents)
        .SetText(fields::kEmployeeIbanCountry, "IT")
        .SetText(fields::kEmployeeIbanCheckDigits, "60")
        .SetText(fields::kEmployeeCin, bank.cin)
        .SetNumber(fields::kEmployeeAbi, std::stoll(bank.abi))
        .SetNumber(fields::kEmployeeCab, std::stoll(bank.cab))
        .SetText(fields::kEmployeeAccount, bank.account)
        .SetText(fields::kEmployeeBic, bank.bic)
        .SetText(fields::kEmployeeBankName, bank.name);
  }

  // Right CIN and check digits for the employee's bank coordinates.
  static demo::RecordText& Payable(demo::RecordText& employee, const Bank& bank) {
    const std::string account = std::string(12 - bank.account.size(), '0') + bank.account;
    const char cin = *vx::bank::ItalianCin(bank.abi, bank.cab, account);
    return employee.SetText(fields::kEmployeeCin, std::string(1, cin))
        .SetText(fields::kEmployeeIbanCheckDigits,
                 vx::bank::IbanCheckDigits("IT", std::string(1, cin) + bank.abi + bank.cab + account));
  }

  // Writes the installation, so that a test may damage it before StartUp.
  void Write() {
    builder.Write(folder.Path());
    written = true;
  }

  // Writes the installation (unless written already) and reads it as the
  // window's start-up does, up to the extraction check: false without one.
  bool Load() {
    if (!written) Write();
    prefix = std::make_unique<platform::WinePrefix>(folder.Path());
    files = std::make_unique<platform::Files>(*prefix);
    registry = std::make_unique<platform::Registry>(*prefix);
    archives = std::make_unique<archive::PayrollArchives>(*prefix, *files, *registry, boxes);
    archives->SetInstanceCheck([] { return false; });
    output = std::make_unique<output::Output>(*archives, printers, boxes);
    list = std::make_unique<CompanyList>(*archives, form);
    return CaricaFinestra(*archives, *list, form);
  }

  // The whole start-up of the window.
  void StartUp() {
    if (!Load()) throw std::runtime_error("no extraction");
    ImpostazioniIniziali(*list, [this] { output->LEGGISTAMPANTESTD(); });
    run = std::make_unique<PaymentRun>(*archives, *output, boxes, form.List1, form.ElencoEstrazione, form.DataPaghe);
    archives_before = ArchivesNow();
  }

  // The controls as the window shows them after start-up.
  RunControls Controls() const { return RunControls::AfterStartUp(form.DataPaghe); }
  RunControls Detailed() const {
    RunControls c = Controls();
    c.OptStampa_Click(0);
    return c;
  }

  RunOutcome Press(const RunControls& controls) {
    listed.clear();
    PassHooks hooks;
    hooks.AfterCompany = [this](const std::string& line, int n) { listed.push_back({line.substr(0, 3), n}); };
    return run->CmdStampa_Click(controls, hooks);
  }

  std::filesystem::path ArchivesFolder() const { return vx::testing::ArchivesOf(folder.Path()); }
  std::string Boni(const std::string& name) const {
    return vx::testing::ReadWholeFile(ArchivesFolder() / name);
  }
  // The archives as they were after start-up, without the run's text files.
  vx::testing::FolderSnapshot ArchivesNow() const {
    vx::testing::FolderSnapshot now = vx::testing::SnapshotFolder(ArchivesFolder());
    std::erase_if(now, [](const auto& entry) { return entry.first.rfind("BONI", 0) == 0; });
    return now;
  }

  output::RecordingPrinter& Printer() { return printers.CurrentRecorder(); }
  // The calls named `op` of one printer document.
  static int Count(const std::vector<output::PrinterCall>& document, const std::string& op) {
    int n = 0;
    for (const auto& c : document) n += c.op == op;
    return n;
  }
  // The texts printed in a document, in order.
  static std::vector<std::string> Texts(const std::vector<output::PrinterCall>& document) {
    std::vector<std::string> texts;
    for (const auto& c : document)
      if (c.op == "Print") texts.push_back(c.text);
    return texts;
  }

  vx::testing::TempFolder folder;
  demo::InstallationBuilder builder;
  platform::ScriptedMessageBoxes boxes;
  output::RecordingPrinters printers;
  FormState form;
  std::unique_ptr<platform::WinePrefix> prefix;
  std::unique_ptr<platform::Files> files;
  std::unique_ptr<platform::Registry> registry;
  std::unique_ptr<archive::PayrollArchives> archives;
  std::unique_ptr<output::Output> output;
  std::unique_ptr<CompanyList> list;
  std::unique_ptr<PaymentRun> run;
  vx::testing::FolderSnapshot archives_before;
  bool written = false;
  std::vector<std::pair<std::string, int>> listed;  // company code, employees listed
};

}  // namespace vx::app::test
