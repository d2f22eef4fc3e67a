#include "app/transfer_files.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <exception>
#include <fstream>
#include <iterator>
#include <set>

#include "app/coordinate_checks.h"
#include "app/paid_month.h"
#include "app/run.h"
#include "app/text_rules.h"
#include "archive/descriptors.h"
#include "archive/payroll_archives.h"
#include "bank/bic.h"
#include "bank/cin.h"
#include "bank/iban.h"
#include "bank/tax_code.h"
#include "output/pdf_names.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/finished_file.h"
#include "register/sha256.h"
#include "report/layout_text.h"
#include "transfer/epc_text.h"
#include "transfer/status_reasons.h"

namespace vx::app {

namespace f = vx::archive::fields;
using vx::bank::Failure;
using vx::transfer::EpcText;
using vx::transfer::TransferKind;

namespace {

// The lengths the messages allow.
constexpr std::size_t kName = 70, kRemittance = 140, kAddress = 70, kShort = 16, kTown = 35;

std::tm LocalTime(std::chrono::system_clock::time_point moment) {
  const std::time_t t = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_r(&t, &local);
  return local;
}

// What a failed check found, for the operator.
std::string Reason(const vx::bank::Verdict& v, const char* what) {
  switch (v.failure) {
    case Failure::None: return {};
    case Failure::Empty: return std::string(what) + " mancante";
    case Failure::InvalidCharacters: return std::string(what) + " con caratteri non ammessi";
    case Failure::InvalidLength: return std::string(what) + " di lunghezza errata (attesa " + v.expected + ")";
    case Failure::InvalidFormat: return std::string(what) + " di formato errato";
    case Failure::InvalidComponent: return std::string(what) + " di un paese fuori dall'area SEPA";
    case Failure::InvalidChecksum: return std::string(what) + " con controllo errato (atteso " + v.expected + ")";
  }
  return {};
}

bool LettersAndDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// Why an employee cannot be paid by this file, or nothing. A blank BIC, or
// one of zeros, is no BIC (as the BONI file has it).
std::string Unpayable(int64_t cents, const std::string& iban) {
  if (cents <= 0) return "netto in busta zero o negativo";
  const vx::bank::Verdict verdict = vx::bank::ValidateIban(iban);
  if (!verdict.Valid()) return Reason(verdict, "IBAN");
  if (iban.compare(0, 2, "IT") == 0) {
    const vx::bank::Verdict bban = vx::bank::ValidateItalianBban(iban.substr(4));
    if (!bban.Valid()) return Reason(bban, "CIN ABI CAB e conto dell'IBAN");
  }
  return {};
}

}  // namespace

vx::transfer::Date LocalDate(std::chrono::system_clock::time_point moment) {
  const std::tm t = LocalTime(moment);
  return vx::transfer::Date{std::chrono::year{t.tm_year + 1900}, std::chrono::month{static_cast<unsigned>(t.tm_mon + 1)},
                            std::chrono::day{static_cast<unsigned>(t.tm_mday)}};
}

std::optional<std::string> ExecutionDateProblem(vx::transfer::Date date, vx::transfer::Date today) {
  const std::string iso = vx::transfer::IsoDate(date);
  if (std::chrono::sys_days{date} < std::chrono::sys_days{today})
    return "Data di esecuzione dei bonifici " + iso + " gi\xE0 passata: indicare oggi o un giorno successivo.";
  if (vx::transfer::IsClosingDay(date))
    return "Data di esecuzione dei bonifici " + iso +
           " non lavorativa per le banche (sabato, domenica o chiusura TARGET2): indicare un giorno lavorativo.";
  return std::nullopt;
}

std::string TransferFileName(TransferKind kind, const std::string& company, int slot, int year, int month) {
  char period[16];
  std::snprintf(period, sizeof period, "%04d-%02d", year, month);
  return std::string(kind == TransferKind::Cbi ? "CBI_" : "SEPA_") + company + "_B" + std::to_string(slot) + "_" +
         period + ".xml";
}

TransferFiles::TransferFiles(vx::archive::PayrollArchives& archive, TransferKind kind,
                             vx::transfer::Date execution_date, std::chrono::system_clock::time_point now, int year,
                             int month, std::string remittance, RunReport& report, const TransferChoice& choice)
    : archive_(archive), kind_(kind), execution_date_(execution_date), now_(now), year_(year), month_(month),
      remittance_(EpcText(remittance, kRemittance)), report_(report), choice_(choice) {
  const std::tm t = LocalTime(now);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y%m%d%H%M%S", &t);
  stamp_ = buffer;
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &t);
  created_ = buffer;
  root_ = vx::output::PdfRoot(archive_.state.PERCORSOARCHIVI, "");
}

