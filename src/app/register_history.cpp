#include "app/register_history.h"

#include <map>
#include <ostream>

#include "app/register_folder.h"
#include "platform/codepage.h"
#include "transfer/credit_transfer.h"

namespace vx::app {

namespace {

constexpr const char* kMonths[] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                                   "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};

const char* StateText(reg::FileState state) {
  switch (state) {
    case reg::FileState::Written: return "scritto";
    case reg::FileState::BeingWritten: return "in scrittura";
    case reg::FileState::NotWritten: return "non scritto";
  }
  return "";
}

std::string Period(std::optional<int> year, std::optional<int> month) {
  std::string text = month ? std::string(kMonths[*month - 1]) : std::string("tutti i mesi");
  return text + (year ? " " + std::to_string(*year) : std::string(month ? " di ogni anno" : ""));
}

}  // namespace

void WriteHistory(const std::vector<reg::RegisteredFile>& files, std::ostream& out) {
  using vx::platform::Cp1252ToTerminal;
  std::map<int64_t, const reg::RegisteredFile*> by_id;
  for (const auto& f : files) by_id[f.id] = &f;
  const reg::RegisteredFile* previous = nullptr;
  for (const reg::RegisteredFile& f : files) {
    if (!previous || previous->company != f.company || previous->slot != f.slot || previous->year != f.year ||
        previous->month != f.month) {
      out << "Ditta " << Cp1252ToTerminal(f.company) << ", conto " << f.slot << ", " << kMonths[f.month - 1] << " "
          << f.year << ":\n";
    }
    previous = &f;
    out << "  " << Cp1252ToTerminal(f.file_name) << " (" << (f.kind == vx::transfer::TransferKind::Cbi ? "CBI" : "SEPA")
        << ") registrato il " << f.written_at << ": " << StateText(f.state) << "\n";
    out << "    " << f.count << (f.count == 1 ? " bonifico" : " bonifici") << ", totale "
        << vx::transfer::Amount(f.total_cents) << ", esecuzione " << f.execution_date << ", messaggio "
        << f.message_id << "\n";
    if (f.completes) {
      const auto it = by_id.find(*f.completes);
      out << "    completa ";
      if (it != by_id.end()) {
        out << Cp1252ToTerminal(it->second->file_name) << " registrato il " << it->second->written_at;
      } else {
        out << "il file " << *f.completes << " del registro";
      }
      out << "\n";
    }
    out << "    esiti: " << f.counts.accepted << (f.counts.accepted == 1 ? " accettato, " : " accettati, ")
        << f.counts.rejected << (f.counts.rejected == 1 ? " respinto, " : " respinti, ") << f.counts.pending
        << " in attesa, " << f.counts.unanswered << " senza esito\n";
  }
}

int RunBatchHistory(const CommandLine& cl, const platform::WinePrefix& prefix, std::ostream& out,
                    std::ostream& messages) {
  const auto folder = InstalledTransferFolder(prefix, messages);
  if (!folder) return 1;
  std::error_code error;
  if (!std::filesystem::is_regular_file(*folder / reg::kRegisterName, error)) {
    messages << "vxorel: no register of transfer files in " << folder->string()
             << ": the program has written no transfer file for this installation yet\n";
    return 1;
  }
  try {
    reg::TransferRegister r(*folder, BatchRegisterWait(cl, messages));
    const auto files = r.History(cl.year, cl.month);
    out << "Registro dei file dei bonifici " << r.Path() << "\n";
    if (files.empty()) out << "Nessun file registrato per " << Period(cl.year, cl.month) << ".\n";
    WriteHistory(files, out);
    out.flush();
  } catch (const reg::RegisterBusy& e) {
    messages << "vxorel: " << e.path << ": gave up waiting for the register after --lock-timeout\n";
    return kExitArchivesLocked;
  } catch (const reg::RegisterError& e) {
    messages << "vxorel: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace vx::app
