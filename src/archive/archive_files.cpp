#include "archive/payroll_archives.h"

#include <cstdint>

#include "archive/number_value.h"
#include "archive/text.h"

namespace vx::archive {

namespace {

constexpr size_t kCatalogueEntry = 79;

// A placeholder value written as `width` digits: 12 becomes "012", 1234
// becomes "234", an empty text "000".
std::string Digits(std::string_view value, size_t width) {
  const std::string text = std::string(width, '0') + NumberText(NumericValue(value));
  return text.substr(text.size() - width);
}

// The number base as messages and trace entries write it (7, not 7.0).
std::string BaseText(double numero_base) { return NumberText(numero_base); }

std::string Opening(double numero_base) { return "apertura dell'archivio " + BaseText(numero_base); }

}  // namespace

std::string PayrollArchives::Resolve(double numero_base, bool& with_folder) {
  TRACCIA("DAMMIFILE$ (" + BaseText(numero_base) + ")");
  if (!(numero_base > 0)) return {};

  const std::string year_as_set = state.ANNOOPEN;
  state.DITTAOPEN = Digits(state.DITTAOPEN, 3);
  state.ANNOOPEN = Digits(state.ANNOOPEN, 2);
  state.REGIONEOPEN = Digits(state.REGIONEOPEN, 2);

  // The catalogue is read in place: a missing one is reported, not created.
  const std::string catalogue = Catalogue();
  if (!platform::FileExists(prefix_, catalogue)) throw platform::MakeRuntimeError(53, catalogue);
  const long long position =
      WholeNumber(numero_base * kCatalogueEntry - (kCatalogueEntry - 1), 1, INT64_C(1) << 50);
  std::string entry(kCatalogueEntry, ' ');
  const int channel = files_.FreeFile();
  files_.OpenBinary(channel, catalogue, platform::Access::ReadShared);
  try {
    files_.Get(channel, position, entry);
  } catch (...) {
    files_.Close(channel);
    throw;
  }
  files_.Close(channel);

  state.LunghezzaRecord = NumericValue(Mid(entry, 33, 5));
  // Bytes past the end of the catalogue come back as NULs: a number base
  // beyond it has an empty name, like a blank entry.
  std::string name = Mid(entry, 4, 29);
  const size_t last = name.find_last_not_of(std::string_view(" \0", 2));
  name.erase(last == std::string::npos ? 0 : last + 1);
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 32) throw platform::MakeRuntimeError(52);
  }

  size_t at = name.find("!:\\");
  if (at != std::string::npos) {
    if (!state.DRIVEOPEN.empty() && (state.DRIVEOPEN[0] == 'A' || state.DRIVEOPEN[0] == 'B')) {
      name[at] = state.DRIVEOPEN[0];
    } else {
      name = state.DRIVEOPEN + Mid(name, 3, name.size());
    }
    state.DRIVEOPEN.clear();
    with_folder = false;
  }

  at = name.find("###");
  if (at != std::string::npos) {
    if (NumericValue(state.DITTAOPEN) <= 0) {
      MessageAndEnd("ERRORE OPEN FILE - MANCA DITTAOPEN " + BaseText(numero_base));
    }
    ReplaceAt(name, at + 1, 3, state.DITTAOPEN);
    state.DITTAOPEN.clear();
  }

  at = name.find("$$");
  if (at != std::string::npos) ReplaceAt(name, at + 1, 2, state.CodiceTerminale);

  at = name.find("**");
  if (at != std::string::npos) {
    if (NumericValue(year_as_set) <= 0) {
      MessageAndEnd("ERRORE OPEN - MANCA ANNO - " + BaseText(numero_base));
    }
    ReplaceAt(name, at + 1, 2, state.ANNOOPEN);
    state.ANNOOPEN.clear();
  }

  at = name.find("@@");
  if (at != std::string::npos) {
    if (NumericValue(state.REGIONEOPEN) <= 0) {
      MessageAndEnd("ERRORE OPEN - MANCA REGIONE - " + BaseText(numero_base));
    }
    ReplaceAt(name, at + 1, 2, state.REGIONEOPEN);
    state.REGIONEOPEN.clear();
  }

  at = name.find("%%");
  if (at != std::string::npos) {
    if (state.PROVINCIAOPEN.size() != 2) {
      MessageAndEnd("ERRORE OPEN - MANCA PROVINCIA - " + BaseText(numero_base));
    }
    ReplaceAt(name, at + 1, 2, state.PROVINCIAOPEN);
    state.PROVINCIAOPEN.clear();
  }

  if (name.empty()) return {};
  return with_folder ? state.PERCORSOARCHIVI + "\\" + name : name;
}