void TransferFiles::Problem(Severity severity, const std::string& company, const std::string& field,
                            const std::string& value, const std::string& message) {
  ReportEntry e;
  e.severity = severity;
  e.topic = "Bonifici";
  e.company = company;
  e.field = field;
  e.value = value;
  e.message = message;
  report_.Add(std::move(e));
}

const vx::transfer::DebtorSettings* TransferFiles::Settings(const std::string& company, int slot) {
  const std::string path = root_ + "\\" + std::string(vx::transfer::kDebtorSettingsName);
  if (!settings_read_) {
    settings_read_ = true;
    const auto file = vx::transfer::ReadDebtorSettingsFile(archive_.Prefix().Map(path));
    settings_unusable_ = file.state == vx::transfer::DebtorSettingsFile::State::Unusable;
    if (settings_unusable_) Problem(Severity::Error, "", path, "", file.problem);
    if (file.state == vx::transfer::DebtorSettingsFile::State::Read) {
      settings_ = vx::transfer::DebtorSettings::Parse(file.text);
      // Every fault while they fit in twenty lines; past that, nineteen and a count.
      constexpr std::size_t kLines = vx::transfer::DebtorSettings::kKeptFaults;
      const auto& faults = settings_->Faults();
      const std::size_t total = settings_->FaultCount();
      const std::size_t shown = total > kLines ? kLines - 1 : total;
      for (std::size_t i = 0; i < shown; ++i) {
        const auto& fault = faults[i];
        Problem(Severity::Error, fault.company, path, "",
                "riga " + std::to_string(fault.line) + ": " + fault.message +
                    (fault.company.empty() ? "" : ": nessun file dei bonifici per questa ditta"));
        if (!fault.company.empty()) named_in_faults_.insert(fault.company);
      }
      if (shown < total) {
        Problem(Severity::Error, "", path, "",
                "altri " + std::to_string(total - shown) + " errori in righe successive, non mostrati");
      }
    }
  }
  if (!settings_) {
    Problem(Severity::Error, company, path, "",
            std::string(settings_unusable_ ? "file delle coordinate di addebito non utilizzabile"
                                           : "file delle coordinate di addebito non trovato") +
                ": nessun file dei bonifici per il conto " + std::to_string(slot));
  }
  return settings_ ? &*settings_ : nullptr;
}

