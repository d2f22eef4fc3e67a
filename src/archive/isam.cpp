#include "archive/payroll_archives.h"

#include "archive/isam_block.h"
#include "archive/number_value.h"

namespace vx::archive {

namespace {
constexpr int kEntriesPerBlock = 128;
constexpr double kSearch = 2;
}  // namespace

double PayrollArchives::SearchIndex(double numero_base, const std::string& key, double code,
                                    double record) {
  const size_t slot = Slot(numero_base);
  auto refuse = [&](std::string text) {
    Message(std::move(text));
    return -1.0;
  };

  // A search with a sound key learns that the index is empty from its first
  // block, which then comes up short; the file's length is asked for first
  // only when something else is wrong, so that a search costs no more calls
  // than the blocks it reads.
  const bool empty_seen_later = code == kSearch && !key.empty() &&
                                key.find_first_not_of(' ') != std::string::npos &&
                                static_cast<double>((key.size() + 7) * kEntriesPerBlock) == state.LunghezzaRec[slot];
  if (code != 9) {
    if (!empty_seen_later && files_.Lof(state.CanaleFile[slot]) == 0) {
      return refuse("ERRORE ISAM - FILE VUOTO " + NumberText(numero_base));
    }
    if (key.empty()) return refuse("ERRORE ISAM - LUNK=0");
    if (static_cast<double>((key.size() + 7) * kEntriesPerBlock) != state.LunghezzaRec[slot]) {
      return refuse("ERRORE ISAM - LUNK NO OK");
    }
    if (key.find_first_not_of(' ') == std::string::npos && code != 4) {
      return refuse("ERRORE ISAM - K=BLANK");
    }
  }
  if (code == 1 && record == 0) return refuse("ERR.ISAM - N.REC.=0");
  if (code != 1 && code != 2 && code != 3 && code != 4 && code != 9) {
    return refuse("ERRORE CODICE ISAM " + NumberText(code));
  }
  // This program only reads the payroll's indexes; changing one is left to
  // the payroll product, which splits blocks under its own rules.
  if (code != kSearch) throw platform::MakeRuntimeError(5);

  const std::string high_key(key.size(), kHighKeyCharacter);
  // Reads one block; a block the index does not hold whole means the index
  // is damaged, and a search over it could find a wrong employee.
  auto read_block = [&](double block) -> const std::string& {
    state.FineFile = LEGGIREC(numero_base, block);
    if (state.FineFile == 1) throw platform::MakeRuntimeError(62, state.NomeArchivio[slot]);
    return state.BufferRec[slot];
  };

  // The root and block 2 come in one read: block 2 is the first level-2
  // block, and the only one of an index of up to 128 leaves. Both are read
  // within the same hold of the semaphore, so block 2 is as current as if
  // it were read on its own, and the trace, the archive's buffer and
  // FineFile show each block as LEGGIREC shows it.
  bool second_whole = false;
  state.FineFile = ReadRecordAndNext(numero_base, 1, next_record_, second_whole);
  if (state.FineFile == 1) {
    if (files_.Lof(state.CanaleFile[slot]) == 0) return refuse("ERRORE ISAM - FILE VUOTO " + NumberText(numero_base));
    throw platform::MakeRuntimeError(62, state.NomeArchivio[slot]);
  }
  const std::string& root = state.BufferRec[slot];
  if (SlotKey(root, key.size(), 1) == high_key) return -1;
  const double level2 = SlotNumber(root, key.size(), SearchBlock(root, key));
  if (level2 == 2) {
    state.FineFile = TakeRecord(numero_base, 2, next_record_, second_whole);
    if (state.FineFile == 1) throw platform::MakeRuntimeError(62, state.NomeArchivio[slot]);
  }
  const std::string& middle = level2 == 2 ? state.BufferRec[slot] : read_block(level2);
  const double leaf_block = SlotNumber(middle, key.size(), SearchBlock(middle, key));
  const std::string& leaf = read_block(leaf_block);
  const int found = SearchBlock(leaf, key);
  if (SlotKey(leaf, key.size(), found) != key) return -1;
  return SlotNumber(leaf, key.size(), found);
}

double PayrollArchives::ISAM(double numero_base, const std::string& key, double code,
                             double record) {
  double result = -1;
  Guarded([&] { result = SearchIndex(numero_base, key, code, record); },
          [&](platform::RuntimeError& error) {
            error.About(NameForMessages(numero_base), "ricerca nell'indice dell'archivio " + NumberText(numero_base));
          });
  return result;
}

}  // namespace vx::archive