std::string PayrollArchives::DAMMIFILE(double numero_base, bool& with_folder) {
  std::string name;
  // Whatever fails here, it is the catalogue that was being read.
  Guarded([&] { name = Resolve(numero_base, with_folder); },
          [&](platform::RuntimeError& error) {
            error.About(Catalogue(), "ricerca del file dell'archivio " + BaseText(numero_base) + " nel catalogo");
          });
  return name;
}

bool PayrollArchives::Open(double numero_base, bool if_present) {
  TRACCIA("FAIOPEN");
  if (!(numero_base > 0)) return false;
  const size_t slot = Slot(numero_base);
  NUOVOCANALE(numero_base);
  bool with_folder = true;
  const std::string name = DAMMIFILE(numero_base, with_folder);
  // A number base the catalogue has no file for cannot be opened.
  if (name.empty()) {
    throw platform::MakeRuntimeError(52, Catalogue())
        .About({}, Opening(numero_base) + ": il catalogo non ha il nome del suo file");
  }
  // Resolved once, like any open, so that the trace shows the open and its
  // resolution and nothing else.
  if (if_present && !platform::FileExists(prefix_, name)) {
    state.CanaleFile[slot] = 0;
    Note({false, name, {}, {}, "archivio mancante: letto come vuoto, senza crearlo"});
    return false;
  }

  const double length = state.LunghezzaRecord;
  const std::string bad_length = Opening(numero_base) + ": il catalogo ne d\xE0 una lunghezza del record non valida";
  if (length < 0) throw platform::MakeRuntimeError(5, Catalogue()).About({}, bad_length);
  // Five digits of catalogue cannot say more, unless in exponent form.
  size_t record_length = 0;
  try {
    record_length = static_cast<size_t>(WholeNumber(length, 0, 99999));
  } catch (platform::RuntimeError& error) {
    throw error.About(Catalogue(), bad_length);
  }

  files_.OpenBinary(state.CanaleFile[slot], name, archive_access_);
  state.NomeArchivio[slot] = name;
  state.BufferRec[slot] = std::string(record_length, ' ');
  state.LunghezzaRec[slot] = static_cast<double>(record_length);
  return true;
}

double PayrollArchives::FAIOPEN(double numero_base) {
  double length = 0;
  Guarded([&] { length = Open(numero_base, false) ? state.LunghezzaRec[Slot(numero_base)] : 0; },
          [&](platform::RuntimeError& error) { error.About({}, Opening(numero_base)); });
  return length;
}

bool PayrollArchives::OpenIfPresent(double numero_base) {
  bool opened = false;
  Guarded([&] { opened = Open(numero_base, true); },
          [&](platform::RuntimeError& error) { error.About({}, Opening(numero_base)); });
  return opened;
}

bool PayrollArchives::NoteIfMissing(double numero_base) {
  bool with_folder = true;
  const std::string name = DAMMIFILE(numero_base, with_folder);
  if (name.empty() || platform::FileExists(prefix_, name)) return false;
  Note({false, name, {}, {}, "archivio mancante: letto come vuoto, senza crearlo"});
  return true;
}

std::string PayrollArchives::NameForMessages(double numero_base) const {
  if (!(numero_base >= 0 && numero_base <= kMaxNumeroBase)) return {};
  return state.NomeArchivio[static_cast<size_t>(numero_base)];
}

const std::string& PayrollArchives::ArchiveName(double numero_base) const {
  return state.NomeArchivio[Slot(numero_base)];
}

bool PayrollArchives::WholeRecords(double numero_base) {
  const size_t slot = Slot(numero_base);
  const auto length = static_cast<int64_t>(state.LunghezzaRec[slot]);
  if (length <= 0 || state.CanaleFile[slot] == 0) return true;
  int64_t size = 0;
  Guarded([&] { size = files_.Lof(state.CanaleFile[slot]); },
          [&](platform::RuntimeError& error) {
            error.About(state.NomeArchivio[slot], "controllo della lunghezza dell'archivio " + BaseText(numero_base));
          });
  return size % length == 0;
}