// The company's side of the file; false (with the problem reported) when a
// setting is missing or cannot be right.
bool TransferFiles::Debtor(const std::string& company, int slot, vx::transfer::Debtor& d) {
  const auto* settings = Settings(company, slot);
  if (settings == nullptr) return false;
  const std::string path = root_ + "\\" + std::string(vx::transfer::kDebtorSettingsName);
  // A fault anywhere in the company's part of the file: none of it is trusted.
  if (const int line = settings->FaultyLine(company); line != 0) {
    if (named_in_faults_.count(company) == 0) {
      Problem(Severity::Error, company, path, "",
              "riga " + std::to_string(line) + " errata per questa ditta: nessun file dei bonifici per questa ditta");
    }
    return false;
  }
  const std::string section = vx::transfer::DebtorSettings::SectionName(company, slot);
  const std::string where = " nella sezione [" + section + "] di " + path +
                            ": nessun file dei bonifici per questa ditta e questo conto";
  const auto* keys = settings->Find(company, slot);
  if (keys == nullptr) {
    Problem(Severity::Error, company, section, "", "sezione mancante in " + path +
                                                       ": nessun file dei bonifici per questa ditta e questo conto");
    return false;
  }
  auto value = [keys](const char* key) {
    const auto it = keys->find(key);
    return it == keys->end() ? std::string{} : it->second;
  };

  d.iban = vx::bank::CompactIban(value("IBAN"));
  std::string problem = Reason(vx::bank::ValidateIban(d.iban), "IBAN di addebito");
  if (problem.empty() && kind_ == TransferKind::Cbi && d.iban.compare(0, 2, "IT") != 0)
    problem = "un file CBI addebita solo un conto italiano (IBAN IT...)";
  if (!problem.empty()) {
    Problem(Severity::Error, company, "IBAN", value("IBAN"), problem + where);
    return false;
  }
  d.bic = vx::bank::CompactBic(value("BIC"));
  if (!d.bic.empty() && !vx::bank::BicIsValid(d.bic)) {
    Problem(Severity::Error, company, "BIC", value("BIC"), Reason(vx::bank::ValidateBic(d.bic), "BIC") + where);
    return false;
  }
  if (kind_ == TransferKind::Cbi) {
    d.cuc = vx::archive::UpperCase(value("CUC"));
    if (!LettersAndDigits(d.cuc) || d.cuc.size() > 35) {
      Problem(Severity::Error, company, "CUC", value("CUC"),
              std::string(d.cuc.empty() ? "codice CBI (CUC) della ditta mancante" : "codice CBI (CUC) non valido") +
                  where);
      return false;
    }
    d.tax_id = vx::bank::CompactTaxCode(value("CODICEFISCALE"));
    const vx::bank::Verdict verdict = vx::bank::ValidateCodiceFiscale(d.tax_id);
    if (!verdict.Valid()) {
      std::string why = Reason(verdict, "codice fiscale della ditta");
      if (verdict.failure == Failure::InvalidComponent) {
        why = d.tax_id.size() == 11 ? "partita IVA della ditta con codice di ufficio inesistente (cifre 8-10)"
                                    : "codice fiscale della ditta con data di nascita inesistente";
      }
      Problem(Severity::Error, company, "CODICEFISCALE", value("CODICEFISCALE"), why + where);
      return false;
    }
  }
  d.name = EpcText(archive_.RepoR(f::kCompanyName, 0), kName);
  d.street = EpcText(archive_.RepoR(f::kCompanyAddress, 0), kAddress);
  d.postcode = EpcText(archive_.RepoR(f::kCompanyPostalCode, 0), kShort);
  d.town = EpcText(archive_.RepoR(f::kCompanyTown, 0), kTown);
  d.province = EpcText(archive_.RepoR(f::kCompanyProvince, 0), kTown);
  if (d.name.empty()) {
    Problem(Severity::Error, company, "Ragione sociale", "", "la ditta non ha nome: nessun file dei bonifici");
    return false;
  }
  return true;
}

TransferFiles::~TransferFiles() {
  if (placed_ == 0 || !register_) return;
  try {
    register_->FileWritten(placed_);
  } catch (const vx::reg::RegisterError&) {
    // Settled as written when the register is next opened: the file is in place.
  }
}

std::string TransferFiles::Path(const std::string& name) const {
  return root_ + "\\" + kTransferFolder + "\\" + name;
}

vx::reg::TransferRegister* TransferFiles::Register(const std::string& company) {
  if (register_) return register_.get();
  // The operator is told the register's path as the other files' are.
  const std::string where = Path(vx::reg::kRegisterName);
  vx::reg::BusyWait wait = choice_.register_wait;
  if (wait.waiting) wait.waiting = [say = wait.waiting, where](const std::string&) { say(where); };
  try {
    // Dated at the run's moment, which is the creation time its files
    // carry: a file written again as the same message carries it again.
    register_ = std::make_unique<vx::reg::TransferRegister>(archive_.Prefix().MapOwnName(Path("")).parent_path(),
                                                            std::move(wait), [now = now_] { return now; });
  } catch (const vx::reg::RegisterError& e) {
    Problem(Severity::Error, company, where, "",
            "registro dei file dei bonifici non utilizzabile (" + e.message + "): nessun file dei bonifici");
    return nullptr;
  }
  for (const auto& settled : register_->SettledOnOpening()) {
    Problem(Severity::Notice, settled.file.company, Path(settled.file.file_name), "",
            settled.now == vx::reg::FileState::Written
                ? "file lasciato a met\xE0 da una stampa interrotta: era al suo posto completo, registrato come "
                  "scritto"
                : "file lasciato a met\xE0 da una stampa interrotta: non era al suo posto, registrato come non "
                  "scritto");
  }
  return register_.get();
}

