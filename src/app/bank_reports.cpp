#include "app/bank_reports.h"

#include <map>
#include <ostream>
#include <set>
#include <string>

#include "app/register_folder.h"
#include "platform/codepage.h"
#include "register/transfer_register.h"
#include "transfer/credit_transfer.h"
#include "transfer/status_reasons.h"
#include "transfer/status_report.h"

namespace vx::app {

namespace {

namespace fs = std::filesystem;
using vx::reg::Outcome;
using vx::transfer::StatusClass;

// A file that cannot be applied as it stands: the register takes back what
// it took from it.
struct Refusal {
  std::string why;  // cp1252
};

std::string Cp1252(const fs::path& path) { return vx::platform::Utf8ToCp1252(path.string()); }

std::string Counted(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "3 accettati, 1 respinto, 0 in attesa", and the salaries still unanswered when there are any.
std::string Counts(const reg::StatusCounts& c) {
  std::string text = Counted(c.accepted, "accettato", "accettati") + ", " +
                     Counted(c.rejected, "respinto", "respinti") + ", " + std::to_string(c.pending) + " in attesa";
  if (c.unanswered > 0) text += ", " + std::to_string(c.unanswered) + " senza esito";
  return text;
}

std::string Reasons(const std::vector<std::string>& codes) {
  if (codes.empty()) return "motivo non indicato";
  std::string text;
  for (const auto& code : codes) text += (text.empty() ? "" : "; ") + vx::transfer::ReasonText(code);
  return text;
}

// When a status was given, for the operator: the report's creation time.
std::string When(const std::string& created) {
  return created.empty() ? "senza data" : "del " + created.substr(0, 19);
}

std::string Unknown(reg::TransferRegister& r, const vx::transfer::StatusReport& sr) {
  std::string why = "esito " + sr.message_id + " per il file dei bonifici " + sr.original_message_id;
  if (!sr.original_message_name.empty()) why += " (" + sr.original_message_name + ")";
  for (const reg::RegisteredFile& f : r.History()) {
    if (f.message_id == sr.original_message_id) {
      return why + ", che il registro conosce solo come non scritto (" + f.file_name + " del " + f.written_at +
             "): mai consegnato alla banca";
    }
  }
  return why + ", che il registro non conosce: non scritto da questo programma in questa installazione";
}

std::string Unmatched(const vx::transfer::StatusReport& sr, const std::vector<vx::transfer::TransactionStatus>& out) {
  constexpr std::size_t kNamed = 5;
  std::string list;
  for (std::size_t i = 0; i < out.size() && i < kNamed; ++i) {
    const auto& s = out[i];
    list += i == 0 ? "" : ", ";
    if (!s.end_to_end_id.empty()) list += s.end_to_end_id;
    else if (!s.instruction_id.empty()) list += "istruzione " + s.instruction_id;
    else list += "pagamento " + s.payment_info_id;
  }
  if (out.size() > kNamed) list += " e altri " + std::to_string(out.size() - kNamed);
  return "esito " + sr.message_id + " per il file dei bonifici " + sr.original_message_id +
         " con stati per bonifici che il file non contiene (" + list + ")";
}

ReportEntry Entry(Severity severity, const reg::RegisteredFile& file) {
  ReportEntry e;
  e.severity = severity;
  e.topic = kTopicEsiti;
  e.company = file.company;
  return e;
}

ReportEntry SalaryEntry(Severity severity, const reg::RegisteredFile& file, const reg::RegisteredTransaction& t) {
  ReportEntry e = Entry(severity, file);
  e.employee = t.employee;
  e.name = t.name;
  e.field = "IBAN";
  e.value = t.iban;
  return e;
}

// What one applied report says, file by file: the file's salaries as they
// stand now, then each salary the operator must look at.
void Describe(const vx::transfer::StatusReport& sr, const reg::ApplyResult& result, const std::string& shown,
              std::vector<ReportEntry>& entries) {
  // A report read before: when, from the status it left.
  bool again = !result.applied.empty();
  std::string read_before;
  for (const reg::AppliedStatus& a : result.applied) {
    if (a.outcome != Outcome::AlreadyRecorded) again = false;
    const auto& before = a.transaction.status;
    if (before && before->report_message_id == sr.message_id && read_before.empty()) read_before = before->read_at;
  }
  for (const reg::RegisteredFile& file : result.files) {
    ReportEntry summary = Entry(Severity::Notice, file);
    summary.field = file.file_name;
    summary.message = "esito " + sr.message_id + " " + When(sr.created) + " (" + shown + ")";
    if (again) {
      summary.message += " gi\xE0 letto" + (read_before.empty() ? std::string() : " il " + read_before) +
                         ": nulla \xE8 stato contato due volte";
    }
    summary.message += "; " + Counted(file.count, "bonifico", "bonifici") + " del file: " + Counts(file.counts);
    entries.push_back(std::move(summary));

    // A file written again with the same identifiers holds the same
    // salaries: each is said once.
    std::set<std::string> said;
    for (const reg::AppliedStatus& a : result.applied) {
      if (a.transaction.file_id != file.id || !said.insert(a.transaction.end_to_end_id).second) continue;
      const auto& before = a.transaction.status;
      const std::string was = before ? vx::transfer::StatusText(before->status) + " " + When(before->report_created)
                                     : std::string("senza esito");
      const bool rejected = vx::transfer::ClassOf(a.status) == StatusClass::Rejected;
      const std::string amount = "bonifico di " + vx::transfer::Amount(a.transaction.cents);
      switch (a.outcome) {
        case Outcome::Recorded:
        case Outcome::AlreadyRecorded: {
          // Said again on a second reading, unless a later report has since said otherwise.
          if (a.outcome == Outcome::AlreadyRecorded && (!before || before->report_message_id != sr.message_id)) break;
          if (!rejected) break;
          ReportEntry e = SalaryEntry(Severity::Error, file, a.transaction);
          e.message = amount + " respinto dalla banca: " + Reasons(a.reasons);
          entries.push_back(std::move(e));
          break;
        }
        case Outcome::OverrodeFinal: {
          ReportEntry e = SalaryEntry(Severity::Error, file, a.transaction);
          e.message = amount + ": " + vx::transfer::StatusText(a.status) +
                      (rejected ? ", " + Reasons(a.reasons) : std::string()) + ", dopo lo stato definitivo " + was +
                      ": vale quest'ultimo";
          entries.push_back(std::move(e));
          break;
        }
        case Outcome::Older: {
          ReportEntry e = SalaryEntry(Severity::Notice, file, a.transaction);
          e.message = amount + ": " + vx::transfer::StatusText(a.status) + " in un esito anteriore allo stato " +
                      "registrato " + was + ": conservato nello storico, stato invariato";
          entries.push_back(std::move(e));
          break;
        }
        case Outcome::CopyRejected: {
          ReportEntry e = SalaryEntry(Severity::Notice, file, a.transaction);
          e.message = amount + ": respinto come copia di un pagamento gi\xE0 presentato (" + Reasons(a.reasons) +
                      "): conservato nello storico, il bonifico resta " + was;
          entries.push_back(std::move(e));
          break;
        }
      }
    }
  }
}

// One file: every report in it applied, or none.
bool ReadOne(reg::TransferRegister& r, const fs::path& file, RunReport& report) {
  const std::string shown = Cp1252(file);
  auto refuse = [&](const std::string& why) {
    ReportEntry e;
    e.topic = kTopicEsiti;
    e.field = shown;
    e.message = why + ": esito non letto, registro invariato";
    report.Add(std::move(e));
    return false;
  };
  std::vector<vx::transfer::StatusReport> reports;
  try {
    reports = vx::transfer::ReadStatusReportFile(file);
  } catch (const vx::transfer::StatusReportError& e) {
    return refuse(e.what());
  }
  std::error_code error;
  const std::string recorded_as = Cp1252(fs::absolute(file, error).lexically_normal());
  std::vector<ReportEntry> entries;
  try {
    r.Exclusively([&] {
      for (const auto& sr : reports) {
        const reg::ApplyResult result = r.ApplyStatusReport(sr, recorded_as);
        if (result.files.empty()) throw Refusal{Unknown(r, sr)};
        if (!result.unmatched.empty()) throw Refusal{Unmatched(sr, result.unmatched)};
        Describe(sr, result, shown, entries);
      }
    });
  } catch (const Refusal& refusal) {
    return refuse(refusal.why);
  } catch (const reg::RegisterBusy&) {
    throw;
  } catch (const reg::RegisterError& e) {
    return refuse(vx::platform::Utf8ToCp1252(e.what()));
  }
  for (ReportEntry& e : entries) report.Add(std::move(e));
  return true;
}

}  // namespace

BankReportsRead ReadBankReports(const std::vector<fs::path>& files, const fs::path& folder, RunReport& report,
                                reg::BusyWait wait) {
  BankReportsRead read;
  // The register comes with the first transfer file written; reading an
  // answer never makes one.
  std::error_code error;
  if (folder.empty() || !fs::is_regular_file(folder / reg::kRegisterName, error)) {
    ReportEntry e;
    e.topic = kTopicEsiti;
    e.field = Cp1252(folder / reg::kRegisterName);
    e.message = "registro dei file dei bonifici mancante: nessun file dei bonifici \xE8 stato scritto con "
                "registro in questa installazione; esiti non letti";
    report.Add(std::move(e));
    read.refused = static_cast<int>(files.size());
    return read;
  }
  reg::TransferRegister r(folder, std::move(wait));
  for (const fs::path& file : files) {
    if (ReadOne(r, file, report)) ++read.read;
    else ++read.refused;
  }
  return read;
}

int RunBatchBankReports(const CommandLine& cl, const platform::WinePrefix& prefix, std::ostream& messages) {
  const auto folder = InstalledTransferFolder(prefix, messages);
  if (!folder) return 1;
  std::vector<fs::path> files(cl.bank_reports.begin(), cl.bank_reports.end());
  RunReport report;
  int status = 0;
  try {
    status = ReadBankReports(files, *folder, report, BatchRegisterWait(cl, messages)).refused > 0 ? 1 : 0;
  } catch (const reg::RegisterBusy& e) {
    messages << "vxorel: " << e.path << ": gave up waiting for the register after --lock-timeout; the files "
             << "before were read, the others were not\n";
    status = kExitArchivesLocked;
  } catch (const reg::RegisterError& e) {
    messages << "vxorel: " << e.what() << "\n";
    status = 1;
  }
  WriteRunReport(report, messages, kTitoloEsiti);
  messages.flush();
  return status;
}

}  // namespace vx::app