void PayrollArchives::Note(ArchiveFinding finding) {
  for (const ArchiveFinding& known : state.Rilievi) {
    if (known == finding) return;
  }
  state.Rilievi.push_back(std::move(finding));
}

void PayrollArchives::FAIOPENIO(double numero_base, int16_t mode) {
  Guarded([&] {
    TRACCIA("FAIOPENIO");
    if (!(numero_base > 0)) return;
    const size_t slot = Slot(numero_base);
    NUOVOCANALE(numero_base);
    bool with_folder = true;
    const std::string name = DAMMIFILE(numero_base, with_folder);
    if (name.empty()) {
      throw platform::MakeRuntimeError(52, Catalogue())
          .About({}, Opening(numero_base) + ": il catalogo non ha il nome del suo file");
    }
    if (mode == 1) {
      if (ESISTEFILE(name) != 0) platform::Kill(prefix_, name);
      files_.OpenOutput(state.CanaleFile[slot], name);
    } else if (mode == 0) {
      files_.OpenInput(state.CanaleFile[slot], name);
    }
  }, [&](platform::RuntimeError& error) { error.About({}, Opening(numero_base)); });
}

void PayrollArchives::FAIOPENNUOVO(double numero_base) {
  const std::string company = state.DITTAOPEN;
  const std::string year = state.ANNOOPEN;
  const std::string region = state.REGIONEOPEN;
  const std::string province = state.PROVINCIAOPEN;
  ELIMINA(numero_base);
  state.DITTAOPEN = company;
  state.ANNOOPEN = year;
  state.REGIONEOPEN = region;
  state.PROVINCIAOPEN = province;
  FAIOPEN(numero_base);
}

double PayrollArchives::VERBASE(double numero_base) {
  double exists = 0;
  Guarded([&] {
    TRACCIA("VERBASE");
    if (!(numero_base > 0)) return;
    bool with_folder = true;
    const std::string name = DAMMIFILE(numero_base, with_folder);
    if (name.empty() || !platform::FileExists(prefix_, name)) return;
    if (platform::FileLen(prefix_, name) != 0) exists = 1;
  }, [&](platform::RuntimeError& error) { error.About({}, "controllo dell'archivio " + BaseText(numero_base)); });
  return exists;
}

void PayrollArchives::ELIMINA(double numero_base) {
  const std::string company = state.DITTAOPEN;
  const std::string year = state.ANNOOPEN;
  const std::string region = state.REGIONEOPEN;
  const std::string province = state.PROVINCIAOPEN;
  Guarded([&] {
    TRACCIA("ELIMINA");
    if (!(numero_base > 0)) return;
    const size_t slot = Slot(numero_base);
    if (state.CanaleFile[slot] != 0) CHIUDI(numero_base);
    if (VERBASE(numero_base) != 1) return;
    state.DITTAOPEN = company;
    state.ANNOOPEN = year;
    state.REGIONEOPEN = region;
    state.PROVINCIAOPEN = province;
    bool with_folder = true;
    const std::string name = DAMMIFILE(numero_base, with_folder);
    if (name.empty()) return;
    CHIUDI(numero_base);
    const int channel = files_.FreeFile();
    files_.OpenInput(channel, name);
    const int64_t length = files_.Lof(channel);
    files_.Close(channel);
    if (length > 0) platform::Kill(prefix_, name);
  }, [&](platform::RuntimeError& error) { error.About({}, "eliminazione dell'archivio " + BaseText(numero_base)); });
}

void PayrollArchives::NUOVOCANALE(double numero_base) {
  const size_t slot = Slot(numero_base);
  if (state.CanaleFile[slot] != 0) CHIUDI(numero_base);
  state.CanaleFile[slot] = static_cast<int16_t>(files_.FreeFile());
}

void PayrollArchives::CHIUDI(double numero_base) {
  const size_t slot = Slot(numero_base);
  if (slot == 0) {
    files_.CloseAll();
    state.CanaleFile.fill(0);
    return;
  }
  if (state.CanaleFile[slot] != 0) {
    files_.Close(state.CanaleFile[slot]);
    state.CanaleFile[slot] = 0;
  }
}

}  // namespace vx::archive