void TransferFiles::Payments(const std::string& company, int slot, const std::vector<ListedEmployee>& listed,
                             const Rejected* rejected, vx::transfer::TransferDocument& doc,
                             std::vector<vx::reg::NewTransaction>& salaries) {
  char period[8];
  std::snprintf(period, sizeof period, "%04d%02d", year_, month_);
  const std::string tail = "B" + std::to_string(slot) + "-" + stamp_;
  for (const ListedEmployee& employee : listed) {
    const BoniFields& e = employee.fields;
    const auto again = rejected ? rejected->find(Trim(e.code)) : Rejected::const_iterator{};
    if (rejected && again == rejected->end()) continue;
    // The net pay to the cent as the listing shows it, half away from zero.
    const auto cents = static_cast<int64_t>(std::round(employee.net_pay * 100.0));
    const std::string iban =
        vx::report::IbanText(e.iban_layout, e.iban_country, e.iban_check, e.cin, e.abi, e.cab, e.account);
    const std::string name = EpcText(Trim(e.surname) + " " + Trim(e.name), kName);
    std::string why = Unpayable(cents, iban);
    if (why.empty() && name.empty()) why = "cognome e nome mancanti";
    // Paid again where the bank found no account, it would be rejected again.
    if (why.empty() && rejected && iban == again->second.transaction.iban &&
        RejectedForTheAccount(again->second.transaction.status->reasons)) {
      std::string reasons;
      for (const auto& code : again->second.transaction.status->reasons)
        reasons += (reasons.empty() ? "" : ", ") + vx::transfer::ReasonText(code);
      why = "bonifico respinto dalla banca (" + reasons + ") e IBAN non ancora corretto";
    }
    if (!why.empty()) {
      ReportEntry entry;
      entry.topic = "Bonifici";
      entry.company = company;
      entry.employee = Trim(e.code);
      entry.name = Trim(e.surname) + " " + Trim(e.name);
      entry.field = cents <= 0 ? "Netto in busta" : "IBAN";
      entry.value = cents <= 0 ? vx::transfer::Amount(cents) : iban;
      entry.message = why + ": escluso dal file dei bonifici, da pagare a parte";
      report_.Add(std::move(entry));
      continue;
    }
    vx::transfer::Payment p;
    p.instruction_id = std::to_string(doc.payments.size() + 1);
    p.end_to_end_id = std::string(period) + "-" + EpcText(Trim(e.code), 10) + tail;
    p.creditor_name = name;
    p.iban = iban;
    // A BIC the coordinate check calls wrong would route the money to
    // another bank: the transfer goes by the IBAN alone, and says so.
    const std::string bic = Trim(e.bic);
    if (const auto problem = BicProblem(bic, iban)) {
      ReportEntry entry;
      entry.severity = Severity::Notice;
      entry.topic = "Bonifici";
      entry.company = company;
      entry.employee = Trim(e.code);
      entry.name = Trim(e.surname) + " " + Trim(e.name);
      entry.field = "BIC";
      entry.value = bic;
      entry.message = *problem + ": lasciato fuori dal file dei bonifici, che paga il solo IBAN";
      report_.Add(std::move(entry));
    } else if (bic.find_first_not_of('0') != std::string::npos) {
      p.bic = bic;
    }
    p.cents = cents;
    p.remittance = remittance_;
    salaries.push_back({Trim(e.code), name, iban, cents, p.end_to_end_id, p.instruction_id});
    doc.payments.push_back(std::move(p));
  }
}

