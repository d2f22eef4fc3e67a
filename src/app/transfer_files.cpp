#include "app/transfer_files.h"

#include <cmath>
#include <ctime>
#include <exception>
#include <fstream>
#include <iterator>
#include <set>

#include "app/coordinate_checks.h"
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
#include "report/layout_text.h"
#include "transfer/epc_text.h"

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
                             int month, std::string remittance, RunReport& report)
    : archive_(archive), kind_(kind), execution_date_(execution_date), year_(year), month_(month),
      remittance_(EpcText(remittance, kRemittance)), report_(report) {
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
  try {
    vx::transfer::TransferDocument doc;
    doc.kind = kind_;
    char period[8];
    std::snprintf(period, sizeof period, "%04d%02d", year_, month_);
    const std::string tail = "B" + std::to_string(slot) + "-" + stamp_;
    doc.message_id = "STIP-" + std::string(period) + "-" + company + tail;
    doc.payment_info_id = doc.message_id + "-1";
    doc.created = created_;
    doc.execution_date = execution_date_;

    for (const ListedEmployee& employee : listed) {
      const BoniFields& e = employee.fields;
      // The net pay to the cent as the listing shows it, half away from zero.
      const auto cents = static_cast<int64_t>(std::round(employee.net_pay * 100.0));
      const std::string iban =
          vx::report::IbanText(e.iban_layout, e.iban_country, e.iban_check, e.cin, e.abi, e.cab, e.account);
      const std::string name = EpcText(Trim(e.surname) + " " + Trim(e.name), kName);
      std::string why = Unpayable(cents, iban);
      if (why.empty() && name.empty()) why = "cognome e nome mancanti";
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
      doc.payments.push_back(std::move(p));
    }
    if (doc.payments.empty()) {
      Problem(Severity::Notice, company, "", "",
              "nessun dipendente da pagare con bonifico sul conto " + std::to_string(slot) +
                  ": file dei bonifici non prodotto");
      return true;
    }
    if (!Debtor(company, slot, doc.debtor)) return false;

    if (root_.empty()) {
      Problem(Severity::Error, company, archive_.state.PERCORSOARCHIVI, "",
              "cartella degli archivi senza cartella superiore: nessun file dei bonifici");
      return false;
    }
    const auto& prefix = archive_.Prefix();
    const std::string folder = root_ + "\\" + kTransferFolder;
    if (!vx::platform::DirExists(prefix, folder)) vx::platform::MkDir(prefix, folder);
    const std::string path = folder + "\\" + TransferFileName(kind_, company, slot, year_, month_);
    target = path;
    const std::filesystem::path file = prefix.MapOwnName(path);
    // A temporary a killed run left here goes first.
    vx::platform::RemoveLeftovers(file.parent_path(), [](std::string_view name) {
      return (name.starts_with("SEPA_") || name.starts_with("CBI_")) && name.ends_with(".xml");
    });
    const bool replaced = vx::platform::WriteFinishedFile(file, vx::transfer::WriteTransferDocument(doc)).Any();
    int64_t total = 0;
    for (const auto& p : doc.payments) total += p.cents;
    Problem(Severity::Notice, company, path, "",
            std::string(replaced ? "file dei bonifici sostituito: " : "file dei bonifici scritto: ") +
                std::to_string(doc.payments.size()) + " bonifici, totale " + vx::transfer::Amount(total) +
                ", esecuzione " + vx::transfer::IsoDate(execution_date_));
    return true;
  } catch (const vx::platform::RuntimeError& e) {
    Problem(Severity::Error, company, target, "",
            "Errore " + std::to_string(e.number) + " - " + e.description + ": nessun file dei bonifici");
  } catch (const std::exception& e) {
    Problem(Severity::Error, company, "", "", std::string(e.what()) + ": nessun file dei bonifici");
  }
  return false;
}

}  // namespace vx::app
