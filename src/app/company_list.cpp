#include "app/company_list.h"

#include <algorithm>
#include <vector>

#include "app/command_line.h"

#include "archive/descriptors.h"
#include "archive/number_value.h"
#include "archive/text.h"
#include "platform/errors.h"
#include "platform/message_box.h"

namespace vx::app {

namespace {

constexpr int kSlotsPerRecord = 20;
constexpr int kSlotLength = 10;
constexpr double kMaxExtractionRecords = 1000;

bool Digits(const std::string& text, std::size_t from, std::size_t count) {
  for (std::size_t i = from; i < from + count && i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return text.size() >= from + count;
}

}  // namespace

void CompanyList::ArchivioDanneggiato(double numero_base, const std::string& what) {
  // What was lost cannot be told from what is left, and any company may
  // have lost employees: nothing is listed from it.
  const std::string& name = archives_.ArchiveName(numero_base);
  platform::MessageBox box;
  box.title = kCaptionFinestra;
  box.text = "Archivio danneggiato:\r\n" + name + "\r\n" + what + ".\r\nNessuna stampa \xE8 stata prodotta.";
  box.icon = platform::Icon::Critical;
  archives_.Boxes().Show(box);
  archives_.EndProgram("archivio danneggiato " + name, kExitArchivesDamaged);
}

void CompanyList::ControllaEstrazione() {
  // Every code names a company record and an employee record by number: a
  // code that is not one cannot be listed. A code found twice means that a
  // slot, or a whole record, was written over another, whose codes are lost.
  std::vector<std::pair<std::string, std::size_t>> codes;
  for (std::size_t i = 1; i <= kSlotsEstrazione && !form_.ElencoEstrazione[i].empty(); ++i) {
    const std::string& code = form_.ElencoEstrazione[i];
    if (!Digits(code, 0, 3) || !Digits(code, 6, 4)) {
      ArchivioDanneggiato(kArchivioEstrazione, "il codice '" + code + "' in posizione " + std::to_string(i) +
                                                   " non \xE8 un codice di dipendente (ditta e numero in cifre)");
    }
    codes.emplace_back(code, i);
  }
  std::sort(codes.begin(), codes.end());
  const auto twice = std::adjacent_find(codes.begin(), codes.end(),
                                        [](const auto& a, const auto& b) { return a.first == b.first; });
  if (twice != codes.end()) {
    ArchivioDanneggiato(kArchivioEstrazione, "il codice " + twice->first + " compare due volte (posizioni " +
                                                 std::to_string(twice->second) + " e " +
                                                 std::to_string(std::next(twice)->second) +
                                                 "): una parte dell'estrazione \xE8 stata sovrascritta");
  }
}

std::optional<std::string> CompanyRecordProblem(const std::string& record, const std::string& company_code) {
  const std::string found = archive::Mid(record, 3, 3);
  if (found == company_code) return std::nullopt;
  return "il record " + std::to_string(static_cast<long long>(archive::NumericValue(company_code))) +
         " dell'archivio delle ditte porta il codice '" + found + "'";
}

bool ArchivioNecessario(double numero_base) {
  return numero_base == kArchivioDitte || numero_base == kArchivioDipendenti ||
         numero_base == kArchivioEstrazione || numero_base == kArchivioDataPaghe ||
         numero_base == kIndiceDipendenti;
}

void CompanyList::APRIARCHIVI() {
  // Without the companies, the employees, the extraction, its index or the
  // payroll date the listing means nothing: a missing one ends the program
  // through the error routine, naming the file, before anything is written.
  // The others are opened when they exist and never created.
  for (double numero_base : {1, 2, 5, 7, 97, 37, 30, 29, 98, 401, 403, 6}) {
    if (ArchivioNecessario(numero_base)) {
      archives_.FAIOPEN(numero_base);
    } else {
      archives_.OpenIfPresent(numero_base);
    }
  }
  // The payroll writes whole records. An extraction or a date archive cut
  // short cannot be read for what it lost, so nothing is listed from it; a
  // cut company or employee archive or index is caught where its records
  // are read, company by company, and noted here for the operator.
  for (double numero_base : {kArchivioEstrazione, kArchivioDataPaghe, kArchivioDitte, kArchivioDipendenti,
                             kIndiceDipendenti}) {
    if (archives_.WholeRecords(numero_base)) continue;
    const std::string& name = archives_.ArchiveName(numero_base);
    const std::string text = "lunghezza non multipla di quella del record (" +
                             std::to_string(static_cast<long long>(archives_.state.LunghezzaRec[static_cast<size_t>(numero_base)])) +
                             " byte): l'archivio \xE8 troncato o danneggiato";
    if (numero_base == kArchivioEstrazione || numero_base == kArchivioDataPaghe) ArchivioDanneggiato(numero_base, text);
    archives_.Note({true, name, {}, {}, text});
  }
  archives_.state.FineFile = archives_.LEGGIREC(kArchivioDataPaghe, 1);
  form_.DataPaghe = archives_.state.BufferRec[static_cast<size_t>(kArchivioDataPaghe)];
}

bool CompanyList::CaricaElenco() {
  std::fill(form_.ElencoEstrazione.begin() + 1, form_.ElencoEstrazione.end(), std::string());
  size_t j = 1;
  double r = 1;
  for (; r <= kMaxExtractionRecords; ++r) {
    archives_.state.FineFile = archives_.LEGGIREC(kArchivioEstrazione, r);
    if (archives_.state.FineFile == 1) break;
    const std::string& record = archives_.state.BufferRec[static_cast<size_t>(kArchivioEstrazione)];
    for (int k = 1; k <= kSlotsPerRecord; ++k) {
      const std::string s = archive::Mid(record, static_cast<size_t>((k - 1) * kSlotLength + 1), kSlotLength);
      // A terminator or a blank slot ends this record only; the next record
      // is read all the same.
      if (s == "9999999999" || archive::Trim(s).empty()) break;
      if (j > kSlotsEstrazione) throw platform::MakeRuntimeError(9);
      form_.ElencoEstrazione[j++] = s;
    }
  }
  if (r == 1) {
    platform::MessageBox box;
    box.title = kCaptionFinestra;
    box.text = kMessaggioEstrazioneMancante;
    box.icon = platform::Icon::Critical;
    archives_.Boxes().Show(box);
    return true;
  }
  return false;
}

void CompanyList::VERIFICAESTRAZIONE() {
  archives_.TRACCIA("VERIFICAESTRAZIONE");
  try {
    form_.EstrazioneMancante = 0;
    if (CaricaElenco()) form_.EstrazioneMancante = 1;
    else ControllaEstrazione();
  } catch (const platform::RuntimeError& error) {
    archives_.GESTIERRORE(error);
  }
}

void CompanyList::CARICAESTRAZIONE() {
  archives_.TRACCIA("CARICAESTRAZIONE");
  try {
    // The message may come up again here; start-up has already ended the
    // program when the extraction is missing, so no flag is kept.
    CaricaElenco();
    // Ascending by character code (std::string compares bytes as unsigned
    // char). Equal codes are indistinguishable, so the order an exchange sort
    // would leave them in does not matter.
    auto first = form_.ElencoEstrazione.begin() + 1;
    auto end = std::find(first, form_.ElencoEstrazione.end(), std::string());
    std::sort(first, end);
  } catch (const platform::RuntimeError& error) {
    archives_.GESTIERRORE(error);
  }
}

void CompanyList::LISTA_AZIENDE() {
  form_.List1.clear();
  std::string last;
  for (size_t i = 1; i <= kSlotsEstrazione; ++i) {
    const std::string& slot = form_.ElencoEstrazione[i];
    if (slot.empty()) break;
    const std::string c = archive::Mid(slot, 1, 3);
    if (c == last) continue;
    last = c;
    archives_.state.FineFile = archives_.LEGGIREC(kArchivioDitte, archive::NumericValue(c));
    // A code without a company record ends the list: the companies after it
    // are not offered, and the operator is told which ones were left out,
    // each by its code.
    if (archives_.state.FineFile == 1) {
      const std::string& name = archives_.ArchiveName(kArchivioDitte);
      archives_.Note({true, name, c, {},
                      "la ditta dell'estrazione non ha record nell'archivio delle ditte: questa ditta e le "
                      "successive dell'estrazione non sono elencate"});
      for (size_t k = i + 1; k <= kSlotsEstrazione && !form_.ElencoEstrazione[k].empty(); ++k) {
        const std::string after = archive::Mid(form_.ElencoEstrazione[k], 1, 3);
        if (after == c) continue;
        archives_.Note({true, name, after, {}, "ditta successiva nell'estrazione alla ditta " + c +
                                                   ", che non ha record: non \xE8 elencata"});
      }
      break;
    }
    const std::string& record = archives_.state.BufferRec[static_cast<size_t>(kArchivioDitte)];
    // A company marked deleted keeps its own code, or none; one that carries
    // another company's code is that company's record out of place.
    const std::string own_code = archive::Mid(record, 3, 3);
    if (archive::Mid(record, 1, 2) == "99" && (own_code == c || archive::Trim(own_code).empty())) continue;
    // The record of company 004 must say 004: another company's record in
    // its place would list, and pay, the wrong company.
    if (const auto problem = CompanyRecordProblem(record, c)) {
      archives_.Note({true, archives_.ArchiveName(kArchivioDitte), c, {}, *problem + ": la ditta non \xE8 elencata"});
      continue;
    }
    archives_.state.RecordRepository["DITX$"] = record;
    form_.List1.push_back(archives_.RepoR(archive::fields::kCompanyCode, 0) + " " +
                          archive::Trim(archives_.RepoR(archive::fields::kCompanyName, 0)) + " " +
                          archive::Trim(archives_.RepoR(archive::fields::kCompanyTenCharCode, 0)));
  }
}

}  // namespace vx::app
