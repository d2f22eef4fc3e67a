#include "archive/payroll_archives.h"

#include <cstdint>

#include "archive/text.h"

namespace vx::archive {

namespace {

constexpr std::string_view kProductKey = "SOFTWARE\\TARVENIC\\VELMORA";
constexpr std::string_view kArchivesPathFile = "C:\\PVXPAGHE\\SLPERARK.SLP";
constexpr std::string_view kProgramsPathFile = "C:\\PVXPAGHE\\SLPERPRO.SLP";
constexpr int kHolderBase = 395;

}  // namespace

std::string PayrollArchives::LEGGIREGISTRO(std::string_view subkey, std::string_view value_name) {
  // A registry that cannot be read is simply a registry without the value:
  // the path files take over.
  try {
    platform::RegKey key;
    if (registry_.RegOpenKeyA(subkey, &key) != platform::ERROR_SUCCESS) return {};
    std::string value = LEGGIVALOREREGISTRO(key, value_name);
    registry_.RegCloseKey(key);
    return value;
  } catch (const std::exception&) {
    return {};
  }
}

std::string PayrollArchives::LEGGIVALOREREGISTRO(const platform::RegKey& key,
                                                 std::string_view value_name) {
  uint32_t type = 0;
  uint32_t size = 0;
  if (registry_.RegQueryValueExA(key, value_name, &type, nullptr, &size) != platform::ERROR_SUCCESS) {
    return {};
  }
  if (type == platform::REG_SZ) {
    std::string data(size, '\0');
    uint32_t capacity = size;
    if (registry_.RegQueryValueExA(key, value_name, &type, &data, &capacity) != platform::ERROR_SUCCESS) {
      return {};
    }
    return data.substr(0, data.find('\0'));
  }
  if (type == platform::REG_DWORD) {
    std::string data(4, '\0');
    uint32_t capacity = 4;
    if (registry_.RegQueryValueExA(key, value_name, &type, &data, &capacity) != platform::ERROR_SUCCESS ||
        data.size() < 2) {
      return {};
    }
    const auto low = static_cast<int16_t>(static_cast<uint16_t>(
        static_cast<unsigned char>(data[0]) | (static_cast<unsigned char>(data[1]) << 8)));
    return std::to_string(low);
  }
  return {};
}

std::string PayrollArchives::TaskFileName() const {
  if (UpperCase(Mid(state.NomeProgramma, 1, 2)) == "VX") return "C:\\VLXTASK\\VLXTASK.INI";
  return "C:\\PVXPAGHE\\SLCOMUNE.SLP";
}

void PayrollArchives::ReadTaskFile() try {
  const int channel = files_.FreeFile();
  files_.OpenInput(channel, TaskFileName());
  try {
    state.RigaTask = files_.LineInput(channel);
  } catch (...) {
    files_.Close(channel);
    throw;
  }
  files_.Close(channel);
  state.CodiceTerminale = Trim(Mid(state.RigaTask, 1, 2));
} catch (platform::RuntimeError& error) {
  throw error.About(TaskFileName(), "lettura del codice del terminale");
}

void PayrollArchives::ReadInstallationHolder() {
  // Without the archive the holder stays unknown, as with an empty one.
  if (!OpenIfPresent(kHolderBase)) return;
  // An installation without a holder record leaves the holder unknown
  // rather than made of the bytes of a record that is not there.
  if (LEGGIREC(kHolderBase, 1) == 0) {
    const std::string& record = state.BufferRec[kHolderBase];
    state.PartitaIvaInst = Trim(UpperCase(Mid(record, 31, 11)));
    state.RagioneSocialeInst = Trim(UpperCase(Mid(record, 1, 30)));
  }
  CHIUDI(kHolderBase);
}

void PayrollArchives::bControlloInstallazione_REGISTRO() {
  Guarded([&] {
    TRACCIA("CARICAINST");
    if (AnotherInstanceRunning()) EndAsSecondInstance();

    const std::string programs = LEGGIREGISTRO(kProductKey, "PERCORSOPROGRAMMI");
    const std::string archives = LEGGIREGISTRO(kProductKey, "PERCORSOARCHIVI");
    // Values naming folders that are gone send the start-up to the path files.
    if (!programs.empty() && !platform::DirExists(prefix_, programs)) return;
    if (!archives.empty() && !platform::DirExists(prefix_, archives)) return;

    state.PERCORSOARCHIVI = archives;
    if (archives.empty()) return;
    state.PERCORSOPROGRAMMI = programs;
    if (programs.empty()) return;

    ReadTaskFile();
    ReadInstallationHolder();
  }, [&](platform::RuntimeError& error) { error.About({}, "lettura dei percorsi dell'installazione"); });
}

void PayrollArchives::CARICAINST() {
  Guarded([&] {
    TRACCIA("CARICAINST");
    if (AnotherInstanceRunning()) EndAsSecondInstance();

    auto configuration_error = [&] {
      platform::MessageBox box{std::string(kProductName),
                               "ERRORE DI CONFIGURAZIONE! CONTROLLARE I PERCORSI DI " +
                                   std::string(kProductName) + " CON IL PROGRAMMA OLVENTRA",
                               platform::Buttons::Ok, platform::Icon::Critical, platform::Answer::Ok};
      boxes_.Show(box);
      EndProgram(box.text);
    };
    // The first line of a path file, trimmed; an empty file has none.
    auto first_line = [&](std::string_view path) {
      const int channel = files_.FreeFile();
      files_.OpenInput(channel, path);
      std::string line;
      try {
        if (!files_.Eof(channel)) line = files_.LineInput(channel);
      } catch (...) {
        files_.Close(channel);
        throw;
      }
      files_.Close(channel);
      return Trim(line);
    };

    if (!platform::FileExists(prefix_, kArchivesPathFile)) configuration_error();
    if (!platform::FileExists(prefix_, kProgramsPathFile)) configuration_error();
    state.PERCORSOARCHIVI = first_line(kArchivesPathFile);
    if (state.PERCORSOARCHIVI.empty()) configuration_error();
    state.PERCORSOPROGRAMMI = first_line(kProgramsPathFile);
    if (state.PERCORSOPROGRAMMI.empty()) configuration_error();

    ReadTaskFile();
    ReadInstallationHolder();
  }, [&](platform::RuntimeError& error) { error.About({}, "lettura dei percorsi dell'installazione"); });
}

void PayrollArchives::CHIUDIPROGRAMMA() {
  Guarded([&] {
    const std::string task_file = TaskFileName();
    if (!platform::FileExists(prefix_, task_file)) return;
    // The launcher reads the terminal code back and takes the terminal as free.
    std::string line = state.CodiceTerminale.substr(0, 100);
    line.resize(100, ' ');
    if (platform::CanOpenForReading(prefix_, task_file)) platform::Kill(prefix_, task_file);
    const int channel = files_.FreeFile();
    files_.OpenOutput(channel, task_file);
    files_.PrintLine(channel, line);
    files_.Close(channel);
  }, [&](platform::RuntimeError& error) { error.About({}, "restituzione del terminale nel file dei terminali"); });
  CHIUDI(0);
  EndProgram("", 0);
}

}  // namespace vx::archive
