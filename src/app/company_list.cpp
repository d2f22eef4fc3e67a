#include "app/company_list.h"

#include <algorithm>

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

}  // namespace

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
    if (numero_base == kArchivioEstrazione || numero_base == kArchivioDataPaghe) {
      platform::MessageBox box;
      box.title = kCaptionFinestra;
      box.text = "Archivio danneggiato:\r\n" + name + "\r\n" + text + ".\r\nNessuna stampa \xE8 stata prodotta.";
      box.icon = platform::Icon::Critical;
      archives_.Boxes().Show(box);
      archives_.EndProgram("archivio danneggiato " + name);
    }
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
    // are not offered, and the operator is told which ones were left out.
    if (archives_.state.FineFile == 1) {
      archives_.Note({true, archives_.ArchiveName(kArchivioDitte), c, {},
                      "la ditta dell'estrazione non ha record nell'archivio delle ditte: questa ditta e le "
                      "successive dell'estrazione non sono elencate"});
      break;
    }
    const std::string& record = archives_.state.BufferRec[static_cast<size_t>(kArchivioDitte)];
    if (archive::Mid(record, 1, 2) == "99") continue;  // company marked deleted
    archives_.state.RecordRepository["DITX$"] = record;
    form_.List1.push_back(archives_.RepoR(archive::fields::kCompanyCode, 0) + " " +
                          archive::Trim(archives_.RepoR(archive::fields::kCompanyName, 0)) + " " +
                          archive::Trim(archives_.RepoR(archive::fields::kCompanyTenCharCode, 0)));
  }
}

}  // namespace vx::app
