#include "app/batch_run.h"

#include <memory>
#include <ostream>

#include "app/company_list.h"
#include "app/run.h"
#include "app/start_up.h"
#include "archive/payroll_archives.h"
#include "output/output.h"
#include "output/pdf_file_printers.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/registry.h"

namespace vx::app {

RunControls ControlsFromCommandLine(const CommandLine& cl, const std::string& DataPaghe, std::ostream& messages) {
  RunControls c = RunControls::AfterStartUp(DataPaghe);
  if (cl.month) c.ComboMese = kComboMeseItems[static_cast<std::size_t>(*cl.month - 1)];
  if (cl.year) c.ComboAnno = std::to_string(*cl.year);
  if (cl.listing) c.OptStampa_Click(*cl.listing == ListingKind::Detailed ? 0 : 1);
  if (cl.output == OutputKind::Pdf) {
    c.OptStampanteLaser = false;
    c.OptStampantePDF = true;
  }
  if (cl.protection) {
    if (c.OptStampantePDF) c.chkAES256 = *cl.protection == PdfProtection::Aes256;
    else messages << "vxorel: --protection has no effect on printed listings\n";
  }
  if (cl.sort == SortOrder::Name) {
    c.OptSortPerCodice = false;
    c.OptSortPerCognomeNome = true;
  }
  if (cl.bank) c.Combo1 = kCombo1Items[static_cast<std::size_t>(*cl.bank)];
  if (cl.separate) {
    if (c.chkSeparaEnabled) {
      c.chkSepara = true;
      c.chkSepara_Click();
    } else {
      messages << "vxorel: --separate has no effect on the simplified listing\n";
    }
  }
  if (cl.totals) {
    if (c.ChkTotaliEnabled) c.ChkTotali = true;
    else if (!c.chkSepara) messages << "vxorel: --totals has no effect on the simplified listing\n";
  }
  if (cl.bold) c.ChkGrassetto = [] { return true; };
  if (cl.description) {
    if (cl.description_cut) {
      messages << "vxorel: --description is cut to its first 30 characters: '" << *cl.description << "'\n";
    }
    c.SetDescrizione(platform::Utf8ToCp1252(*cl.description));
  }
  return c;
}

namespace {

// --check, or the check --strict makes before the listing: 0 when no
// coordinate is wrong, 1 otherwise or when the check could not be made.
// Notices (a shared account, a zero net pay) are not errors: they do not
// stop a payment that is otherwise right.
int CheckOnly(PaymentRun& run, const RunControls& controls, const CommandLine& cl, std::ostream& messages) {
  const RunOutcome outcome = run.CheckCoordinates(controls);
  if (outcome == RunOutcome::Locked) return kExitArchivesLocked;
  if (outcome != RunOutcome::Completed) return 1;
  // Damaged archives make a check incomplete; they do not stop a listing,
  // which reports them itself and ends with its own status.
  const bool errors = cl.check ? run.run_report.HasErrors() : run.run_report.HasErrors(kTopicArchivi);
  // A listing that will start reports its own findings at its end.
  if (cl.check || errors) WriteRunReport(run.run_report, messages);
  if (cl.check && run.run_report.Empty()) {
    int checked = 0;
    for (const auto& company : run.run_report.CheckedCounts()) checked += company.second;
    messages << "Coordinate bancarie: " << checked << (checked == 1 ? " dipendente controllato" : " dipendenti controllati")
             << ", nessun problema\n";
  }
  if (errors && !cl.check) {
    messages << "vxorel: --strict: the listing did not start, because some bank coordinates are wrong\n";
  }
  return errors ? 1 : 0;
}

}  // namespace

int RunBatchListing(const CommandLine& cl, const platform::WinePrefix& prefix, vx::output::Printers& installed,
                    std::ostream& messages, const vx::output::PdfFactory& pdf_factory) {
  // A day the bank does not pay on is refused before anything is opened.
  if (cl.execution_date) {
    if (const auto problem = ExecutionDateProblem(*cl.execution_date, LocalDate(std::chrono::system_clock::now()))) {
      messages << "vxorel: " << platform::Cp1252ToTerminal(*problem) << "\n";
      return 2;
    }
  }
  platform::Files files(prefix);
  const platform::Registry registry(prefix);
  platform::BatchMessageBoxes boxes(messages);
  archive::PayrollArchives archives(prefix, files, registry, boxes);

  std::unique_ptr<vx::output::PdfFilePrinters> file_printers;
  if (cl.print_to) file_printers = std::make_unique<vx::output::PdfFilePrinters>(*cl.print_to, pdf_factory);
  vx::output::Printers& printers = file_printers ? *file_printers : installed;
  vx::output::Output output(archives, printers, boxes, pdf_factory);

  archive::SemaphoreWait wait;
  wait.waiting = [&](const std::string& path) {
    messages << "vxorel: " << platform::Cp1252ToTerminal(ArchivesLockedText(path)) << std::endl;
  };
  if (cl.lock_timeout) wait.give_up_after = std::chrono::seconds(*cl.lock_timeout);
  archives.SetSemaphoreWait(std::move(wait));

  FormState form;
  CompanyList list(archives, form);
  int status = 0;
  try {
    if (!CaricaFinestra(archives, list, form)) {
      status = 1;
    } else {
      // With --print-to the file printer is the only one, and a check
      // prints nothing: the payroll suite's standard printer is not looked for.
      ImpostazioniIniziali(list, [&] {
        if (!file_printers && !cl.check) output.LEGGISTAMPANTESTD();
      });
      const RunControls controls = ControlsFromCommandLine(cl, form.DataPaghe, messages);
      PaymentRun run(archives, output, boxes, form.List1, form.ElencoEstrazione, form.DataPaghe);
      run.check_coordinates = !cl.no_check;
      // Transfer files for a period other than the payroll month the
      // archives hold are refused like a day the bank does not pay on.
      // (A period that is no month at all is the run's to refuse.)
      if (cl.transfer && !PeriodProblem(controls)) {
        if (const auto problem = TransferPeriodProblem(controls, form.DataPaghe)) {
          messages << "vxorel: " << platform::Cp1252ToTerminal(*problem) << "\n";
          status = 2;
        }
      }
      if (status == 0 && (cl.check || cl.strict)) status = CheckOnly(run, controls, cl, messages);
      if (!cl.check && status == 0) {
        PassHooks hooks;
        if (file_printers) {
          hooks.BeforeCompany = [&](const std::string& code) { file_printers->File().SetCompany(code); };
        }
        hooks.AfterCompany = [&](const std::string& line, int listed) {
          messages << platform::Cp1252ToTerminal(line) << ": " << listed
                   << (listed == 1 ? " dipendente elencato" : " dipendenti elencati") << "\n";
        };
        run.transfer.kind = cl.transfer;
        run.transfer.execution_date = cl.execution_date;
        run.transfer.only_rejected = cl.only_rejected;
        // Nobody is there to ask: the command line has answered.
        run.transfer.confirm_again = [&cl](const std::string&) { return cl.transfer_again; };
        run.transfer.register_wait.waiting = [&](const std::string& path) {
          messages << "vxorel: " << platform::Cp1252ToUtf8(RegisterLockedText(path)) << std::endl;
        };
        if (cl.lock_timeout) run.transfer.register_wait.give_up_after = std::chrono::seconds(*cl.lock_timeout);
        const RunOutcome outcome = run.CmdStampa_Click(controls, hooks);
        if (outcome == RunOutcome::Locked) status = kExitArchivesLocked;
        else if (outcome != RunOutcome::Completed) status = 1;
        // The companies not hit by the damage were listed; the status says
        // that some listing is missing or incomplete all the same.
        if (status == 0 && run.run_report.ArchivesDamaged()) status = kExitArchivesDamaged;
        // Damage says more; short of it, an output asked for and not
        // written (a transfer file) is not a run that went well.
        if (status == 0 && run.run_report.OutputsNotWritten()) status = kExitOutputsNotWritten;
        if (status == 0 && run.transfer_refused) status = kExitAlreadyPaid;
        WriteRunReport(run.run_report, messages);
      }
    }
    // Leaving goes through the window's exit: every archive is closed and
    // the terminal is handed back to the task launcher.
    archives.CHIUDI(0);
    archives.CHIUDIPROGRAMMA();
  } catch (const platform::ProgramEnd& end) {
    files.CloseAll();
    if (status == 0) status = end.status;
  }
  messages.flush();
  return status;
}

}  // namespace vx::app