namespace {

// A file of the company's month another program is writing right now (the
// register settled, on opening, those of runs that stopped), or one whose
// identifiers a new file of this run would repeat (a run in the same
// second): no file.
std::optional<std::string> MonthBusy(const std::vector<vx::reg::RegisteredFile>& month, const std::string& company,
                                     int slot, const std::string* new_message_id) {
  for (const auto& f : month) {
    if (f.company != company || f.slot != slot) continue;
    if (f.state == vx::reg::FileState::BeingWritten)
      return "un altro programma sta scrivendo ora il file " + f.file_name + " di questo mese";
    if (new_message_id && f.message_id == *new_message_id)
      return "il file " + f.file_name + " ha gli stessi identificativi (scritto nello stesso secondo): rifare la stampa";
  }
  return std::nullopt;
}

// A name no file of the month was given: the main one, or a numbered one.
std::string FreeName(const std::string& main_name, const std::vector<vx::reg::RegisteredFile>& month) {
  if (std::none_of(month.begin(), month.end(), [&](const auto& f) {
        return f.file_name == main_name && f.state != vx::reg::FileState::NotWritten;
      }))
    return main_name;
  return FurtherFileName(main_name, "", month, 2);
}

}  // namespace

void TransferFiles::ReportDifferences(const std::string& company, const vx::reg::RegisteredFile& paid,
                                      const std::vector<vx::reg::NewTransaction>& salaries) {
  for (const SalaryDifference& d : Differences(paid, salaries)) {
    ReportEntry entry;
    entry.severity = Severity::Notice;
    entry.topic = "Bonifici";
    entry.company = company;
    entry.employee = d.employee;
    entry.name = d.name;
    entry.message = (d.paid ? "gi\xE0 pagato " + SalaryText(*d.paid) : std::string("non pagato")) + " dal file " +
                    paid.file_name + "; questa stampa " +
                    (d.would_pay ? "pagherebbe " + SalaryText(*d.would_pay) : std::string("non lo paga"));
    report_.Add(std::move(entry));
  }
}

bool TransferFiles::DecideRepeat(vx::reg::TransferRegister& reg, const std::string& company, int slot,
                                 vx::transfer::TransferDocument& doc, std::vector<vx::reg::NewTransaction>& salaries,
                                 vx::reg::NewFile& file, bool& identical) {
  const std::string main_name = TransferFileName(kind_, company, slot, year_, month_);
  const auto all = reg.MonthFiles(company, slot, year_, month_);
  if (const auto busy = MonthBusy(all, company, slot, nullptr)) {
    Problem(Severity::Error, company, Path(main_name), "", *busy + ": nessun file dei bonifici");
    return false;
  }
  // A file that completes another pays only salaries the bank rejected and
  // that no file has paid since (RejectedNotPaidSince sees to it), so it
  // never pays one twice: the month's salaries are those of its main files,
  // of either kind, and a run of the whole month compares with them alone.
  std::vector<vx::reg::RegisteredFile> month;
  for (const auto kind : {TransferKind::Cbi, TransferKind::Sepa}) {
    for (auto& f : reg.WrittenFiles(company, slot, year_, month_, kind)) {
      if (!f.completes) month.push_back(std::move(f));
    }
  }
  std::sort(month.begin(), month.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
  const RepeatVerdict verdict = CompareWithMonth(month, kind_, vx::transfer::IsoDate(execution_date_), salaries);
  const auto same_second = [&] {
    const auto busy = MonthBusy(all, company, slot, &doc.message_id);
    if (busy) Problem(Severity::Error, company, Path(main_name), "", *busy + ": nessun file dei bonifici");
    return busy.has_value();
  };
  if (verdict.repeat == Repeat::First) {
    if (same_second()) return false;
    file.file_name = FreeName(main_name, all);
    return true;
  }
  const vx::reg::RegisteredFile& paid = *verdict.file;
  if (verdict.repeat == Repeat::Identical) {
    // The same message again: its identifiers, its creation time and the
    // order of its salaries, so that a bank that receives both rejects the
    // second as a duplicate.
    doc.message_id = paid.message_id;
    doc.payment_info_id = paid.payment_info_id;
    doc.created = paid.written_at;
    std::map<std::string, const vx::reg::RegisteredTransaction*> registered;
    for (const auto& t : paid.transactions) registered[t.employee] = &t;
    std::vector<std::pair<const vx::reg::RegisteredTransaction*, vx::transfer::Payment>> ordered;
    for (std::size_t i = 0; i < salaries.size(); ++i) {
      const auto* t = registered.at(salaries[i].employee);
      doc.payments[i].end_to_end_id = t->end_to_end_id;
      doc.payments[i].instruction_id = t->instruction_id;
      ordered.emplace_back(t, std::move(doc.payments[i]));
    }
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first->id < b.first->id; });
    doc.payments.clear();
    for (auto& [t, p] : ordered) doc.payments.push_back(std::move(p));
    file.file_name = paid.file_name;
    file.sha256 = paid.sha256;
    identical = true;
    return true;
  }
  ReportDifferences(company, paid, salaries);
  const std::string already = "mese gi\xE0 pagato dal file " + FileAndDate(paid) +
                              (paid.kind == kind_ ? ", con stipendi diversi da quelli di questa stampa"
                                                  : ", di altro tipo: pagando anche questo si paga due volte");
  std::string question = "La ditta " + company + " ha gi\xE0 un file dei bonifici per " +
                         std::to_string(month_) + "/" + std::to_string(year_) + " sul conto " + std::to_string(slot) +
                         ": " + FileAndDate(paid) + ".\r\n";
  const auto differences = Differences(paid, salaries);
  for (std::size_t i = 0; i < differences.size() && i < 10; ++i) {
    const auto& d = differences[i];
    question += "\r\n" + d.employee + " " + d.name + ": " +
                (d.paid ? "pagato " + SalaryText(*d.paid) : std::string("non pagato")) + ", ora " +
                (d.would_pay ? SalaryText(*d.would_pay) : std::string("non pagato"));
  }
  if (differences.size() > 10) question += "\r\n... e altri " + std::to_string(differences.size() - 10);
  question += "\r\n\r\nScrivere comunque un nuovo file? Chi invia alla banca entrambi i file paga due volte.";
  ReportEntry entry;
  entry.topic = "Bonifici";
  entry.company = company;
  entry.field = Path(main_name);
  if (!choice_.confirm_again || !choice_.confirm_again(question)) {
    refused_repeat_ = true;
    declined_ = true;
    entry.message = already + ": nessun file dei bonifici, per non pagare due volte";
    report_.Add(std::move(entry));
    return false;
  }
  if (same_second()) return false;
  entry.message = "ATTENZIONE: " + already + ": nuovo file scritto comunque, su richiesta, con identificativi nuovi";
  report_.Add(std::move(entry));
  file.file_name = FreeName(main_name, all);
  return true;
}

