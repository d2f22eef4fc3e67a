#include "app/run.h"

#include "app/boni.h"
#include "app/coordinate_checks.h"
#include "app/text_rules.h"
#include "archive/descriptors.h"
#include "archive/payroll_archives.h"
#include "output/output.h"
#include "platform/errors.h"
#include "platform/message_box.h"
#include "platform/regional.h"
#include "report/report.h"

namespace vx::app {

using vx::platform::MessageBox;

namespace {

// What the archive layer found about the installation (missing archives, a
// missing semaphore file, damage) goes in every run's report, whatever way
// the run ends.
struct NoteFindings {
  RunReport& report;
  const std::vector<vx::archive::ArchiveFinding>& findings;
  ~NoteFindings() {
    for (const auto& f : findings) {
      report.Add({f.damage ? Severity::Error : Severity::Notice, kTopicArchivi, f.company, f.employee, {}, f.path,
                  {}, f.message});
    }
  }
};

}  // namespace

std::string ArchivesLockedText(const std::string& semaphore_path) {
  return "Gli archivi paghe sono bloccati da un altro programma (" + semaphore_path +
         "): la stampa attende che si liberino.";
}

std::string RegisterLockedText(const std::string& register_path) {
  return "Il registro dei file dei bonifici \xE8 in uso da un altro programma (" + register_path +
         "): la stampa attende che si liberi.";
}

PaymentRun::PaymentRun(vx::archive::PayrollArchives& archive, vx::output::Output& output,
                       vx::platform::MessageBoxes& boxes, const std::vector<std::string>& List1,
                       const std::vector<std::string>& ElencoEstrazione, const std::string& DataPaghe)
    : archive_(archive), output_(output), boxes_(boxes), List1_(List1), ElencoEstrazione_(ElencoEstrazione),
      DataPaghe_(DataPaghe) {}

bool PaymentRun::RefusePeriod(const RunControls& controls) {
  // A period that is not a real month and year would list the wrong
  // payments: nothing starts until it is corrected.
  const auto problem = PeriodProblem(controls);
  if (!problem) return false;
  MessageBox box;
  box.title = kCaptionFinestra;
  box.text = *problem;
  box.icon = vx::platform::Icon::Critical;
  boxes_.Show(box);
  return true;
}

PassHooks PaymentRun::CheckingHooks(const PassHooks& hooks) {
  PassHooks run_hooks = hooks;
  run_hooks.BeforeCompany = [this, before = hooks.BeforeCompany](const std::string& company_code) {
    listed.clear();
    if (before) before(company_code);
  };
  // The coordinates are checked first: what follows the listing (the
  // transfer file) reports after them.
  run_hooks.AfterCompany = [this, after = hooks.AfterCompany](const std::string& company_line, int count) {
    if (check_coordinates) CheckListedCoordinates(Left(company_line, 3), listed, run_report);
    if (after) after(company_line, count);
  };
  return run_hooks;
}

RunOutcome PaymentRun::ArchivesStayedLocked(const vx::archive::SemaphoreNotTaken& e, bool listing) {
  // The company being listed is abandoned like any company that fails
  // half way; the companies before it are complete.
  const auto line = static_cast<std::size_t>(passes.IndiceDitta);
  const std::string company = line < List1_.size() ? List1_[line].substr(0, 3) : std::string();
  MessageBox box;
  box.title = kCaptionFinestra;
  box.text = e.cancelled ? "Stampa annullata mentre gli archivi paghe erano bloccati da un altro programma ("
                         : "Gli archivi paghe sono rimasti bloccati da un altro programma per " +
                               std::to_string((e.waited.count() + 500) / 1000) + " secondi (";
  box.text += e.path + ").\r\n" +
              (listing ? "La stampa \xE8 stata interrotta: nessun file della ditta " + company + " \xE8 stato prodotto."
                       : "Il controllo delle coordinate bancarie \xE8 stato interrotto alla ditta " + company + ".");
  box.icon = vx::platform::Icon::Critical;
  boxes_.Show(box);
  return e.cancelled ? RunOutcome::Stopped : RunOutcome::Locked;
}

RunOutcome PaymentRun::CheckCoordinates(const RunControls& controls, const PassHooks& hooks) {
  if (RefusePeriod(controls)) return RunOutcome::Stopped;
  run_report.Clear();
  settings = ComputeRunSettings(controls, DataPaghe_);
  // The passes want a report and a transfer file to hand; qualifying alone
  // uses neither.
  BoniFile boni(archive_, archive_.Files(), vx::platform::DecimalSeparator(archive_.Prefix()));
  vx::report::Report report(archive_, output_, listing, report_settings, {});
  Passes pass(archive_, output_, report, listing, passes, boni, settings, controls, List1_, ElencoEstrazione_,
              run_report, CheckingHooks(hooks));
  NoteFindings note_findings{run_report, archive_.state.Rilievi};
  try {
    pass.QualifyOnly([this] {
      // The net pay the listing would print: the same field, read the same way.
      listed.push_back({EmployeeFields(archive_), archive_.RepoN(vx::archive::fields::kEmployeeNetPay, 0)});
    });
  } catch (const vx::archive::SemaphoreNotTaken& e) {
    return ArchivesStayedLocked(e, false);
  } catch (const vx::platform::RuntimeError& e) {
    archive_.GESTIERRORE(e);
    return RunOutcome::Stopped;
  }
  return RunOutcome::Completed;
}

RunOutcome PaymentRun::CmdStampa_Click(const RunControls& controls, const PassHooks& hooks) {
  if (RefusePeriod(controls)) return RunOutcome::Stopped;
  // Transfer files go only with the payroll month the archives hold, and
  // the bank is asked for a day it executes transfers on, or nothing starts.
  const auto now = clock();
  std::optional<vx::transfer::Date> execution;
  if (transfer.kind) {
    const vx::transfer::Date today = LocalDate(now);
    execution = transfer.execution_date ? *transfer.execution_date : vx::transfer::NextBusinessDay(today);
    auto problem = TransferPeriodProblem(controls, DataPaghe_);
    if (!problem) problem = ExecutionDateProblem(*execution, today);
    if (problem) {
      MessageBox box;
      box.title = kCaptionFinestra;
      box.text = *problem;
      box.icon = vx::platform::Icon::Critical;
      boxes_.Show(box);
      return RunOutcome::Stopped;
    }
  }

  output_.state.PDFCreati = 0;
  output_.PDFSostituiti.clear();
  run_report.Clear();
  transfer_refused = false;
  {
    MessageBox box;
    box.title = kCaptionFinestra;
    box.text =
        "ATTENZIONE: IL PROGRAMMA PRODUCE (oltre alla stampa) ANCHE IL FILE BONIXXX.TXT (XXX=CODICE DITTA)"
        "\r\ndelimitato da   ';'   importabile in EXCEL";
    boxes_.Show(box);
  }

  settings = ComputeRunSettings(controls, DataPaghe_);
  output_.state.AnnoMesePDF = settings.AnnoMesePDF;
  output_.state.ModoNomePDF = 0;
  output_.state.StampaPDF = settings.StampaPDF;
  output_.state.ProtezioneAES256 = settings.ProtezioneAES256;
  report_settings.PeriodoStampa = settings.PeriodoStampa;
  report_settings.DescrizioneStampa = settings.DescrizioneStampa;
  report_settings.TotaliPerBanca = settings.TotaliPerBanca;
  report_settings.PaginaPerBanca = settings.PaginaPerBanca;
  report_settings.ChkGrassetto = controls.ChkGrassetto;

  BoniFile boni(archive_, archive_.Files(), vx::platform::DecimalSeparator(archive_.Prefix()));
  vx::report::Report report(archive_, output_, listing, report_settings, [this, &boni] {
    ListedEmployee employee{EmployeeFields(archive_), listing.NettoDipendente};
    boni.Scrivi(employee.fields, employee.net_pay);
    listed.push_back(std::move(employee));
  });
  PassHooks run_hooks = hooks;
  std::optional<TransferFiles> transfers;
  if (transfer.kind) {
    const std::string& description = settings.DescrizioneStampa;
    transfers.emplace(archive_, *transfer.kind, *execution, now, std::stoi(Trim(controls.ComboAnno)),
                      settings.NumeroMese,
                      "STIPENDIO " + settings.PeriodoStampa + (description.empty() ? "" : " " + description),
                      run_report, transfer);
  }
  // A company's transfer file follows its completed listing and BONI file;
  // a company abandoned half way never gets here.
  run_hooks.AfterCompany = [this, &hooks, &transfers](const std::string& company_line, int n) {
    if (transfers) {
      transfers->Company(Left(company_line, 3), listing.ContoDitta, listed);
      transfer_refused = transfer_refused || transfers->RefusedRepeat();
    }
    if (hooks.AfterCompany) hooks.AfterCompany(company_line, n);
  };
  Passes pass(archive_, output_, report, listing, passes, boni, settings, controls, List1_, ElencoEstrazione_,
              run_report, CheckingHooks(run_hooks));

  NoteFindings note_findings{run_report, archive_.state.Rilievi};

  // Whatever way the run ends, the files it replaced are said: they are gone.
  struct ReportReplaced {
    PaymentRun& run;
    ~ReportReplaced() { run.ReportReplacedFiles(); }
  } report_replaced{*this};

  try {
    if (settings.StampaLaser == 1) {
      if (controls.OptStampaSemplificata) pass.LASERSEMPLIFICATA();
      if (controls.OptStampaDettagliata) pass.LASERDETTAGLIATA();
    } else {
      if (controls.OptStampaSemplificata) pass.PDFSEMPLIFICATA();
      if (controls.OptStampaDettagliata) pass.PDFDETTAGLIATA();
    }
  } catch (const BoniFileError& e) {
    // Without its transfer file a company cannot be paid from this run:
    // stop here rather than list companies whose file is missing.
    MessageBox box;
    box.title = kCaptionFinestra;
    box.text = "Impossibile creare il file " + e.path + " (" + e.reason +
               ").\r\nLa stampa \xE8 stata interrotta: nessun file di questa ditta \xE8 stato prodotto.";
    box.icon = vx::platform::Icon::Critical;
    boxes_.Show(box);
    return RunOutcome::Stopped;
  } catch (const vx::archive::SemaphoreNotTaken& e) {
    return ArchivesStayedLocked(e, true);
  } catch (const vx::output::PdfPasswordRefused& e) {
    // A file nobody could open is not written; the companies before this
    // one are complete.
    MessageBox box;
    box.title = kCaptionFinestra;
    box.text = std::string(e.what()) + "\r\nLa stampa \xE8 stata interrotta: nessun file della ditta " +
               e.company + " \xE8 stato prodotto.";
    box.icon = vx::platform::Icon::Critical;
    boxes_.Show(box);
    return RunOutcome::Stopped;
  } catch (vx::platform::RuntimeError& e) {
    // A device failure the drawing could not get past. The company's
    // unfinished outputs are already gone; the error routine reports it,
    // naming the PDF file by its own name, and may end the program.
    output_.NameFile(e);
    archive_.GESTIERRORE(e);
    return RunOutcome::Stopped;
  }

  if (settings.PDFRichiesto) {
    if (output_.state.PDFCreati == 1) {
      MessageBox box;
      box.title = "Pagamenti in conto/corrente";
      box.text = "I file PDF relativi alle ditte selezionate sono stati creati in : \r\r" +
                 output_.state.CartellaRadicePDF + "\\FILE-PDF\\DITTA\\ANNO\\MESE\\BANC\r\r";
      box.icon = vx::platform::Icon::Information;
      boxes_.Show(box);
    }
    if (output_.state.PDFAperto) output_.CHIUDIPDF();
  }
  return RunOutcome::Completed;
}

void PaymentRun::ReportReplacedFiles() {
  for (const auto& file : output_.PDFSostituiti) {
    ReportEntry entry;
    entry.severity = Severity::Notice;
    entry.topic = "File PDF";
    entry.company = file.company;
    entry.field = file.path;
    entry.message = file.old_name.empty()
                        ? "sostituisce il file omonimo di una stampa precedente"
                        : "sostituisce il file " + file.old_name +
                              " di una stampa precedente (stesso nome con maiuscole diverse)";
    run_report.Add(std::move(entry));
  }
  output_.PDFSostituiti.clear();
}

}  // namespace vx::app