bool TransferFiles::ChooseRejected(vx::reg::TransferRegister& reg, const std::string& company, int slot,
                                   const std::vector<ListedEmployee>& listed, vx::transfer::TransferDocument& doc,
                                   std::vector<vx::reg::NewTransaction>& salaries, vx::reg::NewFile& file) {
  const std::string main_name = TransferFileName(kind_, company, slot, year_, month_);
  const std::string month = std::to_string(month_) + "/" + std::to_string(year_);
  const auto all = reg.MonthFiles(company, slot, year_, month_);
  if (const auto busy = MonthBusy(all, company, slot, nullptr)) {
    Problem(Severity::Error, company, Path(main_name), "", *busy + ": nessun file dei bonifici");
    return false;
  }
  Rejected rejected;
  for (auto& u : reg.RejectedNotPaidSince(company, slot, year_, month_)) {
    if (!file.completes || u.file.id < *file.completes) file.completes = u.file.id;
    rejected.emplace(u.transaction.employee, std::move(u));
  }
  Payments(company, slot, listed, &rejected, doc, salaries);
  for (const auto& [code, u] : rejected) {
    if (std::any_of(listed.begin(), listed.end(), [&](const auto& e) { return Trim(e.fields.code) == code; }))
      continue;
    ReportEntry entry;
    entry.topic = "Bonifici";
    entry.company = company;
    entry.employee = code;
    entry.name = u.transaction.name;
    entry.message = "bonifico respinto dalla banca nel file " + u.file.file_name +
                    ", ma il dipendente non \xE8 pi\xF9 tra quelli pagati con bonifico sul conto " +
                    std::to_string(slot) + ": escluso dal file dei bonifici, da pagare a parte";
    report_.Add(std::move(entry));
  }
  if (doc.payments.empty()) {
    Problem(Severity::Notice, company, "", "",
            (rejected.empty() ? "nessun bonifico di " + month + " sul conto " + std::to_string(slot) +
                                    " respinto dalla banca e non pagato da allora"
                              : std::string("nessuno dei bonifici respinti si pu\xF2 pagare di nuovo")) +
                ": file dei bonifici non prodotto");
    declined_ = true;
    return false;
  }
  if (const auto busy = MonthBusy(all, company, slot, &doc.message_id)) {
    Problem(Severity::Error, company, Path(main_name), "", *busy + ": nessun file dei bonifici");
    return false;
  }
  file.file_name = FurtherFileName(main_name, "R", all, 1);
  return true;
}

void TransferFiles::Company(const std::string& company, int slot, const std::vector<ListedEmployee>& listed) {
  // Whatever kept the company from its file, the run's status says so.
  if (!CompanyFile(company, slot, listed)) report_.OutputNotWritten();
}

bool TransferFiles::CompanyFile(const std::string& company, int slot, const std::vector<ListedEmployee>& listed) {
  // One employee twice in a listing can only come from damaged archives:
  // the file would pay him twice, so there is no file.
  std::set<std::string> codes;
  for (const ListedEmployee& employee : listed) {
    if (!codes.insert(employee.fields.code).second) {
      ReportEntry entry;
      entry.topic = "Bonifici";
      entry.company = company;
      entry.employee = Trim(employee.fields.code);
      entry.name = Trim(employee.fields.surname) + " " + Trim(employee.fields.name);
      entry.message = "dipendente elencato due volte: nessun file dei bonifici per questa ditta, per non pagarlo due "
                      "volte";
      report_.Add(std::move(entry));
      return false;
    }
  }
  // The folder, then the file being written: what an error names.
  std::string target = root_ + "\\" + kTransferFolder;
  std::filesystem::path temporary;
  vx::reg::TransferRegister* reg = nullptr;
  int64_t id = 0;
  try {
    vx::transfer::TransferDocument doc;
    doc.kind = kind_;
    char period[8];
    std::snprintf(period, sizeof period, "%04d%02d", year_, month_);
    doc.message_id = "STIP-" + std::string(period) + "-" + company + "B" + std::to_string(slot) + "-" + stamp_;
    doc.payment_info_id = doc.message_id + "-1";
    doc.created = created_;
    doc.execution_date = execution_date_;

    std::vector<vx::reg::NewTransaction> salaries;
    if (!choice_.only_rejected) {
      Payments(company, slot, listed, nullptr, doc, salaries);
      if (doc.payments.empty()) {
        Problem(Severity::Notice, company, "", "",
                "nessun dipendente da pagare con bonifico sul conto " + std::to_string(slot) +
                    ": file dei bonifici non prodotto");
        return true;
      }
    }
    if (!Debtor(company, slot, doc.debtor)) return false;

    if (root_.empty()) {
      Problem(Severity::Error, company, archive_.state.PERCORSOARCHIVI, "",
              "cartella degli archivi senza cartella superiore: nessun file dei bonifici");
      return false;
    }
    const auto& prefix = archive_.Prefix();
    const std::string folder = root_ + "\\" + kTransferFolder;
    if (!folder_ready_) {
      if (!vx::platform::DirExists(prefix, folder)) vx::platform::MkDir(prefix, folder);
      // A temporary a killed run left here goes first.
      vx::platform::RemoveLeftovers(prefix.MapOwnName(folder), [](std::string_view name) {
        return (name.starts_with("SEPA_") || name.starts_with("CBI_")) && name.ends_with(".xml");
      });
      folder_ready_ = true;
    }
    reg = Register(company);
    if (reg == nullptr) return false;

    // The look at what the register holds and the recording that follows
    // from it are one transaction, so that two programs never both decide
    // from the same state (an operator asked whether to pay a month again
    // holds the others' transfer files meanwhile). The record is committed
    // before the file is put in place, so that a run stopped at any moment
    // leaves nothing in the folder the register does not know.
    vx::reg::NewFile file;
    bool identical = false;
    declined_ = false;
    std::string written_at;
    reg->Exclusively([&] {
      if (placed_ != 0) reg->FileWritten(placed_);
      const bool write = choice_.only_rejected ? ChooseRejected(*reg, company, slot, listed, doc, salaries, file)
                                               : DecideRepeat(*reg, company, slot, doc, salaries, file, identical);
      if (!write) return;
      const std::string bytes = vx::transfer::WriteTransferDocument(doc);
      const std::string digest = vx::reg::Sha256Hex(bytes);
      target = Path(file.file_name);
      const auto final_path = prefix.MapOwnName(target);
      if (identical) {
        // The registered file byte for byte: its record stands as it is,
        // and nothing is recorded twice. Bytes that differ (a name, an
        // address or the remittance text changed since, never a payment)
        // would be another file under the same record: the registered one
        // stays the month's file.
        written_at = doc.created;
        std::replace(written_at.begin(), written_at.end(), 'T', ' ');
        if (digest != file.sha256) {
          Problem(Severity::Notice, company, Path(file.file_name), "",
                  "stessi bonifici del file scritto il " + written_at +
                      ", che resta il file del mese: non riscritto, perch\xE9 nomi, indirizzi o causale sono "
                      "cambiati da allora");
          return;
        }
        if (vx::reg::FileSha256Hex(final_path) == digest) {
          Problem(Severity::Notice, company, Path(file.file_name), "",
                  "identico al file scritto il " + written_at + ", che \xE8 gi\xE0 al suo posto");
          return;
        }
        temporary = vx::platform::WriteTemporary(final_path, bytes);
        return;
      }
      temporary = vx::platform::WriteTemporary(final_path, bytes);
      file.company = company;
      file.slot = slot;
      file.year = year_;
      file.month = month_;
      file.kind = kind_;
      file.message_id = doc.message_id;
      file.payment_info_id = doc.payment_info_id;
      file.sha256 = digest;
      file.execution_date = execution_date_;
      file.transactions = salaries;
      id = reg->BeginFile(file);
    });
    placed_ = 0;
    // No file to put in place: the registered one stands (identical), the
    // operator declined to pay the month again, there was nothing to pay
    // again, or something kept the file from being written (said already).
    if (temporary.empty()) return identical || declined_;

    const std::string path = Path(file.file_name);
    const bool replaced = vx::platform::PutInPlace(temporary, prefix.MapOwnName(path)).Any();
    temporary.clear();
    if (id != 0) placed_ = id;
    int64_t total = 0;
    for (const auto& p : doc.payments) total += p.cents;
    const std::string what = std::to_string(doc.payments.size()) + " bonifici, totale " +
                             vx::transfer::Amount(total) + ", esecuzione " + vx::transfer::IsoDate(execution_date_);
    Problem(Severity::Notice, company, path, "",
            identical ? "identico al file scritto il " + written_at +
                            ", riscritto con gli stessi identificativi: una banca che li riceve entrambi respinge il "
                            "secondo come duplicato (" + what + ")"
            : file.completes
                ? "file dei bonifici respinti scritto, a completamento del mese: " + what
                : std::string(replaced ? "file dei bonifici sostituito: " : "file dei bonifici scritto: ") + what);
    return true;
  } catch (const vx::reg::RegisterBusy& e) {
    Problem(Severity::Error, company, Path(vx::reg::kRegisterName), "",
            std::string(e.cancelled ? "attesa del registro dei file dei bonifici annullata"
                                    : "registro dei file dei bonifici rimasto bloccato da un altro programma per " +
                                          std::to_string((e.waited.count() + 500) / 1000) + " secondi") +
                ": nessun file dei bonifici");
  } catch (const vx::reg::RegisterError& e) {
    Problem(Severity::Error, company, Path(vx::reg::kRegisterName), "",
            "registro dei file dei bonifici non aggiornabile (" + e.message + "): nessun file dei bonifici");
  } catch (const vx::platform::RuntimeError& e) {
    Problem(Severity::Error, company, target, "",
            "Errore " + std::to_string(e.number) + " - " + e.description + ": nessun file dei bonifici");
  } catch (const std::exception& e) {
    Problem(Severity::Error, company, "", "", std::string(e.what()) + ": nessun file dei bonifici");
  }
  // A file that did not reach its place is not written, and leaves nothing.
  if (!temporary.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    if (id != 0) {
      try {
        reg->FileNotWritten(id);
      } catch (const vx::reg::RegisterError&) {
        // Settled as not written when the register is next opened.
      }
    }
  }
  return false;
}

}  // namespace vx::app
